// The typing job on the simulated desktop: arming, the start by click or
// focus, the run and its reports, clicks while typing, pause and resume,
// stop and reset, and one engine run at a time.

#include "TypingJobHarness.h"

#include "state/PreferenceKeys.h"

using namespace qv;
using qv::engine::RunPhase;
using qv::test::typingProject;

namespace {
const QString kText = QStringLiteral("Dear team, the plan holds. We ship on Friday.");
const QString kPausedByClick = QStringLiteral(
    "Paused \u2014 click back into the text box (outside Quorvel) to continue");

struct Job : ::testing::Test, test::TypingJobHarness {
    Project project = typingProject(kText);

    // Arms and clicks into the field; answers once the run types.
    void startByClick()
    {
        job->prepareTyping(project);
        sim.clickInto(field);
        ASSERT_TRUE(runUntilPhase(RunPhase::Typing, 2000));
    }
    void typeAWhile(double ms = 1500) { clock.advance(ms); }
    qint64 stored(const Project &p)
    {
        return state::prefs::resumeProgress(prefs).value(state::ResumeStore::keyFor(p), -1);
    }
};
} // namespace

TEST_F(Job, ArmingWithoutAPermissionOpensItsSettingsAndArmsNothing)
{
    accessibilityReady = false;
    job->prepareTyping(project);
    EXPECT_EQ(job->statusText(), "Enable Accessibility permissions (Settings opened)");
    inputReady = false;
    accessibilityReady = true;
    job->prepareTyping(project);
    EXPECT_EQ(job->statusText(), "Enable Input Monitoring permissions (Settings opened)");
    EXPECT_EQ(sim.log().callsNamed("openAccessibilitySettings").size(), 1);
    EXPECT_EQ(sim.log().callsNamed("openInputSettings").size(), 1);
    EXPECT_EQ(sim.log().callsNamed("requestInputSynthesis").size(), 1);
    EXPECT_FALSE(job->isTyping());
    EXPECT_EQ(job->phase(), RunPhase::Idle);
    EXPECT_EQ(monitors(), 0);
    EXPECT_FALSE(job->isFocusPolling());
    EXPECT_TRUE(sim.desktop().badgeLabel().isEmpty());
}

TEST_F(Job, ArmingWaitsForTheTargetWithProgressFromTheResumeStore)
{
    job->setResumeIndex(9, project);
    job->prepareTyping(project);
    EXPECT_EQ(job->statusText(), "Click into the document text box (outside Quorvel) to start");
    EXPECT_EQ(job->phase(), RunPhase::Awaiting);
    EXPECT_TRUE(job->isTyping());
    EXPECT_FALSE(job->isPaused());
    EXPECT_DOUBLE_EQ(job->progress(), 9.0 / text::graphemeCount(kText));
    EXPECT_EQ(sim.desktop().badgeLabel(), "Typing");
    EXPECT_EQ(sim.simInput().globalCount(), 1);
    EXPECT_EQ(sim.simInput().localCount(), 1);
    EXPECT_TRUE(job->isFocusPolling());

    // Armed: a second call changes nothing.
    const Project other = typingProject("x");
    job->prepareTyping(other);
    EXPECT_EQ(job->currentProject()->id, project.id);
    EXPECT_EQ(monitors(), 2);

    // Progress is clamped, and an empty text divides by one.
    job->stopTyping();
    Project empty = typingProject({});
    job->prepareTyping(empty);
    EXPECT_EQ(job->progress(), 0);
    job->stopTyping();
    job->setResumeIndex(500, project);
    job->prepareTyping(project);
    EXPECT_EQ(job->progress(), 1);

    // Resume store keys are upper-case ids; odd stores read as empty.
    job->setResumeIndex(-4, project);
    EXPECT_EQ(job->resumeIndex(project), 0);
    EXPECT_EQ(state::ResumeStore::keyFor(project), project.id.toString(QUuid::WithoutBraces).toUpper());
    prefs.setDictionary(state::keys::resumeProgress, QJsonObject{{"A", 3}, {"B", "x"}});
    EXPECT_EQ(job->resumeIndex(project), 0);
    job->setResumeIndex(12, project);
    EXPECT_EQ(prefs.intDictionaryValue(state::keys::resumeProgress),
              (QMap<QString, qint64>{{state::ResumeStore::keyFor(project), 12}}));
    job->clearResumeIndex(project);
    EXPECT_TRUE(prefs.intDictionaryValue(state::keys::resumeProgress)->isEmpty());
}

