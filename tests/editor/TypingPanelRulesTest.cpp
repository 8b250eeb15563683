#include "editor/TypingPanelRules.h"

#include "EditorFixture.h"
#include "support/RunPhasePrinter.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

using namespace qv::editor::panel;

using qv::test::words;

TEST(TypingPanelRules, EveryPhaseHasItsStatusButtonsCardGlowAndHighlight)
{
    struct Row {
        RunPhase phase;
        const char *status;
        ActionRow row;
        bool waits; // the card shows and the glow pulses
    };
    for (const Row &r : {Row{RunPhase::Awaiting, "Waiting for Text Box", ActionRow::PauseStop, true},
                         Row{RunPhase::Typing, "Typing...", ActionRow::PauseStop, false},
                         Row{RunPhase::Paused, "Paused", ActionRow::PauseStop, true},
                         Row{RunPhase::Editing, "Finalizing (Exact Match)", ActionRow::PauseStop, false},
                         Row{RunPhase::Done, "Done", ActionRow::Exit, false},
                         Row{RunPhase::Differs, "Text Box Differs", ActionRow::Exit, false},
                         Row{RunPhase::Unchecked, "Done, Not Checked", ActionRow::Exit, false},
                         Row{RunPhase::Stopped, "Stopped", ActionRow::Exit, false},
                         Row{RunPhase::Idle, "Ready", ActionRow::Start, false}}) {
        SCOPED_TRACE(phaseName(r.phase).toStdString());
        EXPECT_EQ(statusMessage(r.phase, false), r.status);
        EXPECT_EQ(actionRowFor(r.phase), r.row);
        EXPECT_EQ(overlayVisible(r.phase, false), r.waits);
        EXPECT_FALSE(overlayVisible(r.phase, true));
        EXPECT_EQ(glowFor(r.phase, false, 0.5) == Glow{}, !r.waits);
        EXPECT_EQ(glowFor(r.phase, true, 0.5) == Glow{}, !r.waits);
        EXPECT_EQ(highlightVisible(r.phase), r.phase == RunPhase::Typing);
    }
    EXPECT_EQ(statusMessage(RunPhase::Editing, true), "Editing...");
    EXPECT_EQ(statusMessage(RunPhase::Idle, true), "Ready");

    EXPECT_EQ(startLabel(0), "Start Typing");
    EXPECT_EQ(startLabel(-4), "Start Typing");
    EXPECT_EQ(startLabel(1), "Resume Typing");
    EXPECT_EQ(pauseLabel(false), "Pause");
    EXPECT_EQ(pauseLabel(true), "Continue");
    // Armed but nothing runs yet: nothing to pause.
    EXPECT_FALSE(pauseEnabled(RunPhase::Awaiting, false));
    // Waiting again after "Continue": continuing stays possible.
    EXPECT_TRUE(pauseEnabled(RunPhase::Awaiting, true));
    EXPECT_TRUE(pauseEnabled(RunPhase::Typing, false));
    EXPECT_TRUE(pauseEnabled(RunPhase::Paused, true));
    EXPECT_TRUE(pauseEnabled(RunPhase::Editing, false));
}

TEST(TypingPanelRules, OnlyAFieldThatDiffersGetsANoteWithTheCountWhereKnown)
{
    EXPECT_EQ(differenceNote(RunPhase::Differs, 12),
              "The text box differs from your project by 12 characters. Check it before you go on.");
    EXPECT_EQ(differenceNote(RunPhase::Differs, 1),
              "The text box differs from your project by 1 character. Check it before you go on.");
    for (const std::optional<int> unknown : {std::optional<int>(), std::optional<int>(0)})
        EXPECT_EQ(differenceNote(RunPhase::Differs, unknown),
                  "The text box does not hold exactly your project's text. Check it before you go on.");
    // A field that could not be read back was not compared at all.
    EXPECT_EQ(differenceNote(RunPhase::Unchecked, std::nullopt),
              "This text box can\u2019t be read back, so what it holds was not compared with your project. "
              "Check it before you go on.");
    for (const RunPhase phase : {RunPhase::Done, RunPhase::Stopped, RunPhase::Editing, RunPhase::Idle})
        EXPECT_TRUE(differenceNote(phase, 3).isEmpty()) << phaseName(phase).toStdString();
}

