// The end-of-run review of a field the run owns, as whole scenarios on the
// simulated desktop: the field's final text, the caret, the phases and the
// user's clipboard.

#include "engine/EndReview.h"
#include "engine/Rewording.h"

#include "RepairFixture.h"

#include <set>

using namespace qv::engine;
using qv::platform::Key;
using qv::platform::Shortcut;
using qv::test::runTask;

namespace {
const QString kText = QStringLiteral(
    "The quick brown fox jumps over the lazy dog. It was a sunny day in the park and everyone was happy.");

struct Review : qv::test::RepairFixture {
    QString buffer;
    QList<DeferredError> errors;

    // What the run left: the text with typos at the given offsets, typed
    // into the field key by key; later keys land `keyDelayMs` after their call.
    void typed(const QString &text, const QList<std::pair<int, QString>> &typos = {}, double keyDelayMs = 0)
    {
        sim.simKeyboard().setDeliveryDelayMs(0);
        buffer = text;
        errors.clear();
        for (const auto &[index, wrong] : typos) {
            errors.append({index, text.mid(index, 1), wrong});
            buffer[index] = wrong.at(0);
        }
        field.setText({});
        runTask(clock, engine.keys().retypeText(buffer, {}));
        sim.log().clear();
        clock.advance(0);
        sim.simKeyboard().setDeliveryDelayMs(keyDelayMs);
    }
    QList<std::pair<int, QString>> twoTypos() const { return {{5, "w"}, {60, "x"}}; }
    void review(EndReviewArgs args) { runTask(clock, endReview(engine, std::move(args))); }
    EndReviewArgs args(const QString &intended) { return reviewArgs(buffer, intended, errors); }
    // A review that need not end on the exact text, at the given level.
    void reviewLoosely(const QString &intended, ReviewLevel level)
    {
        EndReviewArgs a = args(intended);
        a.enforceExact = false;
        a.review = level;
        review(std::move(a));
    }
    // No key reached any application between two virtual times.
    bool quietBetween(double fromMs, double toMs)
    {
        for (const auto &k : sim.log().keys)
            if (k.timeMs() > fromMs && k.timeMs() < toMs)
                return false;
        return true;
    }
};
} // namespace

TEST_F(Review, NothingToDoWritesOneLineAndDoesNotPause)
{
    typed("Short.");
    EndReviewArgs a = args("Short.");
    a.enforceExact = false;
    const double start = clock.nowMs();
    review(std::move(a));
    EXPECT_EQ(lines, QStringList{"endReview: errors=0 enforceExact=false"});
    EXPECT_EQ(clock.nowMs(), start);
    EXPECT_TRUE(sim.log().keys.empty());
}

TEST_F(Review, OwnedFieldWithAccessibilityEndsExactlyOnTheText)
{
    typed(kText, twoTypos());
    review(args(kText));
    EXPECT_EQ(field.text(), kText);
    EXPECT_EQ(buffer, kText);
    EXPECT_TRUE(caretCollapsedAt(kText.size()));
    EXPECT_TRUE(phases.isEmpty());
    EXPECT_EQ(lines.value(0), "endReview: errors=2 enforceExact=true");
    EXPECT_TRUE(linesContain("retypeTail: count=12"));
    EXPECT_EQ(sim.simPasteboard().peekItems(), userClipboard);
    EXPECT_TRUE(allKeysInField());
    // Each typo costs one Delete, the tail one more.
    EXPECT_EQ(sim.log().count(Key::Backspace), 3);
}