TEST_F(Job, AClickInQuorvelIsIgnoredWhileAClickElsewhereStartsTheRun)
{
    job->prepareTyping(project);
    sim.clickInto(panelButton);
    clock.advance(139);
    EXPECT_TRUE(job->detectionDebug().isEmpty());
    clock.advance(1);
    EXPECT_EQ(job->detectionDebug(), "Frontmost = Quorvel (ignored)");
    EXPECT_EQ(job->phase(), RunPhase::Awaiting);

    sim.clickInto(field);
    clock.advance(140);
    EXPECT_EQ(job->phase(), RunPhase::Typing);
    EXPECT_EQ(job->statusText(), "Typing...");
    EXPECT_EQ(job->detectionDebug(), "Start from focus: Editor role=textArea enabled");
    EXPECT_EQ(job->typingTargetAppName(), "Editor");
    EXPECT_EQ(job->typingTargetElement(), field.element());
    EXPECT_EQ(job->typingTargetPid(), editor.pid());
    EXPECT_EQ(job->typingTargetBundleId(), "editor");
    EXPECT_FALSE(job->isFocusPolling());
    EXPECT_EQ(monitors(), 2) << "the start monitors gave way to the pause monitors";
}

TEST_F(Job, ACompleteRunReportsInOrderAndLeavesNoResumeEntry)
{
    QStringList phases;
    QList<double> fractions;
    QObject::connect(job.get(), &state::TypingJob::phaseChanged, [&] { phases << engine::phaseName(job->phase()); });
    QObject::connect(job.get(), &state::TypingJob::progressChanged, [&] {
        fractions << job->progress();
        // The store follows the published progress character by character.
        EXPECT_EQ(stored(project), qRound(job->progress() * text::graphemeCount(kText)));
    });
    startByClick();
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(field.text(), "Notes: " + kText);
    EXPECT_EQ(phases, (QStringList{"awaiting", "typing", "editing", "done"}));
    EXPECT_EQ(job->statusText(), "Done");
    EXPECT_FALSE(job->isTyping());
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
    EXPECT_EQ(fractions.last(), 1);
    EXPECT_EQ(stored(project), -1);
    EXPECT_TRUE(sim.desktop().badgeLabel().isEmpty());
    EXPECT_EQ(monitors(), 0);
    EXPECT_EQ(prepares(), 1);
}

TEST_F(Job, ARunThatEndsWithTheFieldDifferingSaysSoAndKeepsItsPosition)
{
    // The application turns every "p" into "b", also in the repairs: the
    // field can never hold the text ("plan", "ship").
    field.quirks().transform = [](const QString &, const QString &typed) {
        return typed == "p" ? QStringLiteral("b") : typed;
    };
    startByClick();
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(job->phase(), RunPhase::Differs);
    EXPECT_EQ(job->statusText(), "Finished, but the text box differs from the project by 2 characters");
    EXPECT_EQ(job->typingDifference(), 2);
    EXPECT_FALSE(job->isTyping());
    EXPECT_EQ(stored(project), text::graphemeCount(kText)) << "only an exact end forgets the position";

    // A new job starts without the old difference. Stopped in its repairs,
    // a run is "stopped", never "differs", and keeps its position.
    job->resetTyping();
    EXPECT_FALSE(job->typingDifference());
    field.setText("Notes: ");
    project = typingProject(kText, QStringLiteral("Second"));
    startByClick();
    ASSERT_TRUE(runUntilPhase(RunPhase::Editing));
    job->stopTyping();
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(job->phase(), RunPhase::Stopped);
    EXPECT_FALSE(job->typingDifference());
    EXPECT_EQ(stored(project), text::graphemeCount(kText));
}

TEST_F(Job, TheFocusPollStartsTheRunWithoutAClick)
{
    job->setResumeIndex(5, project);
    job->prepareTyping(project);
    clock.advance(250);
    EXPECT_EQ(job->detectionDebug(), "Frontmost = Quorvel (ignored)");
    sim.after(100).switchTo(editor).focus(field);
    clock.advance(249);
    EXPECT_EQ(job->phase(), RunPhase::Awaiting);
    job->setResumeIndex(6, project); // read afresh by the poll
    clock.advance(1);
    EXPECT_EQ(job->phase(), RunPhase::Typing);
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(field.text(), "Notes: " + kText.mid(6));
}

