// Whole typing runs on the simulated desktop: the progress and phase
// contract, pauses for the front application and the focus, line breaks,
// stops in the middle of corrections, and what the run hands to the repair.

#include "core/Text.h"
#include "engine/BufferEdits.h"
#include "engine/WordBoundaryActions.h"

#include "RunHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace qv::engine;
using qv::platform::Key;
namespace platform = qv::platform;
using qv::test::RunHarness;

namespace {
struct Run : qv::test::EngineRun {
    TypingRun &runFrom(const QString &text, bool humanize, int startIndex)
    {
        auto a = args(text, humanize);
        a.startIndex = startIndex;
        TypingRun &r = start(a);
        run(r);
        return r;
    }
    // For a further run in the same test: an empty field, nothing reported.
    void clearAll()
    {
        progress.clear();
        phases.clear();
        debug.clear();
        field.setText({});
    }
    // What the field holds once the typos left for the review are put right.
    static QString corrected(TypingRun &r) { return applyDeferredErrors(r.state().buffer, r.state().deferredErrors); }
};

int focusWrites(qv::sim::SimDesktop &sim)
{
    int n = 0;
    for (const auto &w : sim.log().writes)
        n += w.attribute == qv::platform::Attribute::Focused ? 1 : 0;
    return n;
}

const QString kShort = QStringLiteral(
    "The quick brown fox jumps over the lazy dog. It was not amused!\n\nThen it left.");
} // namespace

TEST_F(Run, HumanizeOffTypesTheTextExactlyApartFromTyposLeftForTheReview)
{
    TypingRun &r = runText(kShort, false);
    EXPECT_EQ(field.text(), r.state().buffer);
    EXPECT_EQ(corrected(r), kShort);
    EXPECT_EQ(engine.lastIntendedText(), kShort);
    EXPECT_EQ(phases, (QStringList{"typing", "editing", "done"}));
    EXPECT_EQ(progress.first(), std::make_pair(0, int(kShort.size())));
    EXPECT_EQ(progress.last(), std::make_pair(int(kShort.size()), int(kShort.size())));
    // The per-run fields are cleared and the keyboard told the run is over.
    EXPECT_FALSE(engine.debugSink);
    EXPECT_FALSE(engine.allowClipboardOps);
    EXPECT_EQ(sim.log().callsNamed("prepare"), QStringList{kShort});
    EXPECT_EQ(sim.log().callsNamed("finish").size(), 1);
}

TEST_F(Run, TextAlreadyInTheFieldSurvivesAndEveryTypoInFrontOfItIsCorrectedAtOnce)
{
    // Only an empty field, or one whose whole text is selected, is owned
    // whole; a caret anywhere in text, its start included, is not.
    const struct {
        const char *name;
        platform::TextRange selection;
        bool owned;
        QString expected;
    } cases[] = {
        {"caret inside the text", {7, 0}, false, "Before " + kShort + " after"},
        {"caret at the start of the text", {0, 0}, false, kShort + "Before  after"},
        {"the whole text selected", {0, 13}, true, kShort},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        clearAll();
        field.setText("Before  after");
        field.setSelection(c.selection);
        TypingRun &r = runText(kShort, false);
        EXPECT_EQ(r.params().ownsWholeField, c.owned);
        if (!c.owned) {
            EXPECT_TRUE(r.state().deferredErrors.isEmpty());
        }
        EXPECT_EQ(field.text(), c.expected);
        EXPECT_EQ(engine.lastIntendedText(), kShort);
        EXPECT_TRUE(debug.contains(QStringLiteral("start: total=%1 startIndex=0 ownsWholeField=%2 "
                                                  "confirmedEditable=true allowDeferred=%2 clipboard=true")
                                       .arg(kShort.size())
                                       .arg(TypingEngine::boolText(c.owned))));
    }
}