TEST_F(Review, UnreadableValueIsRepairedThroughTheClipboard)
{
    // A typo near the start leaves too little in common for the tail fix:
    // the whole text is replaced; one near the end is rewritten from there.
    for (const int at : {5, 90}) {
        typed(kText, {{at, "z"}});
        field.quirks().valueUnreadable = true;
        lines.clear();
        const QString copied = buffer;
        review(args(kText));
        EXPECT_EQ(field.text(), kText) << at;
        EXPECT_EQ(buffer, copied) << at; // what the copy found
        EXPECT_TRUE(linesContain(QStringLiteral("endReview: AX read failed, clipboard len=%1").arg(kText.size())));
        EXPECT_TRUE(linesContain(at == 5 ? "endReview: full replace attempted (clipboard path)"
                                         : "endReview: tail fix applied"))
            << lines.join('\n').toStdString();
        EXPECT_TRUE(caretCollapsedAt(kText.size())) << at;
        EXPECT_EQ(sim.simPasteboard().peekItems(), userClipboard) << at;
        field.quirks().valueUnreadable = false;
    }
}

TEST_F(Review, AFieldThatCannotBeTrustedIsLeftAsItStands)
{
    // The clipboard path never wipes a field that holds something else; an
    // unreadable field without the clipboard gets no key; a tail selection
    // that reads wrong ends the review. Without an element or application
    // the focused field is reviewed all the same.
    const QString letter = "Dear Ann, the meeting moved to Friday. Please bring the slides. Best regards, Bo";
    const QString more = kText + " More.";
    const struct {
        const char *what;
        std::function<void(EndReviewArgs &)> setUp;
        QString intended;
        QString line; // expected in the log, when not empty
        bool keys;    // whether any key may be sent
        bool exact;   // whether the field ends on the intended text
    } cases[] = {
        {"another text, unreadable",
         [&](EndReviewArgs &) {
             field.setText(letter);
             field.quirks().valueUnreadable = true;
         },
         kText, "replaceAll: safety check failed (expected mismatch)", true, false},
        {"unreadable, no clipboard",
         [&](EndReviewArgs &a) {
             field.quirks().valueUnreadable = true;
             a.allowClipboardOps = false;
         },
         kText,
         {},
         false,
         false},
        {"tail selection reads wrong", [&](EndReviewArgs &) { field.quirks().copyCopiesNothing = true; }, more,
         "retypeTail: selection mismatch, skipping", true, false},
        {"no element or application",
         [&](EndReviewArgs &a) {
             a.element = {};
             a.requiredPid.reset();
         },
         kText,
         {},
         true,
         true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const bool tail = c.intended == more;
        typed(kText, tail ? QList<std::pair<int, QString>>{} : twoTypos());
        const QString before = field.text();
        field.quirks() = {};
        lines.clear();
        EndReviewArgs a = args(c.intended);
        c.setUp(a);
        const QString untouched = field.text();
        review(std::move(a));
        if (!c.line.isEmpty()) {
            EXPECT_TRUE(linesContain(c.line)) << lines.join('\n').toStdString();
        }
        EXPECT_EQ(sim.log().keys.empty(), !c.keys);
        if (c.exact) {
            EXPECT_EQ(field.text(), c.intended);
            EXPECT_TRUE(allKeysInField());
        } else {
            EXPECT_EQ(field.text(), tail ? before : untouched);
            EXPECT_EQ(sim.log().count(Key::Backspace), 0);
        }
        EXPECT_TRUE(caretCollapsedAt(field.text().size()) || !c.keys);
    }
}

TEST_F(Review, IgnoredSelectionWritesNeverCorruptTheField)
{
    // The typos are reached with arrows; the tail and the final repair need
    // selections the application only pretends to make.
    typed(kText, twoTypos());
    field.quirks().selectionWritesIgnored = true;
    const QString intended = kText.left(70) + "EVERYONE" + kText.mid(78);
    EndReviewArgs a = args(intended);
    a.allowClipboardOps = false;
    review(std::move(a));
    EXPECT_TRUE(linesContain("retypeTail: skipped (selection failed)"));
    EXPECT_EQ(field.text(), kText); // typos fixed, nothing deleted blindly
    EXPECT_EQ(field.selection().length, 0);

    // With the clipboard the end is rewritten from the keyboard.
    typed(kText, twoTypos());
    review(args(intended));
    EXPECT_EQ(field.text(), intended);
    EXPECT_EQ(field.selection().length, 0);
    EXPECT_EQ(sim.simPasteboard().peekItems(), userClipboard);
}

TEST_F(Review, LateSelectionWritesAreWaitedFor)
{
    typed(kText, twoTypos());
    field.quirks().writeDelayMs = 150;
    const QString intended = kText.left(70) + "EVERYONE" + kText.mid(78);
    review(args(intended));
    clock.advance(500);
    EXPECT_EQ(field.text(), intended);
    EXPECT_TRUE(caretCollapsedAt(intended.size()));
    EXPECT_EQ(sim.simPasteboard().peekItems(), userClipboard);
}

TEST_F(Review, ApplicationSwitchFocusLossAndPauseHoldTheReview)
{
    const auto scenario = [&](const char *what, const std::function<void(double start)> &holdAndRelease) {
        SCOPED_TRACE(what);
        typed(kText, twoTypos());
        phases.clear();
        const double start = clock.nowMs();
        holdAndRelease(start);
        review(args(kText));
        EXPECT_EQ(phases, (QStringList{"paused", "editing"}));
        EXPECT_TRUE(quietBetween(start + 1000, start + 30000));
        EXPECT_TRUE(allKeysInField());
        EXPECT_EQ(otherField.text(), "elsewhere");
        EXPECT_EQ(field.text(), kText);
        EXPECT_TRUE(caretCollapsedAt(kText.size()));
    };
    scenario("switch", [&](double start) {
        sim.at(start + 1000).switchTo(other);
        sim.at(start + 30000).switchTo(editor);
    });
    scenario("pause", [&](double start) {
        sim.at(start + 1000).run([this] { pause = true; });
        sim.at(start + 30000).run([this] { pause = false; });
    });
    scenario("focus", [&](double start) {
        sim.setPointer(std::nullopt);
        sim.at(start + 1000).focus(button);
        sim.at(start + 30000).focus(field);
    });
}

TEST_F(Review, StopAtAnyTimeLeavesNoHalfDoneEdit)
{
    const QString intended = kText.left(70) + "EVERYONE" + kText.mid(78);
    QString oneFixed = kText;
    oneFixed[60] = 'x';
    for (const bool clipboardOnly : {false, true}) {
        std::set<QString> seen;
        for (double t = 0; t < 40000; t += 97) {
            typed(kText, twoTypos());
            const QString typedText = buffer;
            field.quirks().valueUnreadable = clipboardOnly;
            stopAtMs = clock.nowMs() + t;
            review(args(intended));
            const QString now = field.text();
            seen.insert(now);
            ASSERT_TRUE(now == typedText || now == oneFixed || now == kText || now == intended)
                << "stop after " << t << " ms, clipboard only " << clipboardOnly << ": " << now.toStdString();
            ASSERT_EQ(field.selection().length, 0) << t;
            ASSERT_EQ(sim.simPasteboard().peekItems(), userClipboard) << t;
            field.quirks().valueUnreadable = false;
            stopAtMs.reset();
        }
        // The sweep reached every stage.
        EXPECT_TRUE(seen.count(intended)) << clipboardOnly;
        EXPECT_GE(seen.size(), clipboardOnly ? 2u : 4u);
    }
}

TEST_F(Review, TyposAreFixedOnlyWhereTheBufferSaysTheyAre)
{
    // The field moved on since the buffer was recorded: one typo stands 2
    // units later, the other's wrong letter only occurs far away.
    const QString field0 = "ab Wxrld and some plain text, the quick fox.";
    typed(field0);
    errors = {{1, "o", "x"}, {30, "i", "q"}};
    reviewLoosely(field0, ReviewLevel{12, 0, 0, 0});
    // 'x' at 4 is 3 units from 1: fixed. 'q' at 34 is 4 from 30: left alone.
    EXPECT_EQ(field.text(), "ab World and some plain text, the quick fox.");
    EXPECT_EQ(sim.log().count(Key::Backspace), 1);
    EXPECT_TRUE(caretCollapsedAt(field0.size()));
}

TEST_F(Review, TypoFixKeysStillOnTheirWayAreNeverOvertakenByACaretWrite)
{
    // Keys land after their call, as posted events do. A fix that does not
    // read back in time goes back to the end by arrows, which queue behind
    // its keys, and the review waits until the caret shows them taken; a
    // caret write would land first and send the Backspace elsewhere. Keys
    // far slower than any wait end the review instead of risking more.
    const struct {
        double delayMs;
        QList<std::pair<int, QString>> typos;
        int backspaces;
        bool exact;
    } cases[] = {{30, twoTypos(), 2, true}, {1500, {{60, "x"}}, 1, true}, {5000, twoTypos(), 1, false}};
    for (const auto &c : cases) {
        typed(kText, c.typos, c.delayMs);
        reviewLoosely(kText, ReviewLevel{12, 0, 0, 0});
        clock.runUntilIdle();
        if (c.exact)
            EXPECT_EQ(field.text(), kText) << c.delayMs;
        else
            EXPECT_TRUE(linesContain("endReview: keys not taken, review ends index=5"))
                << lines.join('\n').toStdString();
        EXPECT_EQ(sim.log().count(Key::Backspace), c.backspaces) << c.delayMs;
        EXPECT_TRUE(caretCollapsedAt(field.text().size())) << c.delayMs;
    }
}

TEST_F(Review, TailRetypeCounts)
{
    // (Keys landing 30 ms after their call: the caret write after the
    // retype waits for them.)
    const auto run = [&](int length, int cap, double delayMs = 0) {
        QString text;
        while (text.size() < length)
            text += QStringLiteral("word ");
        text = text.left(length - 1) + ".";
        typed(text, {}, delayMs);
        lines.clear();
        EndReviewArgs a = args(text);
        a.review.tailRetypeCap = cap;
        review(std::move(a));
        clock.runUntilIdle();
        EXPECT_EQ(field.text(), text);
        EXPECT_TRUE(caretCollapsedAt(text.size()));
        return lines;
    };
    EXPECT_TRUE(run(120, 400).contains("retypeTail: count=12"));
    EXPECT_TRUE(run(90, 400).contains("retypeTail: skipped (unsafe length or no selection)"));
    EXPECT_TRUE(run(2000, 2200).contains("retypeTail: count=80"));
    EXPECT_TRUE(run(120, 400, 30).contains("retypeTail: count=12"));
}

TEST_F(Review, FinalSentencesAreRewordedAndCaretWritesWaitForTheirKeys)
{
    // Keys may land some time after their call: a caret write straight after
    // a retype would put the still queued letters in the wrong place.
    const QString text = "This is good. The plan is good. This good idea is fine.";
    const QString expected = applyWordSwap("This is good.") + " " + rewriteSentence(" The plan is good.") + " "
                             + rewriteSentence(" This good idea is fine.");
    for (const double delayMs : {0.0, 30.0, 300.0}) {
        SCOPED_TRACE(delayMs);
        typed(text, {}, delayMs);
        reviewLoosely(text, ReviewLevel{4, 4, 2, 0});
        clock.runUntilIdle();
        // Slow keys may cost some edits (their selections are not
        // confirmed in time), never the field's text.
        if (delayMs < 100) {
            EXPECT_EQ(field.text(), expected);
        }
        EXPECT_EQ(field.text(), buffer);
        EXPECT_TRUE(caretCollapsedAt(buffer.size()));
    }
}

TEST_F(Review, NotExactFixesAtLeastHalfOrTheLevelsMinimum)
{
    QList<std::pair<int, QString>> seven;
    for (int i = 0; i < 7; ++i)
        seven.append({4 + 13 * i, "z"});
    for (const auto &[minimum, fixed] : {std::pair{2, 3}, std::pair{12, 7}}) {
        typed(kText, seven);
        reviewLoosely(kText, ReviewLevel{minimum, 0, 0, 0});
        EXPECT_EQ(sim.log().count(Key::Backspace), fixed) << minimum;
        int left = 0;
        for (const auto &[index, wrong] : seven)
            left += field.text().mid(index, 1) == wrong;
        EXPECT_EQ(left, 7 - fixed) << minimum;
    }
}

TEST_F(Review, RetypesThatChangeNothingWaitForTheirKeysBeforeTheCaretMoves)
{
    // A retype of the same text reads the same before and after its keys
    // land: only the caret, collapsed where the last key leaves it, shows
    // they have. Keys a second late (longer than the whole retype), a
    // same-letter "typo" (nothing to fix) and the tail retyped as it stands:
    // the text stays exact, nothing lands elsewhere.
    const QString text = kText + QStringLiteral(" Then it was evening and the lights came on.");
    typed(text, twoTypos(), 1000);
    errors.append({30, text.mid(30, 1), text.mid(30, 1)});
    EndReviewArgs a = args(text);
    a.review = ReviewLevel{12, 0, 0, 12};
    a.allowClipboardOps = false; // a copy a second late would read nothing
    review(std::move(a));
    clock.runUntilIdle();
    EXPECT_EQ(field.text(), text);
    EXPECT_EQ(sim.log().count(Key::Backspace), 3) << "two typos and the tail's selection";
    EXPECT_TRUE(linesContain(QStringLiteral("retypeTail: count=12"))) << lines.join('\n').toStdString();
    EXPECT_TRUE(caretCollapsedAt(text.size()));
}

// The review's last select-all (the tail fix's check through a copy) leaves
// the whole text selected; where no caret write holds, its closing Right is
// what collapses that selection at the end, whether or not the selection
// can be read.
TEST_F(Review, WhereNoCaretWriteHoldsTheClosingRightCollapsesTheSelectAll)
{
    for (const bool selectionReadable : {true, false}) {
        SCOPED_TRACE(selectionReadable ? "selection readable" : "selection unreadable");
        typed(kText, {{90, "z"}});
        field.quirks().valueUnreadable = true;
        field.quirks().caretWritesIgnored = true;
        if (!selectionReadable)
            field.overrideRead(qv::platform::Attribute::SelectedTextRange, std::nullopt);
        lines.clear();
        // The review alone, without the end-of-run check that follows it.
        engine.allowClipboardOps = true;
        EndReview review(engine, args(kText));
        runTask(clock, review.run());
        engine.allowClipboardOps = false;
        EXPECT_TRUE(linesContain("endReview: tail fix applied")) << lines.join('\n').toStdString();
        EXPECT_EQ(field.text(), kText);
        EXPECT_TRUE(caretCollapsedAt(kText.size()));
        ASSERT_FALSE(sim.log().keys.empty());
        EXPECT_EQ(sim.log().keys.back().key, Key::Right);
        field.clearOverrides(qv::platform::Attribute::SelectedTextRange);
        field.quirks() = {};
    }
}

TEST_F(Review, AFixThatCannotTakeIsSeenAtOnceAndNotRetriedAtCost)
{
    // The application loses a Backspace, and the key after it, when that key
    // comes before the Backspace is handled: handled soon enough for the
    // review to see it land and wait for it, or later than it waits. Either
    // way no fix costs more than a few keys, and arrows never cross the text
    // back to its end.
    const struct {
        double handledMs;
        bool fixed;
        int maxKeys;
    } cases[] = {{100, true, 8}, {800, false, 10}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.handledMs);
        typed(kText, twoTypos());
        field.quirks().backspaceHandledAfterMs = c.handledMs;
        lines.clear();
        reviewLoosely(kText, ReviewLevel{12, 0, 0, 0});
        clock.runUntilIdle();
        field.quirks().backspaceHandledAfterMs = 0;
        EXPECT_EQ(field.text() == kText, c.fixed) << field.text().toStdString();
        EXPECT_LE(int(sim.log().keys.size()), c.maxKeys) << lines.join('\n').toStdString();
        // Learnt once, kept for the engine's later runs.
        EXPECT_EQ(linesContain(
                      "endReview: a Backspace and the key after it were lost, letting each deletion land first"),
                  c.fixed);
        EXPECT_EQ(linesContain("endReview: fixes do not take here, leaving the rest to the final repair"), !c.fixed);
    }
}