TEST_F(Job, AClickAndAPollTickTogetherStartOneRun)
{
    job->prepareTyping(project);
    sim.at(110).clickInto(field); // its detection falls on the first poll tick, at 250 ms
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(prepares(), 1);
    EXPECT_EQ(field.text(), "Notes: " + kText);
}

TEST_F(Job, AStartClickThatFindsNothingKeepsWaiting)
{
    job->prepareTyping(project);
    sim.click(QPoint(1800, 900)); // the bare desktop: nothing comes forward
    ASSERT_TRUE(
        clock.runUntil([&] { return job->detectionDebug() == "No editable element from click or focus"; }, 2000));
    EXPECT_NEAR(clock.nowMs(), 140 + 1440.04, 0.01);
    EXPECT_EQ(job->statusText(), "Click into the document text box (outside Quorvel) to begin");
    EXPECT_EQ(job->phase(), RunPhase::Awaiting);
    EXPECT_EQ(monitors(), 2);
    sim.clickInto(field);
    EXPECT_TRUE(runUntilPhase(RunPhase::Typing, 500));
}

TEST_F(Job, ClicksWhileTypingPauseOrFollowAfterSeventyMilliseconds)
{
    startByClick();
    typeAWhile();

    // Another text box of the same application: typing follows it.
    sim.clickInto(second);
    clock.advance(70);
    EXPECT_EQ(job->phase(), RunPhase::Typing);
    EXPECT_EQ(job->typingTargetElement(), second.element());

    sim.clickInto(button);
    clock.advance(69);
    EXPECT_FALSE(job->isPaused());
    clock.advance(1);
    EXPECT_TRUE(job->isPaused());
    EXPECT_EQ(job->phase(), RunPhase::Paused);
    EXPECT_EQ(job->statusText(), kPausedByClick);
    EXPECT_TRUE(job->isFocusPolling());
    const QString typedSoFar = second.text() + field.text();
    clock.advance(3000);
    EXPECT_EQ(second.text() + field.text(), typedSoFar) << "the engine waits while paused";

    sim.clickInto(otherWindow);
    ASSERT_TRUE(
        clock.runUntil([&] { return job->detectionDebug() == "No editable element from click or focus"; }, 2000));
    EXPECT_EQ(job->statusText(), "Click back into the text box (outside Quorvel) to resume");
    EXPECT_EQ(job->phase(), RunPhase::Paused);
    EXPECT_TRUE(job->isPaused());
}

// Typing that followed a click into another box of the same application is
// split over two boxes: the run checks neither against the whole text, so it
// types nothing twice and does not claim Done.
TEST_F(Job, ARunThatFollowedAClickIntoAnotherBoxTypesNothingTwiceAndIsNotCheckedWhole)
{
    startByClick();
    typeAWhile();
    sim.clickInto(second);
    clock.advance(70);
    ASSERT_EQ(job->typingTargetElement(), second.element());
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(job->phase(), RunPhase::Unchecked);
    const QString first = field.text().mid(QStringLiteral("Notes: ").size());
    ASSERT_TRUE(field.text().startsWith(QStringLiteral("Notes: ")));
    EXPECT_FALSE(first.isEmpty());
    ASSERT_TRUE(second.text().startsWith(QStringLiteral("Title")));
    EXPECT_EQ(first + second.text().mid(5), kText)
        << field.text().toStdString() << " | " << second.text().toStdString();
}

// A click away pauses 70 ms later: into another application, a text box of
// its own included (typing follows a click only within the target's
// application: another one's text box is a document the user never chose),
// or into Quorvel.
TEST_F(Job, AClickIntoAnotherApplicationOrQuorvelPauses)
{
    sim::SimElement &otherField = otherWindow.addTextField({20, 660, 200, 30}, "Search");
    otherField.setFocusable(true);
    startByClick();
    for (sim::SimElement *away : {&otherField, &otherWindow, &panelButton}) {
        SCOPED_TRACE(away->describe().toStdString());
        sim.clickInto(*away);
        clock.advance(70);
        EXPECT_EQ(job->phase(), RunPhase::Paused);
        EXPECT_TRUE(job->isPaused());
        EXPECT_EQ(job->statusText(), kPausedByClick);
        EXPECT_EQ(job->typingTargetElement(), field.element());
        EXPECT_EQ(job->typingTargetPid(), editor.pid());
        if (away == &panelButton)
            break;
        // Resumed by a click back into the field.
        sim.clickInto(field);
        ASSERT_TRUE(runUntilPhase(RunPhase::Typing, 500));
        EXPECT_FALSE(job->isPaused());
    }

    // Resumed by the focus alone (the poll), then the one run ends with the
    // whole text, none of it in the other application.
    sim.after(500).switchTo(editor);
    ASSERT_TRUE(runUntilPhase(RunPhase::Typing, 1000));
    EXPECT_TRUE(job->detectionDebug().startsWith("Focus: Editor role=textArea"));
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(field.text(), "Notes: " + kText);
    EXPECT_EQ(otherField.text(), "Search");
    EXPECT_EQ(prepares(), 1);
}