TEST_F(Run, StartIndexIsClampedAndProgressCountsFromTheBeginning)
{
    runFrom("abcdef", false, -5);
    EXPECT_EQ(progress.first(), std::make_pair(0, 6));
    EXPECT_EQ(field.text().size(), 6);

    // Resumed at 4 into an empty field: the run types "ef" only; without
    // humanize the review then leaves the whole text in the field it owns.
    clearAll();
    runFrom("abcdef", false, 4);
    EXPECT_EQ(progress.first(), std::make_pair(4, 6));
    EXPECT_EQ(progress.size(), 3);
    EXPECT_EQ(debug.filter("editing: ").value(0).section(' ', 2), "bufferLen=2 ownsWholeField=true");
    EXPECT_EQ(engine.lastIntendedText(), "abcdef");
    EXPECT_EQ(field.text(), "abcdef");
    // With humanize it leaves only what this run typed.
    clearAll();
    runFrom("abcdef", true, 4);
    EXPECT_EQ(engine.lastIntendedText(), "ef");
    EXPECT_EQ(field.text(), "ef");

    // Past the end: no key of the text is typed, and the end of the run
    // follows with an empty buffer.
    clearAll();
    runFrom("abcdef", false, 99);
    EXPECT_EQ(progress, (QList<std::pair<int, int>>{{6, 6}}));
    EXPECT_EQ(phases, (QStringList{"typing", "editing", "done"}));
    EXPECT_TRUE(debug.contains("editing: deferredErrors=0 bufferLen=0 ownsWholeField=true"));
    EXPECT_EQ(field.text(), "abcdef");

    // An empty text reports zero of one.
    clearAll();
    runText({}, true);
    EXPECT_EQ(progress, (QList<std::pair<int, int>>{{0, 1}}));
    EXPECT_EQ(phases, (QStringList{"typing", "editing", "done"}));
}

TEST_F(Run, AStopEndsTheRunWhereverItComesWithNoKeyAfterIt)
{
    // (The cases that move the focus or the pointer come last.)
    // No key after the stop, none elsewhere, no repair, no phase beyond
    // those expected, the target not focused again (the probe writes the
    // focus once) and the per-run fields cleared.
    auto &other = sim.addApp("Other");
    other.addWindow({900, 0, 300, 300});
    auto &button = window.addButton({20, 560, 100, 30}, "Delete all");
    button.setFocusable(true);
    double stoppedAt = -1;
    const auto stopNow = [&] {
        stop = true;
        stoppedAt = clock.nowMs();
    };
    const struct {
        const char *when;
        std::function<void(RunOptions &)> setUp;
        QStringList phases;
        bool keys;
    } cases[] = {
        {"before the first key", [&](RunOptions &) { stopNow(); }, {"typing"}, false},
        {"at the last key",
         [&](RunOptions &) {
             onKey = [&](int done) {
                 if (done == int(kShort.size()))
                     stopNow();
             };
         },
         {"typing"},
         true},
        {"while another application is in front",
         [&](RunOptions &) {
             sim.after(3000).switchTo(other);
             sim.after(5000).run(stopNow);
         },
         {"typing", "paused"},
         true},
        {"while the focus is on a button",
         [&](RunOptions &a) {
             sim.setPointer(QPoint(1500, 900)); // nothing under it either
             onKey = [&](int done) {
                 if (done == 10)
                     button.focus();
             };
             a.onPhase = [&](RunPhase p) {
                 phases.append(phaseName(p));
                 if (p == RunPhase::Paused)
                     sim.after(1000).run(stopNow);
             };
         },
         {"typing", "paused"},
         true},
        {"while the start looks for a text box",
         [&](RunOptions &a) {
             a.target = {};
             button.focus();
             sim.setPointer(QPoint(1500, 900));
             sim.after(1000).run(stopNow);
         },
         {},
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.when);
        clearAll();
        stop = false;
        stoppedAt = -1;
        onKey = nullptr;
        editor.activate();
        field.focus();
        sim.log().clear();
        auto a = args(kShort, false);
        c.setUp(a);
        TypingRun &r = start(a);
        run(r);
        ASSERT_GE(stoppedAt, 0);
        EXPECT_EQ(phases, c.phases);
        EXPECT_EQ(sim.log().keys.empty(), !c.keys);
        for (const auto &key : sim.log().keys) {
            EXPECT_LE(key.timeMs(), stoppedAt);
            EXPECT_TRUE(key.target == field.element()) << key.timeMs();
        }
        EXPECT_LE(clock.nowMs() - stoppedAt, 1000); // a key's delay at most, no wait's end
        EXPECT_EQ(field.text(), r.state().buffer);
        EXPECT_LE(focusWrites(sim), 1);
        EXPECT_FALSE(engine.debugSink);
        EXPECT_TRUE(engine.lastIntendedText().isEmpty());
    }
}

