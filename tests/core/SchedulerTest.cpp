#include "core/VirtualScheduler.h"
#include "core/WallClock.h"
#include "support/CoroTest.h"

#include <QCoro/QCoroTask>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

using qv::VirtualScheduler;

TEST(VirtualScheduler, RunsWakeUpsInTimeOrderAndSameTimeInScheduleOrder)
{
    VirtualScheduler s;
    std::vector<std::pair<int, qint64>> order;
    s.singleShot(30, [&] { order.push_back({1, s.nowNs()}); });
    s.singleShot(10, [&] { order.push_back({2, s.nowNs()}); });
    s.singleShot(30, [&] { order.push_back({3, s.nowNs()}); });
    s.singleShot(0, [&] { order.push_back({4, s.nowNs()}); });
    s.advance(29.999999);
    ASSERT_EQ(order.size(), 2u);
    s.advance(0.000001);
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[0], (std::pair<int, qint64>{4, 0}));
    EXPECT_EQ(order[1], (std::pair<int, qint64>{2, 10'000'000}));
    EXPECT_EQ(order[2], (std::pair<int, qint64>{1, 30'000'000}));
    EXPECT_EQ(order[3], (std::pair<int, qint64>{3, 30'000'000}));
    EXPECT_EQ(s.nowNs(), 30'000'000);
}

TEST(VirtualScheduler, AdvanceMovesTheClockEvenWithNothingDue)
{
    VirtualScheduler s;
    s.advance(250);
    EXPECT_DOUBLE_EQ(s.nowMs(), 250.0);
    bool fired = false;
    s.singleShot(100, [&] { fired = true; });
    s.advance(99);
    EXPECT_FALSE(fired);
    s.advance(1);
    EXPECT_TRUE(fired);
}

TEST(VirtualScheduler, CancelledTimersNeverFireAndCallbacksMayScheduleMore)
{
    VirtualScheduler s;
    int fired = 0;
    auto id = s.singleShot(5, [&] { fired += 100; });
    s.singleShot(1, [&] {
        ++fired;
        s.singleShot(1, [&] { ++fired; }); // due at 2 ms, inside the same advance
    });
    EXPECT_TRUE(s.cancel(id));
    EXPECT_FALSE(s.cancel(id));
    s.advance(10);
    EXPECT_EQ(fired, 2);
    EXPECT_FALSE(s.hasPending());
}

TEST(VirtualScheduler, MillisecondsTruncateToNanosecondsAndBadValuesAreZero)
{
    EXPECT_EQ(qv::Scheduler::msToNs(1.0000009), 1'000'000);
    EXPECT_EQ(qv::Scheduler::msToNs(-5), 0);
    EXPECT_EQ(qv::Scheduler::msToNs(std::nan("")), 0);
}

namespace {
QCoro::Task<qint64> sleeper(VirtualScheduler &s, std::vector<double> *log)
{
    co_await s.sleep(120);
    log->push_back(s.nowMs());
    co_await s.sleep(0.5);
    log->push_back(s.nowMs());
    co_await s.sleep(0);
    log->push_back(s.nowMs());
    co_return s.nowNs();
}
} // namespace

TEST(VirtualScheduler, CoroutineSleepsWakeAtExactVirtualTimes)
{
    VirtualScheduler s;
    std::vector<double> log;
    auto result = qv::test::runTask(s, sleeper(s, &log));
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, 120'500'000);
    EXPECT_EQ(log, (std::vector<double>{120.0, 120.5, 120.5}));
}

TEST(VirtualScheduler, InterleavedCoroutinesKeepTheirOrder)
{
    VirtualScheduler s;
    std::vector<int> order;
    auto worker = [&](int id, double step) -> QCoro::Task<> {
        for (int i = 0; i < 3; ++i) {
            co_await s.sleep(step);
            order.push_back(id);
        }
    };
    auto a = worker(1, 10);
    auto b = worker(2, 15);
    s.runUntilIdle();
    // a at 10, 20, 30; b at 15, 30, 45; at 30 b was scheduled first (at 15).
    EXPECT_EQ(order, (std::vector<int>{1, 2, 1, 2, 1, 2}));
}

TEST(VirtualScheduler, RunUntilDeliversPostedEventsBeforeTheNextWakeUp)
{
    VirtualScheduler s;
    std::vector<QString> log;
    s.singleShot(10, [&] {
        log.push_back("timer");
        QTimer::singleShot(0, [&] { log.push_back("posted"); });
    });
    s.singleShot(20, [&] { log.push_back("second timer"); });
    EXPECT_TRUE(s.runUntil([&] { return log.size() == 3; }));
    EXPECT_EQ(log, (std::vector<QString>{"timer", "posted", "second timer"}));
}

TEST(VirtualScheduler, RunUntilGivesUpAtTheVirtualLimit)
{
    VirtualScheduler s;
    std::function<void()> tick = [&] { s.singleShot(1000, tick); };
    tick();
    EXPECT_FALSE(s.runUntil([] { return false; }, 60'000));
    EXPECT_LE(s.nowMs(), 60'000.0);
}

TEST(FixedWallClock, FollowsTheVirtualScheduler)
{
    VirtualScheduler s;
    const QDateTime start = QDateTime::fromString("2025-03-01T14:05:09Z", Qt::ISODate);
    qv::FixedWallClock clock(start, &s);
    s.advance(1500);
    EXPECT_EQ(clock.nowUtc(), start.addMSecs(1500));
    clock.set(start);
    EXPECT_EQ(clock.nowUtc(), start);
}