TEST_F(Job, PanelPauseAndContinue)
{
    job->togglePause();
    EXPECT_EQ(job->phase(), RunPhase::Idle) << "no job, nothing to pause";

    startByClick();
    typeAWhile();
    job->togglePause();
    EXPECT_TRUE(job->isPaused());
    EXPECT_EQ(job->statusText(), "Paused");
    EXPECT_EQ(job->phase(), RunPhase::Paused);
    const QString frozen = field.text();
    clock.advance(2000);
    EXPECT_EQ(field.text(), frozen);

    job->togglePause();
    EXPECT_EQ(job->statusText(), "Click back into the text box (outside Quorvel) to continue");
    EXPECT_EQ(job->phase(), RunPhase::Awaiting);
    EXPECT_TRUE(job->isPaused());
    sim.clickInto(field);
    ASSERT_TRUE(runUntilPhase(RunPhase::Typing, 500));
    EXPECT_FALSE(job->isPaused());
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(field.text(), "Notes: " + kText);
    EXPECT_EQ(prepares(), 1);
}

TEST_F(Job, PausedBeforeAnyRunBeganResumingStartsTheRun)
{
    job->prepareTyping(project);
    job->togglePause();
    sim.after(300).switchTo(editor).focus(field); // the poll armed with the job finds it
    ASSERT_TRUE(runUntilPhase(RunPhase::Typing, 1000));
    EXPECT_FALSE(job->isPaused());
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(field.text(), "Notes: " + kText);
    EXPECT_EQ(job->phase(), RunPhase::Done);
}

TEST_F(Job, TheEnginesOwnPauseLeavesThePauseFlagAlone)
{
    startByClick();
    sim.after(500).switchTo(other);
    ASSERT_TRUE(runUntilPhase(RunPhase::Paused, 2000));
    EXPECT_EQ(job->statusText(), "Paused \u2014 click the target text box to continue");
    EXPECT_FALSE(job->isPaused());
    sim.after(1000).switchTo(editor);
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(job->phase(), RunPhase::Done);
    EXPECT_EQ(job->statusText(), "Done");
}

TEST_F(Job, StopEndsTheRunAndKeepsItsPosition)
{
    job->stopTyping();
    EXPECT_EQ(job->phase(), RunPhase::Idle) << "nothing armed, nothing stopped";

    startByClick();
    typeAWhile();
    job->stopTyping();
    EXPECT_EQ(job->phase(), RunPhase::Stopped);
    EXPECT_EQ(job->statusText(), "Stopped");
    EXPECT_FALSE(job->isTyping());
    EXPECT_TRUE(job->typingTargetAppName().isEmpty());
    EXPECT_TRUE(job->typingTargetElement().isNull());
    EXPECT_EQ(monitors(), 0);
    EXPECT_TRUE(sim.desktop().badgeLabel().isEmpty());
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(job->phase(), RunPhase::Stopped);
    const QString typed = field.text().mid(7);
    EXPECT_TRUE(kText.startsWith(typed));
    EXPECT_EQ(stored(project), text::graphemeCount(typed));

    // Reset returns to no job; nothing of the ended run comes back.
    job->resetTyping();
    clock.advance(1000);
    EXPECT_EQ(job->phase(), RunPhase::Idle);
    EXPECT_EQ(job->statusText(), "Idle");
    EXPECT_EQ(job->progress(), 0);
    EXPECT_FALSE(job->currentProject());
    EXPECT_FALSE(job->isFocusPolling());
}