TEST_F(Run, PausesWhileAnotherApplicationIsInFrontAndPostsNoKey)
{
    auto &other = sim.addApp("Other");
    other.addWindow({900, 0, 300, 300}).addTextField({910, 10, 200, 30}).focus();
    sim.at(3000).switchTo(other);
    sim.at(9000).switchTo(editor);
    runText(kShort, false);

    ASSERT_GE(phases.size(), 5);
    EXPECT_EQ(phases.mid(0, 3), (QStringList{"typing", "paused", "typing"}));
    for (const auto &key : sim.log().keys)
        EXPECT_NE(key.pid, other.pid()) << "key at " << key.timeMs();
    const auto &keys = sim.log().keys;
    bool gap = false;
    for (size_t i = 1; i < keys.size(); ++i)
        gap = gap || (keys[i - 1].timeMs() < 3000 && keys[i].timeMs() >= 9000);
    EXPECT_TRUE(gap);
    EXPECT_EQ(field.text(), current->state().buffer);
}

TEST_F(Run, FocusMovingToAButtonIsNoticedWithinEightCharacters)
{
    auto &button = window.addButton({20, 560, 100, 30}, "OK");
    button.setFocusable(true);
    int typedAtMove = -1;
    int typedAtPause = -1;
    onKey = [&](int done) {
        if (done == 10 && typedAtMove < 0) {
            typedAtMove = done;
            button.focus();
        }
    };
    auto a = args(kShort, false);
    QString fieldAtEnd;
    QString bufferAtEnd;
    a.onPhase = [&](RunPhase p) {
        phases.append(phaseName(p));
        if (p == RunPhase::Paused && typedAtPause < 0) {
            typedAtPause = progress.last().first;
            sim.after(2000).focus(field);
        }
        if (p == RunPhase::Editing) {
            fieldAtEnd = field.text();
            bufferAtEnd = current->state().buffer;
        }
    };
    TypingRun &r = start(a);
    run(r);
    ASSERT_GE(typedAtPause, 0);
    EXPECT_LE(typedAtPause - typedAtMove, 8);
    EXPECT_EQ(phases.mid(0, 3), (QStringList{"typing", "paused", "typing"}));
    // Keys typed while the button had the focus reached no text...
    EXPECT_EQ(fieldAtEnd, bufferAtEnd.left(typedAtMove) + bufferAtEnd.mid(typedAtPause));
    // ...and the review puts the missing words back.
    EXPECT_EQ(field.text(), kShort);
    EXPECT_EQ(r.state().buffer, kShort);
}

TEST_F(Run, LineBreaksOfEveryKindAreTypedAsOneReturn)
{
    const QString text = "one\r\ntwo\rthree\nfour";
    TypingRun &r = runText(text, false);
    EXPECT_EQ(corrected(r), "one\ntwo\nthree\nfour");
    EXPECT_EQ(engine.lastIntendedText(), "one\ntwo\nthree\nfour");
    EXPECT_EQ(keysOf(Key::Return), 3);
    EXPECT_EQ(progress.last(), std::make_pair(18, 18));
    EXPECT_EQ(sim.log().callsNamed("prepare"), QStringList{"one\ntwo\nthree\nfour"});
    // The review compares the field with the text as typed, not as given.
    EXPECT_EQ(field.text(), "one\ntwo\nthree\nfour");
    EXPECT_FALSE(debug.contains("replaceAll: safety check failed (expected mismatch)"));
}

