// The typing panel's behaviour against the application state on the
// simulated desktop and the virtual clock, without widgets.

#include "PanelFixture.h"

#include "editor/TypingPanelModel.h"

#include <QSignalSpy>

using namespace qv;
using namespace qv::editor;
using namespace qv::test;

namespace {

struct PanelModel : PanelFixture {
    std::unique_ptr<TypingPanelModel> panel(const Project &project, std::function<void()> onClose = {})
    {
        auto m = std::make_unique<TypingPanelModel>(*app, project, onClose ? onClose : countCloses());
        m->appear();
        return m;
    }
    // Starts the panel's job and lets it type `count` characters.
    bool typeSome(TypingPanelModel &m, const Project &project, int count)
    {
        m.start();
        return clickIntoField() && runUntil([&] { return app->resumeIndex(project) >= count; });
    }
    // The essay's panel, closed after `count` characters while its run is
    // still inside one of the engine's waits.
    std::unique_ptr<TypingPanelModel> first;
    void closeMidRun(int count)
    {
        first = panel(essay);
        ASSERT_TRUE(typeSome(*first, essay, count));
        first->close();
        ASSERT_TRUE(app->typingJob().isRunInFlight());
    }
};

} // namespace

TEST_F(PanelModel, AJobRunsThroughItsPhasesAndEndsWithExit)
{
    std::optional<RunPhase> phaseAtClose;
    int resumeAtClose = -1;
    auto m = panel(essay, [&] {
        phaseAtClose = app->phase();
        resumeAtClose = app->resumeIndex(essay);
    });
    m->start();
    EXPECT_EQ(m->actionRow(), panel::ActionRow::PauseStop);
    EXPECT_TRUE(m->overlayVisible());
    EXPECT_FALSE(m->overlayFocusLost());

    ASSERT_TRUE(clickIntoField());
    EXPECT_TRUE(m->pauseEnabled());
    EXPECT_FALSE(m->overlayVisible());
    EXPECT_TRUE(m->highlightVisible());

    QStringList statuses;
    ASSERT_TRUE(runUntil([&] {
        statuses << m->statusMessage();
        return !app->isTyping();
    }));
    EXPECT_TRUE(statuses.contains("Finalizing (Exact Match)")); // the project's own humanize flag
    EXPECT_EQ(m->statusMessage(), "Done");
    EXPECT_EQ(m->actionRow(), panel::ActionRow::Exit);
    EXPECT_EQ(m->percentComplete(), "100% complete");
    EXPECT_EQ(field.text(), essay.text);

    m->exit();
    ASSERT_TRUE(phaseAtClose);
    EXPECT_EQ(*phaseAtClose, RunPhase::Idle);
    EXPECT_EQ(resumeAtClose, 0);
    EXPECT_TRUE(m->isClosed());
}

TEST_F(PanelModel, ExitWhileTheLastReportsAreStillArrivingStopsFirst)
{
    auto m = panel(essay);
    m->start();
    ASSERT_TRUE(clickIntoField());
    // "done" is published before the run's end marks the job as over.
    ASSERT_TRUE(runUntilPhase(RunPhase::Done));
    ASSERT_TRUE(app->isTyping());
    QStringList phases;
    QObject::connect(app.get(), &state::AppState::phaseChanged, [&] { phases << engine::phaseName(app->phase()); });
    m->exit();
    EXPECT_EQ(phases, (QStringList{"stopped", "idle"}));
    EXPECT_FALSE(app->isTyping());
    EXPECT_EQ(app->resumeIndex(essay), 0);
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(app->phase(), RunPhase::Idle);
    EXPECT_EQ(closes, 1);
}

TEST_F(PanelModel, ExitAfterAStopForgetsThePosition)
{
    auto m = panel(essay);
    ASSERT_TRUE(typeSome(*m, essay, 5));
    // A stop from elsewhere leaves the panel at "Stopped" with its Exit.
    app->stopTyping();
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(m->statusMessage(), "Stopped");
    EXPECT_EQ(m->actionRow(), panel::ActionRow::Exit);
    EXPECT_GE(app->resumeIndex(essay), 5);
    m->exit();
    EXPECT_EQ(app->resumeIndex(essay), 0);
    EXPECT_EQ(app->phase(), RunPhase::Idle);
    EXPECT_EQ(closes, 1);
}

