// The typing job as the views see it through the state object.

#include "TypingJobHarness.h"

#include "TestAppEnvironment.h"

#include "state/AppState.h"

#include <QSignalSpy>

using namespace qv;
using namespace qv::state;
using qv::engine::RunPhase;

namespace {
struct StateTyping : ::testing::Test, test::TypingJobHarness {
    QTemporaryDir dir;
    FixedWallClock wallClock{QDateTime(QDate(2026, 12, 6), QTime(10, 0), Qt::UTC), &clock};

    // Without a desktop the state has no typing services.
    std::unique_ptr<AppState> make(bool withDesktop = true)
    {
        auto env = test::testAppEnvironment(clock, wallClock, prefs, sim.workspace(), sim.permissions(), dir,
                                            std::make_shared<ScriptedTransport>(clock),
                                            std::make_shared<test::ScriptedFetcher>(clock));
        if (withDesktop) {
            env.accessibility = &sim.accessibility();
            env.input = &sim.input();
            env.desktop = &sim.desktop();
            env.makeTypingEngine = [this] { return engine; };
        }
        return std::make_unique<AppState>(env);
    }
};
} // namespace

TEST_F(StateTyping, PublishesTheJobAndUsesThePermissionsRecordedAtLaunch)
{
    sim.simPermissions().setInputSynthesisReady(false);
    auto state = make();
    const Project project = test::typingProject(QStringLiteral("Short note."));
    state->prepareTyping(project);
    EXPECT_EQ(state->statusText(), "Enable Input Monitoring permissions (Settings opened)");
    EXPECT_FALSE(state->isTyping());

    // Granted later and refreshed by the dashboard.
    sim.simPermissions().setInputSynthesisReady(true);
    state->setInputMonitoringReady(true);
    QSignalSpy phases(state.get(), &AppState::phaseChanged);
    QSignalSpy typing(state.get(), &AppState::isTypingChanged);
    state->prepareTyping(project);
    EXPECT_EQ(state->phase(), RunPhase::Awaiting);
    EXPECT_TRUE(state->isTyping());
    sim.clickInto(field);
    ASSERT_TRUE(clock.runUntil([&] { return state->phase() == RunPhase::Done && !state->isTyping(); }, 60000));
    EXPECT_FALSE(state->isTyping());
    EXPECT_EQ(state->typingTargetAppName(), "Editor");
    EXPECT_EQ(state->progress(), 1);
    EXPECT_EQ(state->resumeIndex(project), 0);
    EXPECT_GE(phases.count(), 4);
    EXPECT_EQ(typing.count(), 2);

    state->resetTyping();
    EXPECT_EQ(state->phase(), RunPhase::Idle);
    EXPECT_EQ(state->statusText(), "Idle");
}

TEST_F(StateTyping, WithoutADesktopNoJobIsArmed)
{
    auto state = make(false);
    state->prepareTyping(test::typingProject(QStringLiteral("x")));
    EXPECT_FALSE(state->isTyping());
    EXPECT_EQ(state->phase(), RunPhase::Idle);
    EXPECT_EQ(monitors(), 0);
}