TEST_F(Run, HumanizedRunHandsTheCorrectedBufferToTheReview)
{
    QString text;
    for (int i = 0; i < 40; ++i)
        text += "This is a good sentence about small things, and it is important. ";
    TypingRun &r = runText(text, true);
    EXPECT_EQ(field.text(), r.state().buffer);
    EXPECT_EQ(engine.lastIntendedText(), corrected(r));
    EXPECT_TRUE(debug.contains(QStringLiteral("editing: deferredErrors=%1 bufferLen=%2 ownsWholeField=true")
                                   .arg(r.state().deferredErrors.size())
                                   .arg(r.state().buffer.size())));
}

TEST_F(Run, StopDuringTheHardWordSlowDownEndsWithinASlice)
{
    // "juxtaposition" at 20 words per minute would hold the run for 23 s.
    // (Into a field with text, so that typos never change the word.)
    field.setText("x");
    auto a = args("juxtaposition juxtaposition juxtaposition", false, 20);
    qint64 stopAtNs = -1;
    a.stopFlag = [&] { return stop; };
    onKey = [&](int done) {
        if (done == 13) // the word's last letter: the slow-down comes at the space
            sim.after(1500).run([&] {
                stop = true;
                stopAtNs = clock.nowNs();
            });
    };
    TypingRun &r = start(a);
    run(r);
    ASSERT_GE(stopAtNs, 0);
    // The run ends within a slice of the stop, not after the 23 s, and the
    // space the wait came before is never typed.
    EXPECT_LE(clock.nowNs() - stopAtNs, qint64(2000e6));
    EXPECT_EQ(r.state().buffer, "juxtaposition");
    EXPECT_EQ(field.text(), "xjuxtaposition");
    EXPECT_EQ(phases, QStringList{"typing"});
}

TEST_F(Run, StopDuringACorrectedWrongKeyTakesItBackAndTypesNoMore)
{
    // Into a field that held text, every typo is corrected at once.
    field.setText("[]");
    field.setCaret(1);
    QString text;
    for (int i = 0; i < 20; ++i)
        text += "Lorem ipsum dolor sit amet consectetur. ";
    // First a run without a stop, to find the first corrected wrong key.
    runText(text, false);
    const auto keys = sim.log().keys;
    double wrongKeyAt = -1;
    for (size_t i = 1; i < keys.size() && wrongKeyAt < 0; ++i)
        if (keys[i].kind == qv::sim::KeyEvent::Kind::Key && keys[i].key == Key::Backspace)
            wrongKeyAt = keys[i - 1].timeMs();
    ASSERT_GE(wrongKeyAt, 0);

    // The same run again, stopped while the wrong key stands.
    RunHarness again;
    qv::SeededRandom sameSeed{11};
    TypingEngine engine2{again.sim, again.clock, sameSeed};
    again.field.setText("[]");
    again.field.setCaret(1);
    auto a = again.args(text, false);
    a.stopFlag = [&] { return again.clock.nowMs() > wrongKeyAt; };
    TypingRun r(engine2, a);
    again.run(r);
    const int typed = again.progress.last().first;
    EXPECT_EQ(again.field.text(), "[" + text.left(typed) + "]");
    EXPECT_EQ(again.sim.log().keys.back().key, Key::Backspace);
    EXPECT_EQ(again.phases, QStringList{"typing"});
}