TEST_F(Review, OnceABackspaceIsSeenLostTheTailsRetypeWaitsForItsDeletionToo)
{
    // The fixes learn that the application loses a Delete with the key right
    // after it; the tail's retype deletes its selection the same way, and its
    // first key waits for that deletion as well, so the tail lands whole and
    // the final repair has nothing to retype.
    typed(kText, twoTypos());
    field.quirks().backspaceHandledAfterMs = 100;
    lines.clear();
    review(args(kText));
    clock.runUntilIdle();
    field.quirks().backspaceHandledAfterMs = 0;
    EXPECT_EQ(field.text(), kText);
    EXPECT_TRUE(linesContain("endReview: a Backspace and the key after it were lost, letting each deletion land first"));
    EXPECT_TRUE(linesContain("retypeTail: count=12")) << lines.join('\n').toStdString();
    EXPECT_FALSE(linesContain("retypeTail: tail failed")) << lines.join('\n').toStdString();
    EXPECT_FALSE(std::any_of(lines.begin(), lines.end(), [](const QString &l) {
        return l.startsWith(QLatin1String("finalizeExactMatch"));
    })) << lines.join('\n').toStdString();
}

TEST_F(Review, TyposAfterTextTheApplicationRewroteAreStillFound)
{
    // A tab typed as four spaces moves everything after it by three units:
    // the typos are found where the buffer's offsets now stand.
    field.quirks().afterInsert = [](qv::sim::EditState &state, const QString &inserted) {
        if (inserted == QLatin1String("\t")) {
            state.text.replace(state.selection.location - 1, 1, QStringLiteral("    "));
            state.selection.location += 3;
        }
    };
    const QString text = QStringLiteral("\t\t") + kText;
    typed(text, {{7, "w"}, {62, "x"}});
    reviewLoosely(text, ReviewLevel{12, 0, 0, 0});
    EXPECT_EQ(field.text(), QStringLiteral("        ") + kText);
}