TEST(TypingPanelRules, WordsSplitOnlyAtSpaceLineFeedAndTab)
{
    // A carriage return with a line feed is one character, and not a line feed;
    // a space carrying a combining mark is not a plain space.
    for (auto [text, count] : {std::pair{"", 0},
                               {"   \n\t ", 0},
                               {"one", 1},
                               {"  one  two\tthree\nfour  ", 4},
                               {"a\r\nb", 1},
                               {"a\rb\rc", 1},
                               {"a\u00A0b", 1},
                               {"a\u2003b", 1},
                               {"a \u0301b", 1},
                               {"caf\u00E9 \u2014 \U0001F600 ok", 4}})
        EXPECT_EQ(wordCount(QString::fromUtf8(text)), count) << text;
}

TEST(TypingPanelRules, EstimateRoundsHalvesUpAndIsAtLeastOneMinute)
{
    EXPECT_EQ(estimatedMinutes("", 77), 1);
    EXPECT_EQ(estimatedMinutes(words(600), 77), 8); // 7.79
    // 1.5, 2.5 and 3.5 round up; no speed or a negative one counts as one word a minute.
    for (auto [count, wpm, minutes] :
         {std::tuple{3, 2, 2}, {5, 2, 3}, {7, 2, 4}, {10, 1000, 1}, {3, 0, 3}, {3, -40, 3}})
        EXPECT_EQ(estimatedMinutes(words(count), wpm), minutes) << count << '/' << wpm;
}

TEST(TypingPanelRules, TimeLeftNeverShowsLessThanOneMinuteAndThePercentIsTruncated)
{
    // 0.8 rounds to 1, 2.5 rounds up, and no number counts as nothing left.
    for (auto [progress, total, minutes] : {std::tuple{0.5, 8, 4},
                                            {0.9, 8, 1},
                                            {1.0, 8, 1},
                                            {0.0, 1, 1},
                                            {0.42, 10, 6},
                                            {0.75, 10, 3},
                                            {std::nan(""), 10, 1}})
        EXPECT_EQ(timeLeftLabel(progress, total), QStringLiteral("\u2248 %1 min").arg(minutes)) << progress;
    EXPECT_EQ(progressHeader(0.42, 10), QStringLiteral("42% \u2022 \u2248 6 min left"));
    EXPECT_EQ(percent(0.999), 99);
    EXPECT_EQ(percent(1.0), 100);
    EXPECT_EQ(percent(0.0), 0);
    EXPECT_EQ(percent(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(percentComplete(0.505), "50% complete");
}

TEST(TypingPanelRules, SummaryValues)
{
    EXPECT_EQ(capitalized("HEAVY"), "Heavy");
    EXPECT_EQ(capitalized("very light"), "Very Light");
    EXPECT_EQ(capitalized(""), "");
    // The stored speed as it stands, even where the estimate uses 1.
    EXPECT_EQ(speedLabel(0), "0 WPM");
    EXPECT_EQ(speedLabel(-5), "-5 WPM");
}

TEST(TypingPanelRules, GlowPulsesOnlyWhileWaitingAndHoldsStillWithoutMotion)
{
    EXPECT_EQ(glowFor(RunPhase::Awaiting, false, 0), (Glow{0.25, 0.06}));
    EXPECT_EQ(glowFor(RunPhase::Paused, false, 1), (Glow{0.85, 0.22}));
    EXPECT_EQ(glowFor(RunPhase::Awaiting, true, 0), (Glow{0.55, 0.12}));
    EXPECT_EQ(glowFor(RunPhase::Paused, true, 1), (Glow{0.55, 0.12}));
    const Glow mid = glowFor(RunPhase::Awaiting, false, 0.5);
    EXPECT_GT(mid.line, 0.25);
    EXPECT_LT(mid.line, 0.85);
    // The typing highlight sweeps from before the bar to past it.
    EXPECT_EQ(highlightOffset(0), -60);
    EXPECT_EQ(highlightOffset(1), 240);
}