TEST_F(Run, WordsEndOnlyAtSpacesAndLineFeeds)
{
    auto a = args({}, false);
    TypingRun r(engine, a);
    QStringList ended;
    auto feed = [&](const QString &chars) {
        for (const QString &k : qv::text::graphemes(chars)) {
            const QString before = r.state().currentWord;
            const int words = r.state().wordIndex;
            qv::test::runTask(clock, WordBoundaryActions::onCharacter(r, k));
            if (r.state().wordIndex != words)
                ended.append(before);
            r.state().buffer += k;
        }
    };
    feed("Hello, world ");
    EXPECT_EQ(ended, (QStringList{"Hello", "world"}));
    ended.clear();
    feed("one\ttwo don't (bad2)\n-- \n  x");
    EXPECT_EQ(ended, (QStringList{"onetwo", "don't", "bad2"}));
    EXPECT_EQ(r.state().currentWord, "x");
    EXPECT_EQ(r.state().wordIndex, 5);
}

TEST_F(Run, AtTheEndTheTargetIsFocusedAgainOnlyWhenNoTextInputHasTheFocus)
{
    // Focus writes up to the hand-off (one is the probe's own). Another text
    // input keeps the focus, the review focuses its field itself; from a
    // button the target is focused again, 220 ms before "editing".
    auto &input = window.addTextField({20, 560, 300, 30}, "other");
    auto &button = window.addButton({400, 560, 100, 30}, "OK");
    button.setFocusable(true);
    for (qv::sim::SimElement *taker : {&input, &button}) {
        const bool toButton = taker == &button;
        SCOPED_TRACE(toButton ? "button" : "text input");
        clearAll();
        field.focus();
        sim.log().clear();
        onKey = [&](int done) {
            if (done == int(kShort.size()))
                taker->focus();
        };
        double lastKeyMs = 0, editingMs = 0;
        int writesAtEditing = -1;
        auto a = args(kShort, false);
        a.onPhase = [&](RunPhase p) {
            phases.append(phaseName(p));
            if (p == RunPhase::Editing) {
                editingMs = clock.nowMs();
                lastKeyMs = sim.log().keys.back().timeMs();
                writesAtEditing = focusWrites(sim);
                EXPECT_EQ(field.isFocused(), toButton);
            }
        };
        run(start(a));
        EXPECT_EQ(writesAtEditing, toButton ? 2 : 1);
        if (toButton) {
            EXPECT_GE(editingMs - lastKeyMs, 220);
        }
        EXPECT_EQ(phases.last(), "done");
        EXPECT_EQ(input.text(), "other");
        EXPECT_EQ(field.text(), kShort);
    }
}

TEST_F(Run, AnotherApplicationInFrontAtTheEndIsWaitedForWithoutTyping)
{
    auto &other = sim.addApp("Other");
    other.addWindow({900, 0, 300, 300});
    onKey = [&](int done) {
        if (done == int(kShort.size())) {
            sim.after(1).switchTo(other);
            sim.after(4000).switchTo(editor);
        }
    };
    runText(kShort, false);
    EXPECT_EQ(phases, (QStringList{"typing", "paused", "editing", "done"}));
}

TEST_F(Run, AFieldThatNeverHoldsTheTextEndsInItsOwnPhaseWithTheCount)
{
    // The application turns every "o" into "0", repairs included. Owned
    // field: the whole text is compared; after existing text: the segment
    // and what stood after it. A field that takes the text ends "done".
    const int os = int(kShort.count('o')); // each a character of its own
    struct Case {
        const char *name;
        QString before, after;
        bool transformed;
    };
    for (const Case &c : {Case{"owned", {}, {}, true}, Case{"segment", "Hi. ", " Bye.", true},
                          Case{"exact segment", "Hi. ", " Bye.", false}}) {
        SCOPED_TRACE(c.name);
        clearAll();
        field.setText(c.before + c.after);
        field.setCaret(c.before.size());
        field.quirks().transform = nullptr;
        if (c.transformed)
            field.quirks().transform = [](const QString &, const QString &typed) {
                return typed == "o" ? QStringLiteral("0") : typed;
            };
        runText(kShort, false);
        if (!c.transformed) {
            EXPECT_EQ(phases.last(), "done");
            EXPECT_FALSE(engine.lastDifference());
            continue;
        }
        EXPECT_EQ(phases, (QStringList{"typing", "editing", "differs"}));
        ASSERT_TRUE(engine.lastDifference());
        EXPECT_EQ(engine.lastDifference()->characters, os);
        EXPECT_TRUE(std::any_of(debug.begin(), debug.end(), [](const QString &l) {
            return l.startsWith("outcome: field differs (");
        })) << debug.join('\n').toStdString();
    }
}

