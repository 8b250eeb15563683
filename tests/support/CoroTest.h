#pragma once

#include "core/VirtualScheduler.h"

#include <QCoro/QCoroTask>

#include <gtest/gtest.h>

#include <optional>

namespace qv::test {

// Starts a coroutine and drives the virtual clock until it has finished.
// Returns false (and fails the test) when it does not finish within the
// virtual time limit.
template <typename T>
std::optional<T> runTask(VirtualScheduler &scheduler, QCoro::Task<T> task, double maxVirtualMs = 24.0 * 3600 * 1000)
{
    std::optional<T> result;
    bool done = false;
    auto wrapper = [&](QCoro::Task<T> t) -> QCoro::Task<> {
        result = co_await std::move(t);
        done = true;
    };
    auto running = wrapper(std::move(task));
    const bool finished = scheduler.runUntil([&] { return done; }, maxVirtualMs);
    EXPECT_TRUE(finished) << "coroutine did not finish in virtual time";
    return result;
}

inline bool runTask(VirtualScheduler &scheduler, QCoro::Task<> task, double maxVirtualMs = 24.0 * 3600 * 1000)
{
    bool done = false;
    auto wrapper = [&](QCoro::Task<> t) -> QCoro::Task<> {
        co_await std::move(t);
        done = true;
    };
    auto running = wrapper(std::move(task));
    const bool finished = scheduler.runUntil([&] { return done; }, maxVirtualMs);
    EXPECT_TRUE(finished) << "coroutine did not finish in virtual time";
    return finished;
}

} // namespace qv::test