TEST_F(PanelModel, HeaderCloseAndStopConfirmationKeepThePosition)
{
    {
        auto m = panel(essay);
        ASSERT_TRUE(typeSome(*m, essay, 5));
        m->close();
        EXPECT_EQ(closes, 1);
        EXPECT_FALSE(app->isTyping());
        EXPECT_EQ(app->phase(), RunPhase::Stopped);
        ASSERT_TRUE(runToEnd());
        EXPECT_GE(app->resumeIndex(essay), 5);
        // A second close of the same panel does nothing more.
        m->close();
        EXPECT_EQ(closes, 1);
    }
    {
        auto m = panel(essay);
        EXPECT_EQ(m->startLabel(), "Resume Typing");
        m->start();
        ASSERT_TRUE(clickIntoField());
        const int before = app->resumeIndex(essay);
        ASSERT_TRUE(runUntil([&] { return app->resumeIndex(essay) >= before + 3; }));
        // Asking stops nothing; Cancel leaves the job running.
        m->requestStop();
        EXPECT_TRUE(m->showStopConfirm());
        EXPECT_TRUE(app->isTyping());
        m->cancelStop();
        EXPECT_FALSE(m->showStopConfirm());
        EXPECT_TRUE(app->isTyping());
        m->requestStop();
        m->confirmStop();
        EXPECT_FALSE(m->showStopConfirm());
        EXPECT_EQ(closes, 2);
        EXPECT_EQ(app->phase(), RunPhase::Stopped);
        ASSERT_TRUE(runToEnd());
        EXPECT_GE(app->resumeIndex(essay), before + 3);
    }
}

TEST_F(PanelModel, MissingPermissionsLeaveTheStartButtonAndCloseWithoutAJobOnlyCloses)
{
    app->setInputMonitoringReady(false);
    auto m = panel(essay);
    QSignalSpy typing(app.get(), &state::AppState::isTypingChanged);
    m->start();
    EXPECT_EQ(app->phase(), RunPhase::Idle);
    EXPECT_EQ(m->actionRow(), panel::ActionRow::Start);
    EXPECT_EQ(app->statusText(), "Enable Input Monitoring permissions (Settings opened)");
    m->close();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(app->phase(), RunPhase::Idle);
    EXPECT_EQ(typing.count(), 0);
}

TEST_F(PanelModel, TheCardComesBackOnEveryNewWait)
{
    auto m = panel(essay);
    m->start();
    EXPECT_TRUE(m->overlayVisible());
    m->dismissOverlay();
    EXPECT_FALSE(m->overlayVisible());
    EXPECT_TRUE(m->focusOverlayDismissed());

    ASSERT_TRUE(clickIntoField());
    EXPECT_FALSE(m->overlayVisible());
    // Still dismissed: only a new wait clears it.
    EXPECT_TRUE(m->focusOverlayDismissed());

    // A click into another application pauses the job: "Focus Lost".
    sim.clickInto(otherWindow);
    ASSERT_TRUE(runUntilPhase(RunPhase::Paused));
    EXPECT_TRUE(m->overlayVisible());
    EXPECT_TRUE(m->overlayFocusLost());
    EXPECT_EQ(m->pauseLabel(), "Continue");
    m->dismissOverlay();

    // "Continue" waits for the target again, still paused.
    m->togglePause();
    EXPECT_EQ(app->phase(), RunPhase::Awaiting);
    EXPECT_TRUE(app->isPaused());
    EXPECT_TRUE(m->overlayVisible());
    EXPECT_FALSE(m->overlayFocusLost());
    EXPECT_EQ(m->statusMessage(), "Waiting for Text Box");
    EXPECT_EQ(m->pauseLabel(), "Continue");
    EXPECT_TRUE(m->pauseEnabled());

    sim.clickInto(field);
    ASSERT_TRUE(runUntilPhase(RunPhase::Typing));
    EXPECT_FALSE(m->overlayVisible());
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(app->phase(), RunPhase::Done);
}