TEST_F(Job, ReArmingWhileAStoppedRunIsStillGoingNeverRunsTwo)
{
    startByClick();
    typeAWhile();
    job->stopTyping();
    const Project next = typingProject(QStringLiteral("Second text."), QStringLiteral("Next"));
    job->prepareTyping(next); // the stopped run has not returned yet
    ASSERT_TRUE(job->isRunInFlight());
    editor.activate();
    job->startTypingSession(next, second.element(), 0);
    EXPECT_EQ(job->phase(), RunPhase::Typing);
    EXPECT_EQ(prepares(), 1) << "waits for the first run";
    ASSERT_TRUE(runToEnd());

    // One run after the other, the second with its own flags.
    const QStringList order = [&] {
        QStringList out;
        for (const auto &c : sim.log().calls)
            if (c.what == "prepare" || c.what == "finish")
                out << c.what;
        return out;
    }();
    EXPECT_EQ(order, (QStringList{"prepare", "finish", "prepare", "finish"}));
    EXPECT_EQ(second.text(), "TitleSecond text.");
    EXPECT_EQ(job->phase(), RunPhase::Done);
    EXPECT_EQ(job->progress(), 1);
    // The first project's position still came from its own run.
    EXPECT_EQ(stored(project), text::graphemeCount(field.text().mid(7)));
}

TEST_F(Job, AResetOrTheJobGoingAwayMidRunStopsTheEngine)
{
    for (const bool reset : {true, false}) {
        SCOPED_TRACE(reset ? "reset" : "going away");
        if (!job)
            makeJob();
        startByClick();
        typeAWhile();
        if (reset)
            job->resetTyping();
        else
            job.reset();
        clock.advance(3000);
        const QString text = field.text();
        clock.advance(5000);
        EXPECT_EQ(field.text(), text);
        EXPECT_TRUE(!job || job->phase() == RunPhase::Idle);
    }
}

TEST_F(Job, GoingAwayWhileSearchingAfterAClickIsSafe)
{
    job->prepareTyping(project);
    sim.click(QPoint(1800, 900));
    clock.advance(300); // the search after the click is under way
    job.reset();
    clock.advance(3000);
    EXPECT_EQ(monitors(), 0);
}

TEST_F(Job, LineBreaksAndTabsAOneLineBoxCannotTakeAreLeftOutAndSaidSo)
{
    Project oneLine = typingProject("Line one\nline two\tend");
    job->prepareTyping(oneLine);
    sim.clickInto(second);
    ASSERT_TRUE(runToEnd());
    // Nothing left the box or submitted it; the field is what could be
    // typed, the line break a space that keeps its words apart.
    EXPECT_EQ(second.text(), "Title" + QString("Line one line twoend"));
    EXPECT_EQ(field.text(), "Notes: ");
    EXPECT_EQ(job->phase(), RunPhase::Done);
    EXPECT_EQ(job->runNote(),
              "Left out 1 line break and 1 tab: the text box has one line. Line breaks were typed as spaces.");

    // The next run starts without the old note; a stopped one adds none.
    job->prepareTyping(oneLine);
    sim.clickInto(second);
    ASSERT_TRUE(runUntilPhase(RunPhase::Typing, 2000));
    EXPECT_TRUE(job->runNote().isEmpty());
    job->stopTyping();
    ASSERT_TRUE(runToEnd());
    EXPECT_TRUE(job->runNote().isEmpty());
}

// A run that cannot read back what it left never says Done: its own status,
// and its position kept as for a field that differs. A resumed run that left
// the earlier text as it stood ends Differs and says from where.
TEST_F(Job, ARunThatCannotCheckItsFieldIsNotDoneAndAResumedOneSaysWhatItLeftAlone)
{
    field.quirks().valueUnreadable = true;
    field.quirks().copyCopiesNothing = true;
    startByClick();
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(job->phase(), RunPhase::Unchecked);
    EXPECT_EQ(job->statusText(), QStringLiteral("Done \u2014 not checked: the text box can\u2019t be read back"));
    EXPECT_EQ(stored(project), text::graphemeCount(kText)) << "only an exact end forgets the position";

    // Resumed after "Dear team, the plan": the field holds that stretch with
    // four typos, more than a repair in place may take on.
    job->resetTyping();
    field.quirks() = {};
    const QString earlier = QStringLiteral("Dear team, the plan");
    field.setText(QStringLiteral("Dxar txam, thx plxn"));
    job->setResumeIndex(text::graphemeCount(earlier), project);
    startByClick();
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(field.text(), QStringLiteral("Dxar txam, thx plxn") + kText.mid(earlier.size()));
    // Its own text is exact, but the field is not the project: never Done.
    EXPECT_EQ(job->phase(), RunPhase::Differs);
    EXPECT_EQ(job->statusText(), "Finished, but the text box differs from the project by 4 characters");
    EXPECT_EQ(job->runNote(), QStringLiteral("The text typed before this run resumed does not read as your project "
                                             "from its character 2 on; it was left as it stands."));
    EXPECT_EQ(stored(project), text::graphemeCount(kText)) << "the position is kept";
}