TEST_F(Review, AFieldReadOtherwiseThanItHoldsIsJudgedByTheEditorsOwnCopy)
{
    // Accessibility reads a line break the field does not hold (a paragraph
    // that goes on on the next page, read as two) and the line break cannot
    // be selected: where the run may copy, the editor's own copy settles it
    // and nothing is reported off; where it may not, the field differs by
    // that one unit.
    const QString read = kText.left(45) + QLatin1Char('\n') + kText.mid(45);
    for (const bool mayCopy : {true, false}) {
        SCOPED_TRACE(mayCopy);
        typed(kText);
        field.overrideRead(qv::platform::Attribute::Value, QVariant(read));
        field.quirks().selectionWritesIgnored = true;
        lines.clear();
        EndReviewArgs a = args(kText);
        a.allowClipboardOps = mayCopy;
        review(std::move(a));
        field.clearOverrides(qv::platform::Attribute::Value);
        field.quirks() = {};
        EXPECT_EQ(field.text(), kText);
        EXPECT_EQ(linesContain("check: the editor's own copy holds nothing off, accessibility read 100 units for 99"),
                  mayCopy)
            << lines.join('\n').toStdString();
        EXPECT_EQ(std::any_of(lines.begin(), lines.end(),
                              [](const QString &l) { return l.startsWith(QLatin1String("outcome: field differs")); }),
                  !mayCopy);
        EXPECT_TRUE(caretCollapsedAt(kText.size()));
        EXPECT_EQ(sim.simPasteboard().peekItems(), userClipboard);
    }
}