TEST_F(Run, TyposLeftForTheReviewKeepToTheBudgetOfEachSentence)
{
    // A light review without humanize leaves at most two typos in a
    // sentence; the budget starts again at every sentence end. (The last
    // 400 characters may take more, up to a cap of their own.)
    QString text;
    for (int i = 0; i < 12; ++i)
        text += "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor incididunt ut "
                "labore et dolore magna aliqua, ut enim ad minim veniam, quis nostrud exercitation ullamco "
                "laboris nisi ut aliquip ex ea commodo consequat, duis aute irure dolor in reprehenderit in "
                "voluptate velit esse cillum dolore eu fugiat nulla pariatur. ";
    auto a = args(text, false);
    a.review = QStringLiteral("light");
    QList<DeferredError> left;
    a.onPhase = [&](RunPhase p) {
        if (p == RunPhase::Editing)
            left = current->state().deferredErrors;
    };
    run(start(a));
    ASSERT_EQ(current->params().editBudget, 2);
    QList<int> perSentence(text.count('.') + 1, 0);
    for (const DeferredError &e : left)
        if (e.index < text.size() - 401)
            perSentence[int(text.left(e.index).count('.'))] += 1;
    EXPECT_LE(*std::max_element(perSentence.begin(), perSentence.end()), 2)
        << ::testing::PrintToString(std::vector<int>(perSentence.begin(), perSentence.end()));
    EXPECT_GE(perSentence.count(2), 3) << ::testing::PrintToString(
        std::vector<int>(perSentence.begin(), perSentence.end()));
}

TEST_F(Run, WordEndActionsKeepTheirScheduleAndTheEditsNeedBudget)
{
    // The run's set-up draws the offsets (a stop before the first key ends
    // it there); then word after word ends, with the sentence's budget
    // unspent or spent. At a word end: a style swap every so many words,
    // a thesaurus pause every 150, a micro edit, a short pause and a
    // rethink at their own intervals, and once the long pause. All but the
    // thesaurus pause need budget; the edits among them count against it.
    for (const bool spent : {false, true}) {
        SCOPED_TRACE(spent ? "budget spent" : "budget left");
        clearAll();
        stop = true;
        TypingRun &r = runText("x", true);
        stop = false;
        const RunParams &p = r.params();
        RunState &s = r.state();
        ASSERT_GT(p.editBudget, 0);
        bool longPauseDue = true;
        for (int word = 1; word <= 400; ++word) {
            for (const QString k : {"p", "l", "a", "n"}) {
                qv::test::runTask(clock, WordBoundaryActions::onCharacter(r, k));
                s.buffer += k;
            }
            field.setText(s.buffer);
            s.editCount = spent ? p.editBudget : 0;
            const double t0 = clock.nowMs();
            qv::test::runTask(clock, WordBoundaryActions::onCharacter(r, " "));
            s.buffer += " ";
            field.setText(s.buffer);

            const bool budget = !spent;
            const bool swap = budget && word % p.profile.styleSwapEvery == 0;
            const bool thesaurus = word % WordBoundaryActions::kThesaurusEvery == 0;
            const bool micro = budget && word % (75 + p.microEditOffset) == 0;
            const bool shortPause = budget && word % (90 + p.microPauseOffset) == 0;
            const bool rethink = budget && word % (180 + p.rethinkOffset) == 0;
            const bool longPause = budget && longPauseDue && word >= 180 + p.longPauseOffset;
            longPauseDue = longPauseDue && !longPause;
            SCOPED_TRACE(word);
            ASSERT_EQ(s.wordIndex, word);
            ASSERT_EQ(clock.nowMs() > t0, swap || thesaurus || micro || shortPause || longPause);
            // ("plan" has no stronger word: the swap waits and changes nothing.)
            ASSERT_EQ(s.editCount - (spent ? p.editBudget : 0), int(micro) + int(rethink) + int(longPause));
        }
    }
}

