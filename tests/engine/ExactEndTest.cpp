// Whole runs at length into text boxes that fall short in the ways real
// toolkits do: caret and selection writes applied late, caret writes
// ignored (the caret travels by arrows) behind an application slow to take
// them. Each run ends with the intended text in its stretch and a collapsed
// caret right after it, on every path: into an empty field, after existing
// text, stopped in the review, paused in the review and resumed.

#include "RunHarness.h"

#include "core/Text.h"

#include <gtest/gtest.h>

using namespace qv::engine;
using qv::platform::Key;
using qv::platform::TextRange;
using qv::test::RunHarness;

namespace {

// About `words` words in paragraphs, with accents and an emoji.
QString essay(int words)
{
    const QString sentence = QString::fromUtf8("The small café on the corner was busy again 👍 today. ");
    const int perSentence = 10;
    QString text;
    for (int w = 0; w < words; w += perSentence)
        text += sentence + ((w / perSentence) % 6 == 5 ? "\n\n" : "");
    return text;
}

struct Quirky {
    const char *name;
    double writeDelayMs = 0;
    bool caretWritesIgnored = false;
    double arrowCostMs = 0;
};

const Quirky kQuirks[] = {
    {"well behaved"},
    {"writes applied 200 ms late", 200},
    {"caret writes ignored, 2 ms per arrow", 0, true, 2},
};

struct ExactEnd : qv::test::EngineRun {
    ExactEnd() : EngineRun(7) {}

    void quirks(const Quirky &q)
    {
        field.quirks().writeDelayMs = q.writeDelayMs;
        field.quirks().caretWritesIgnored = q.caretWritesIgnored;
        field.quirks().arrowCostMs = q.arrowCostMs;
    }
    // Runs `text` after `before` and before `after`; answers the run's state.
    RunState runAround(const QString &before, const QString &after, const QString &text, const QString &review,
                       bool humanize = false)
    {
        phases.clear();
        field.setText(before + after);
        field.setCaret(before.size());
        auto a = args(text, humanize, 250);
        a.review = review;
        run(start(a));
        clock.runUntilIdle(); // late writes still on their way
        return current->state();
    }
    int arrows() { return keysOf(Key::Left) + keysOf(Key::Right); }
};

} // namespace

TEST_F(ExactEnd, LongRunsEndExactWithTheCaretAfterTheText)
{
    const QString text = essay(1000);
    for (const Quirky &q : kQuirks) {
        for (const bool surrounded : {false, true}) {
            SCOPED_TRACE(std::string(q.name) + (surrounded ? ", after existing text" : ", empty field"));
            quirks(q);
            sim.log().keys.clear();
            const QString before = surrounded ? QStringLiteral("Start: ") : QString();
            const QString after = surrounded ? QStringLiteral(" (end)") : QString();
            const RunState state = runAround(before, after, text, QStringLiteral("light"));
            if (!surrounded) {
                EXPECT_FALSE(state.deferredErrors.isEmpty()) << "typos left for the review";
            }
            EXPECT_EQ(phases.last(), "done") << debug.join('\n').toStdString();
            EXPECT_EQ(field.text(), before + text + after);
            EXPECT_EQ(field.selection(), (TextRange{before.size() + text.size(), 0}));
            // The caret travels by writes where they hold; by arrows only
            // where they are ignored, never more than twice the way to each
            // typo and back.
            if (!q.caretWritesIgnored) {
                EXPECT_EQ(arrows(), 0);
            } else if (!surrounded) {
                EXPECT_LE(arrows(), 2 * text.size() * state.deferredErrors.size());
            }
        }
    }
}

TEST_F(ExactEnd, StoppedOrPausedInTheReviewTheCaretEndsAfterTheText)
{
    // The review's typo fixes are under way (the caret inside the text, a
    // stretch selected) when the user stops, or pauses and resumes.
    const QString text = essay(300);
    for (const Quirky &q : kQuirks) {
        for (const bool stopping : {true, false}) {
            SCOPED_TRACE(std::string(q.name) + (stopping ? ", stopped" : ", paused and resumed"));
            quirks(q);
            bool reviewing = false;
            double pausedAtMs = -1;
            onKey = nullptr;
            stop = false;
            pause = false;
            // The first caret step of the review brings the stop or the pause.
            auto a = args(text, false, 250);
            a.review = QStringLiteral("heavy");
            a.onPhase = [&](RunPhase p) {
                phases.append(phaseName(p));
                reviewing = reviewing || p == RunPhase::Editing;
            };
            a.stopFlag = [&] {
                const bool away = field.selection() != TextRange{field.text().size(), 0};
                if (reviewing && away && !stop && !pause && pausedAtMs < 0) {
                    if (stopping) {
                        stop = true;
                    } else {
                        pause = true;
                        pausedAtMs = clock.nowMs();
                        clock.singleShot(5000, [&] { pause = false; });
                    }
                }
                return stop;
            };
            phases.clear();
            field.setText({});
            TypingRun &run = start(a);
            RunHarness::run(run);
            clock.runUntilIdle();
            ASSERT_TRUE(reviewing);
            EXPECT_EQ(field.selection(), (TextRange{field.text().size(), 0}));
            if (stopping) {
                EXPECT_NE(phases.last(), "done");
                EXPECT_EQ(field.text(), run.state().buffer) << "no half-done edit";
            } else {
                EXPECT_GE(pausedAtMs, 0);
                EXPECT_EQ(phases.last(), "done");
                EXPECT_EQ(field.text(), text);
            }
        }
    }
}