// A pause and resume leave the whole text right, or say they don't. The
// field starts empty (the run owns it, so it defers typos for its review)
// and keys land 40 ms after they are sent, as posted events do. The user
// pauses at a moment that matters, and the job either stops and is resumed
// by a new run from its stored position, or is paused from the panel and
// continued; either way the field ends exactly as the project, and Done is
// said only then.
namespace {
const QString kLong = QStringLiteral(
    "Café at nine — bring the maps. Smile 😀 and go, because the train leaves early and the "
    "station is a long walk from the old bridge. We meet the others by the fountain.");

struct PauseMoment {
    const char *name;
    // When the user acts, asked at every step of the clock.
    std::function<bool(Job &)> now;
    // What the user does then.
    std::function<void(Job &)> act;
    // The field's text before the job (empty: the run owns the field and
    // leaves typos for its review; else every typo is corrected at once).
    QString before = {};
};

// The field holds a typo the run left for its review (not its last key,
// which may be a typo corrected at once).
bool typoPending(Job &t)
{
    const QString typed = t.field.text();
    qsizetype same = 0;
    while (same < typed.size() && same < kLong.size() && typed[same] == kLong[same])
        ++same;
    return typed.size() > 30 && same + 2 < typed.size();
}

// The field shows a key not counted as typed: the wrong key of a typo about
// to be corrected at once (possibly the right character, struck twice).
bool wrongKeyShows(Job &t)
{
    const int typed = text::graphemeCount(t.field.text()) - 7; // after "Notes: "
    return typed > 20 && t.stored(t.project) < typed;
}

// A key of the text was sent (its position stored) and has not landed.
bool keyInFlight(Job &t)
{
    return t.field.text().size() > 20 && t.stored(t.project) > text::graphemeCount(t.field.text());
}
} // namespace

TEST_F(Job, APauseAndResumeLeaveTheWholeTextRightOrSayTheyDont)
{
    const PauseMoment moments[] = {
        {"deferred typos pending, the user clicks another application", typoPending,
         [](Job &t) { t.sim.clickInto(t.otherWindow); }},
        {"the gate holds a key: another application comes to the front as a key is on its way", keyInFlight,
         [](Job &t) {
             t.other.activate();
             t.clock.advance(1500); // the run's next key waits at the gate
         }},
        {"a wrong key shows when another application comes to the front: the gate holds its Delete", wrongKeyShows,
         [](Job &t) {
             t.other.activate();
             t.clock.advance(1500);
         },
         QStringLiteral("Notes: ")},
        {"a key in flight when the user clicks another application", keyInFlight,
         [](Job &t) { t.sim.clickInto(t.otherWindow); }},
    };
    for (const PauseMoment &moment : moments) {
        for (const bool stopAndResume : {true, false}) {
            SCOPED_TRACE(std::string(moment.name)
                         + (stopAndResume ? ", stopped and resumed" : ", paused and continued"));
            if (job && job->isRunInFlight()) {
                job->stopTyping();
                ASSERT_TRUE(runToEnd());
            }
            makeJob();
            sim.simKeyboard().setDeliveryDelayMs(40);
            project = typingProject(kLong);
            field.setText(moment.before);
            job->prepareTyping(project);
            sim.clickInto(field);
            ASSERT_TRUE(clock.runUntil([&] { return moment.now(*this); }, 60000)) << "the moment never came";
            moment.act(*this);
            clock.advance(500);
            if (stopAndResume) {
                job->stopTyping();
                ASSERT_TRUE(runToEnd());
                ASSERT_GT(stored(project), 0);
                job->prepareTyping(project);
            } else {
                if (!job->isPaused())
                    job->togglePause();
                clock.advance(2000);
                job->togglePause(); // Continue: a click back into the field resumes
            }
            editor.activate();
            sim.clickInto(field);
            ASSERT_TRUE(runToEnd());
            EXPECT_EQ(field.text(), moment.before + kLong);
            EXPECT_EQ(job->phase(), RunPhase::Done);
            EXPECT_TRUE(field.text() == moment.before + kLong || job->phase() != RunPhase::Done) << "a false Done";
        }
    }
}