// A field whose text cannot be read back at the end never ends "done": read
// through a copy it ends "differs" when it does not hold the text, and when
// it cannot be read at all, or the run's segment cannot be found in it, the
// run ends "unchecked".
TEST_F(Run, AFieldThatCannotBeReadBackNeverEndsDone)
{
    const QString other = QStringLiteral("Someone else's notes, nothing like the project at all, and longer too.");
    struct Case {
        const char *name;
        bool humanize;
        bool copies;    // the copy shortcut works
        bool overwrite; // someone else's text replaces the field after the last key
        bool rewrites;  // the application turns every "o" into "0"
        QString before; // text in the field before the run (the segment path)
        QString phase;
    };
    const Case cases[] = {
        {"deferred typos left, no copy", true, false, false, false, {}, "unchecked"},
        {"someone else's text, the wipe refused", false, true, true, false, {}, "differs"},
        {"the application's rewrite, read by a copy", false, true, false, true, {}, "differs"},
        {"the application's rewrite, no copy", false, false, false, true, {}, "unchecked"},
        {"a segment with no insertion point", false, true, false, false, "Hi. ", "unchecked"},
        {"an exact field read by a copy", false, true, false, false, {}, "done"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        clearAll();
        field.setText(c.before);
        field.quirks() = {};
        field.quirks().valueUnreadable = true;
        field.quirks().copyCopiesNothing = !c.copies;
        if (!c.before.isEmpty()) // neither the selection nor the caret can be read
            field.quirks().onlyCharacterCount = true;
        if (c.rewrites)
            field.quirks().transform = [](const QString &, const QString &typed) {
                return typed == "o" ? QStringLiteral("0") : typed;
            };
        onKey = [&](int done) {
            if (c.overwrite && done == int(qv::text::graphemeCount(kShort)))
                field.setText(other);
        };
        runText(kShort, c.humanize);
        EXPECT_EQ(phases.last(), c.phase) << debug.join('\n').toStdString();
        EXPECT_EQ(bool(engine.lastUncheckedReason()), c.phase == "unchecked");
        if (c.overwrite) {
            EXPECT_EQ(field.text(), other);
        }
    }
}

// The user types a few words in front of the insertion point while the run
// types after it: the segment, exact where it now stands, ends "done" and
// nothing is repaired or overwritten.
TEST_F(Run, TextTypedInFrontOfTheInsertionPointDuringTheRunIsNoDifference)
{
    for (const qint64 at : {qint64(0), qint64(4)}) { // the field's start, right before the insertion point
        SCOPED_TRACE(at);
        clearAll();
        field.setText("Hi. \nBye.");
        field.setCaret(4);
        onKey = [&](int done) {
            if (done != 20)
                return;
            qv::sim::EditState &edit = field.editState();
            edit.text.insert(at, "Oh! ");
            edit.selection.location += 4;
        };
        runText(kShort, false);
        QString expected = "Hi. " + kShort + "\nBye.";
        expected.insert(at, "Oh! ");
        EXPECT_EQ(field.text(), expected);
        EXPECT_EQ(phases.last(), "done") << debug.join('\n').toStdString();
    }
}