TEST_F(PanelModel, ANewPanelStartsFromIdleAfterAnEarlierPanelsCloseOrDone)
{
    closeMidRun(5);
    ASSERT_TRUE(runToEnd());
    const int essayPosition = app->resumeIndex(essay);
    ASSERT_EQ(app->phase(), RunPhase::Stopped);

    // A panel for another project starts at its own Start, not at "Stopped".
    auto second = panel(letter);
    EXPECT_EQ(app->phase(), RunPhase::Idle);
    EXPECT_EQ(second->statusMessage(), "Ready");
    EXPECT_EQ(second->actionRow(), panel::ActionRow::Start);
    EXPECT_EQ(second->startLabel(), "Start Typing");
    EXPECT_EQ(app->resumeIndex(essay), essayPosition);
    second->close();

    // And the first project's panel offers to resume where it stopped.
    auto third = panel(essay);
    EXPECT_EQ(third->startLabel(), "Resume Typing");
    EXPECT_EQ(app->resumeIndex(essay), essayPosition);

    // A panel after one whose job is done starts from idle too.
    third->start();
    ASSERT_TRUE(clickIntoField());
    ASSERT_TRUE(runToEnd());
    third->close();
    ASSERT_EQ(app->phase(), RunPhase::Done);
    auto fourth = panel(letter);
    EXPECT_EQ(app->phase(), RunPhase::Idle);
    EXPECT_EQ(fourth->startLabel(), "Start Typing");
}

TEST_F(PanelModel, AStoppedRunStillWaitingNeverOverwritesTheNewPanel)
{
    closeMidRun(3);

    auto second = panel(letter);
    EXPECT_EQ(app->phase(), RunPhase::Idle);
    QStringList phases;
    QObject::connect(app.get(), &state::AppState::phaseChanged, [&] { phases << engine::phaseName(app->phase()); });
    ASSERT_TRUE(runUntil([&] { return !app->typingJob().isRunInFlight(); }));
    clock.advance(100);
    EXPECT_TRUE(phases.isEmpty()) << phases.join(',').toStdString();
    EXPECT_EQ(app->phase(), RunPhase::Idle);
    EXPECT_EQ(second->startLabel(), "Start Typing");
    // The old run's own position is still kept.
    EXPECT_GE(app->resumeIndex(essay), 3);
    const int essayPosition = app->resumeIndex(essay);

    // The new panel's job runs to its end into an emptied field.
    field.setText({});
    second->start();
    ASSERT_TRUE(clickIntoField());
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(app->phase(), RunPhase::Done);
    EXPECT_EQ(field.text(), letter.text);
    EXPECT_EQ(app->resumeIndex(essay), essayPosition);
    EXPECT_EQ(app->resumeIndex(letter), 0);
}

TEST_F(PanelModel, ANewPanelStartedBeforeTheOldRunReturnsWaitsForIt)
{
    closeMidRun(3);

    auto second = panel(letter);
    second->start();
    field.setText({});
    sim.clickInto(field);
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(app->phase(), RunPhase::Done);
    EXPECT_EQ(second->statusMessage(), "Done");
    // Only the letter landed after the field was emptied (the essay's run
    // noticed its stop before typing on).
    EXPECT_TRUE(field.text().endsWith(letter.text)) << field.text().toStdString();
}

TEST_F(PanelModel, ANewPanelRightAfterAStopIgnoresTheStoppedRunsLastReports)
{
    auto first = panel(essay);
    first->start();
    sim.clickInto(field);
    // The run has just begun; its first reports are still on their way.
    ASSERT_TRUE(runUntil([&] { return app->typingJob().isRunInFlight(); }));
    first->close();
    clock.advance(0);
    auto second = panel(letter);
    EXPECT_EQ(app->phase(), RunPhase::Idle);
    EXPECT_EQ(second->actionRow(), panel::ActionRow::Start);
    ASSERT_TRUE(runToEnd());
    clock.advance(100);
    EXPECT_EQ(app->phase(), RunPhase::Idle);
    EXPECT_EQ(second->statusMessage(), "Ready");
}

TEST_F(PanelModel, PauseIsNotOfferedBeforeAnyRun)
{
    auto m = panel(essay);
    m->start();
    ASSERT_EQ(app->phase(), RunPhase::Awaiting);
    EXPECT_FALSE(m->pauseEnabled());
    m->togglePause();
    EXPECT_FALSE(app->isPaused());
    EXPECT_EQ(app->phase(), RunPhase::Awaiting);
    EXPECT_EQ(m->statusMessage(), "Waiting for Text Box");
    m->requestStop();
    EXPECT_TRUE(m->showStopConfirm());
    m->confirmStop();
    EXPECT_EQ(app->phase(), RunPhase::Stopped);
    EXPECT_EQ(closes, 1);
}
