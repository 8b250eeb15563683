#include "engine/FocusMonitor.h"

#include "FakeDesktop.h"

#include "core/VirtualScheduler.h"

#include <gtest/gtest.h>

using namespace qv::engine;
using qv::platform::Element;
using qv::test::Attribute;

namespace {
struct Monitor : ::testing::Test {
    qv::VirtualScheduler clock{1'000'000'000}; // start at 1 s
    qv::test::FakePlatform desktop{clock};
    qv::test::FakeAccessibility &ax = desktop.ax;

    Element focusIn(qint64 pid)
    {
        Element field = ax.textField("x", pid);
        ax.node(ax.applicationElement(pid)).values[Attribute::FocusedElement] = QVariant::fromValue(field);
        return field;
    }
};
} // namespace

TEST_F(Monitor, WithoutFrontmostApplicationNothingIsObservedUntilActivation)
{
    FocusMonitor monitor(ax, desktop.ws, clock);
    EXPECT_FALSE(monitor.observedPid());
    EXPECT_EQ(ax.observeCalls, 0);
    EXPECT_FALSE(monitor.isFresh(std::nullopt, 2.0));

    const Element field = focusIn(2001);
    desktop.ws.activate(2001);
    EXPECT_EQ(monitor.observedPid(), 2001);
    EXPECT_EQ(monitor.lastFocused(), field);
    EXPECT_TRUE(monitor.isFresh(2001, 2.0));
    EXPECT_FALSE(monitor.isFresh(std::nullopt, 2.0));
    EXPECT_FALSE(monitor.isFresh(2002, 2.0));
}

TEST_F(Monitor, FreshnessIsInclusiveAndMeansRecentlyNotified)
{
    focusIn(2001);
    desktop.ws.frontmost = qv::platform::AppInfo{2001, "A", ""};
    FocusMonitor monitor(ax, desktop.ws, clock);
    ASSERT_EQ(monitor.observedPid(), 2001);
    clock.advance(2000);
    EXPECT_TRUE(monitor.isFresh(2001, 2.0));
    clock.advance(0.001);
    EXPECT_FALSE(monitor.isFresh(2001, 2.0)); // still the right element, but stale
    ax.notifyFocus(2001);
    EXPECT_TRUE(monitor.isFresh(2001, 2.0));
}

TEST_F(Monitor, ActivationRetargetsAndReplacesTheObserver)
{
    focusIn(2001);
    desktop.ws.activate(2001);
    FocusMonitor monitor(ax, desktop.ws, clock);
    EXPECT_EQ(ax.liveObservers(), 1);

    // The new application's focus cannot be read yet: stale until a refresh.
    desktop.ws.activate(2002);
    EXPECT_EQ(monitor.observedPid(), 2002);
    EXPECT_EQ(ax.liveObservers(), 1);
    EXPECT_FALSE(monitor.isFresh(2002, 2.0));
    EXPECT_TRUE(monitor.lastFocused().isNull());
    ax.notifyFocus(2001); // the old observer is gone
    EXPECT_TRUE(monitor.lastFocused().isNull());

    const Element second = focusIn(2002);
    clock.advance(500);
    ax.notifyFocus(2002);
    EXPECT_EQ(monitor.lastFocused(), second);
    EXPECT_TRUE(monitor.isFresh(2002, 2.0));
}

TEST_F(Monitor, ObservingTheSameApplicationAgainOrAFailedReadKeepsTheCache)
{
    const Element field = focusIn(2001);
    desktop.ws.activate(2001);
    FocusMonitor monitor(ax, desktop.ws, clock);
    const auto at = monitor.lastFocusedAtNs();
    clock.advance(1000);
    const int calls = ax.observeCalls;
    monitor.observe(2001);
    desktop.ws.activate(2001);
    EXPECT_EQ(ax.observeCalls, calls);
    EXPECT_EQ(monitor.lastFocusedAtNs(), at); // no refresh either

    // Focus now reads as something that is not an element, then not at all.
    ax.node(ax.applicationElement(2001)).values[Attribute::FocusedElement] = QStringLiteral("nope");
    ax.notifyFocus(2001);
    ax.node(ax.applicationElement(2001)).values.erase(Attribute::FocusedElement);
    ax.notifyFocus(2001);
    EXPECT_EQ(monitor.lastFocused(), field);
    EXPECT_EQ(monitor.lastFocusedAtNs(), at);
}

TEST_F(Monitor, FailedObservationIsNotRetriedForTheSameApplication)
{
    focusIn(2001);
    ax.unobservable.insert(2001);
    FocusMonitor monitor(ax, desktop.ws, clock);
    desktop.ws.activate(2001);
    EXPECT_EQ(monitor.observedPid(), 2001);
    EXPECT_FALSE(monitor.hasObserver());
    EXPECT_FALSE(monitor.isFresh(2001, 2.0));
    ax.unobservable.clear();
    monitor.observe(2001);
    EXPECT_EQ(ax.observeCalls, 1);
    // Another application and back: a new attempt.
    desktop.ws.activate(2002);
    desktop.ws.activate(2001);
    EXPECT_EQ(ax.observeCalls, 3);
    EXPECT_TRUE(monitor.hasObserver());
    EXPECT_TRUE(monitor.isFresh(2001, 2.0));
}

TEST_F(Monitor, DestroyingTheMonitorEndsItsObservation)
{
    focusIn(2001);
    desktop.ws.activate(2001);
    {
        FocusMonitor monitor(ax, desktop.ws, clock);
        EXPECT_EQ(ax.liveObservers(), 1);
    }
    EXPECT_EQ(ax.liveObservers(), 0);
    desktop.ws.activate(2002); // no dangling activation handler
    EXPECT_EQ(ax.liveObservers(), 0);
}
