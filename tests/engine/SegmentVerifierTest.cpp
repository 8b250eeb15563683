// The check of the segment a run typed into a field that already held
// text: only the segment's differing middle is replaced, the text around it
// is never touched, and the caret ends after the segment.

#include "RepairFixture.h"

using namespace qv::engine;
using qv::platform::Attribute;
using qv::platform::Key;
using qv::platform::TextRange;
using qv::test::runTask;

namespace {
const QString kTarget = QStringLiteral("This is it.");

struct Segment : qv::test::RepairFixture {
    void verify(SegmentArgs args) { runTask(clock, finalizeInsertedSegment(engine, std::move(args))); }
    bool selected(TextRange range)
    {
        for (const auto &w : sim.log().writes)
            if (w.attribute == Attribute::SelectedTextRange && w.value.value<TextRange>() == range)
                return true;
        return false;
    }
};
} // namespace

TEST_F(Segment, SegmentEqualToTheTargetOnlyPlacesTheCaret)
{
    field.setText("Dear Sam, " + kTarget + " Best, Bo");
    verify(segmentArgs(10, kTarget));
    EXPECT_EQ(lines, QStringList{"finalizeInsertedSegment: insertionStart=10 typedLen=11 targetLen=11"});
    EXPECT_TRUE(sim.log().keys.empty());
    EXPECT_TRUE(caretCollapsedAt(21));
}

TEST_F(Segment, OneWrongPairIsRetypedAndTheTextAroundStays)
{
    // As it should be; with the selected text unreadable (then read through
    // the clipboard); with the first key landing wrong (found by the check
    // afterwards, and the segment retyped once).
    int keys = 0;
    for (int quirk = 0; quirk < 3; ++quirk) {
        field.setText("Dear Sam, Thsi is it. Best, Bo");
        sim.log().clear();
        field.quirks().selectedTextUnreadable = quirk == 1;
        if (quirk == 2)
            field.quirks().transform = [&keys](const QString &, const QString &typed) {
                return keys++ == 0 ? QStringLiteral("Z") : typed;
            };
        verify(segmentArgs(10, kTarget));
        EXPECT_EQ(field.text(), "Dear Sam, This is it. Best, Bo") << quirk;
        EXPECT_TRUE(caretCollapsedAt(21)) << quirk;
        EXPECT_TRUE(phases.isEmpty()) << quirk;
        EXPECT_EQ(sim.simPasteboard().peekItems(), userClipboard) << quirk;
        EXPECT_EQ(linesContain("finalizeInsertedSegment: post-verify mismatch, replacing segment"), quirk == 2);
        if (quirk == 0) {
            EXPECT_TRUE(selected({12, 2}));
            EXPECT_EQ(sim.log().typedText(), "is");
        }
    }
}

TEST_F(Segment, WithoutAHintTheStartComesFromTheCaret)
{
    field.setText("Dear Sam, Thsi is it.");
    verify(segmentArgs(std::nullopt, kTarget));
    EXPECT_EQ(lines.value(0), "finalizeInsertedSegment: insertionStart=10 typedLen=11 targetLen=11");
    EXPECT_EQ(field.text(), "Dear Sam, This is it.");

    lines.clear();
    field.setText("Thsi is it.");
    field.setCaret(5);
    verify(segmentArgs(std::nullopt, kTarget));
    EXPECT_EQ(lines.value(0), "finalizeInsertedSegment: insertionStart=0 typedLen=11 targetLen=11");
}

TEST_F(Segment, ExtraUnitsGoWithOneDeleteAndAnEmptySegmentGetsTheTarget)
{
    for (const auto &[before, typedLen, backspaces] : {std::tuple{"Dear This isxxx it.", 14, 1}, {"Dear ", 0, 0}}) {
        field.setText(before);
        sim.log().clear();
        SegmentArgs a = segmentArgs(5, kTarget);
        a.typedLen = typedLen;
        verify(std::move(a));
        EXPECT_EQ(field.text(), "Dear This is it.") << typedLen;
        EXPECT_EQ(sim.log().count(Key::Backspace), backspaces) << typedLen;
        EXPECT_TRUE(caretCollapsedAt(16)) << typedLen;
    }
}

TEST_F(Segment, UserTextAfterTheStartAndLowPrefixSegmentsAreLeftAlone)
{
    // A click moved the caret: the run's " there" went to the end, and the
    // segment at the recorded start is the user's " world". Then segments
    // with nothing in common with the target at their start.
    const struct {
        QString text;
        qint64 start;
        QString target;
        qint64 typedLen;
    } cases[] = {{"Hello world there", 5, " there", 6},
                 {"pre " + QString(10, 'q') + " post", 4, QString(40, 't'), 10},
                 {"pre " + QString(22, 'q') + " post", 4, QString(40, 't'), 22}};
    for (const auto &c : cases) {
        field.setText(c.text);
        lines.clear();
        SegmentArgs a = segmentArgs(c.start, c.target);
        a.typedLen = c.typedLen;
        verify(std::move(a));
        EXPECT_TRUE(linesContain("finalizeInsertedSegment: safety abort (low prefix match)")) << c.typedLen;
        EXPECT_EQ(field.text(), c.text);
        EXPECT_TRUE(caretCollapsedAt(c.start + c.typedLen)) << c.typedLen;
    }
    EXPECT_TRUE(sim.log().keys.empty());
}

TEST_F(Segment, AtMostFifteenPercentOfTheSegmentIsOverwritten)
{
    // Six differing units are 15 % of forty and repaired in place; seven
    // are more than a slip of the keys and the segment is left alone.
    const QString target(40, 't');
    for (const int differing : {6, 7}) {
        SCOPED_TRACE(differing);
        QString segment = target;
        segment.replace(10, differing, QString(differing, 'q'));
        field.setText("pre " + segment + " post");
        lines.clear();
        verify(segmentArgs(4, target));
        const bool refused = differing > 6;
        EXPECT_EQ(linesContain("finalizeInsertedSegment: safety abort (low prefix match)"), refused);
        EXPECT_EQ(field.text(), "pre " + (refused ? segment : target) + " post");
        EXPECT_TRUE(caretCollapsedAt(44));
    }
}

TEST_F(Segment, EmojiAtTheEdgeIsReplacedWhole)
{
    const QString target = QString::fromUtf8("Me 😃 too, and a few more words.");
    QString segment = target;
    segment.replace(QString::fromUtf8("😃"), QString::fromUtf8("😀"));
    field.setText("A: " + segment);
    verify(segmentArgs(3, target));
    EXPECT_EQ(field.text(), "A: " + target);
    EXPECT_TRUE(selected({6, 2}));
    EXPECT_EQ(sim.log().typedText(), QString::fromUtf8("😃"));
}

TEST_F(Segment, IgnoredSelectionWritesLeaveTheFieldAlone)
{
    field.quirks().selectionWritesIgnored = true;
    field.setText("Dear Sam, Thsi is it. Best, Bo");
    verify(segmentArgs(10, kTarget));
    EXPECT_EQ(field.text(), "Dear Sam, Thsi is it. Best, Bo");
    EXPECT_TRUE(sim.log().keys.empty());
}

TEST_F(Segment, GateWaitsForTheApplicationThePauseAndTheFocus)
{
    sim.setPointer(std::nullopt);
    const auto scenario = [&](auto hold, auto release) {
        field.setText("Dear Sam, Thsi is it.");
        phases.clear();
        sim.log().clear();
        const double start = clock.nowMs();
        hold();
        sim.at(start + 3000).run(release);
        verify(segmentArgs(10, kTarget));
        EXPECT_EQ(phases, (QStringList{"paused", "editing"}));
        ASSERT_FALSE(sim.log().keys.empty());
        EXPECT_GE(sim.log().keys.front().timeMs(), start + 3000);
        EXPECT_EQ(field.text(), "Dear Sam, This is it.");
        EXPECT_TRUE(allKeysInField());
    };
    scenario([&] { other.activate(); }, [&] { editor.activate(); });
    scenario([&] { pause = true; }, [&] { pause = false; });
    scenario([&] { button.focus(); }, [&] { field.focus(); });
}

TEST_F(Segment, StopAtAnyTimeLeavesNoHalfDoneEdit)
{
    // Three wrong units in a row: the most a segment repair may retype.
    const QString before = "Dear Sam, Thxyz is it. Best, Bo";
    const QString target = "Thank is it.";
    const QString after = "Dear Sam, Thank is it. Best, Bo";
    bool sawBefore = false, sawAfter = false;
    for (double t = 0; t < 1500; t += 13) {
        field.setText(before);
        stopAtMs = clock.nowMs() + t;
        verify(segmentArgs(10, target));
        ASSERT_TRUE(field.text() == before || field.text() == after) << t << ": " << field.text().toStdString();
        ASSERT_EQ(field.selection().length, 0) << t;
        sawBefore |= field.text() == before;
        sawAfter |= field.text() == after;
    }
    EXPECT_TRUE(sawBefore && sawAfter);
}

TEST_F(Segment, TheFinalCheckReadsTheSegmentUpToTheTextThatFollowedIt)
{
    // The application turns every "s" typed into "z", the repair's keys
    // included: the check cannot fix it, and the run is told how much
    // differs. Measured up to the text after the segment while it still
    // ends the field (one letter too many counts); once that text was
    // changed, the segment's own length is read.
    field.quirks().transform = [](const QString &, const QString &typed) {
        return typed == "s" ? QStringLiteral("z") : typed;
    };
    const struct {
        QString field;
        QString after;
        bool differs;
        std::optional<int> characters; // when known exactly
    } cases[] = {
        {"Dear This is it. Best", " Best", false, {}},
        {"Dear Thiz iz it. Best", " Best", true, 2},
        {"Dear Thiz is itt. Best", " Best", true, {}},
        {"Dear This is it. Bezt!", " Best", false, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.field.toStdString());
        field.setText(c.field);
        TypingEngine fresh(sim, clock, random);
        SegmentArgs a = segmentArgs(5, kTarget);
        a.typedLen = c.field.size() - c.after.size() - 5;
        a.textAfter = c.after;
        runTask(clock, finalizeInsertedSegment(fresh, std::move(a)));
        ASSERT_EQ(fresh.lastDifference().has_value(), c.differs);
        if (c.differs) {
            const std::optional<int> counted = fresh.lastDifference()->characters;
            EXPECT_GE(counted.value_or(0), 1);
            if (c.characters) {
                EXPECT_EQ(counted, c.characters);
            }
        }
    }
}

// With the field's text around the insertion point known, the check never
// selects any of it: the segment ends where the text after it begins, and
// once that text or the text in front changed inside, nothing is repaired.
TEST_F(Segment, TheTextAroundTheSegmentIsNeverSelected)
{
    const QString before = "Dear Sam, ";
    const QString after = " Best, Bo";
    struct Case {
        const char *name;
        QString live;
        bool caretMoved; // the run saw its caret away from its text
        QString fixed;   // the field afterwards
        const char *outcome;
    };
    const Case cases[] = {
        {"keys missing at the end", "Dear Sam, This is" + after, false, before + kTarget + after, "done"},
        {"a typo", "Dear Sam, Thsi is it." + after, false, before + kTarget + after, "done"},
        {"a typo, a letter behind corrected", "Dear Sam, Thsi is it. Bext, Bo", false, "Dear Sam, This is it. Bext, Bo",
         "done"},
        {"a typo, the user typed behind", "Dear Sam, Thsi is it. Best, Bo!", false, "Dear Sam, Thsi is it. Best, Bo!",
         "differs"},
        {"the user typed at its end", "Dear Sam, This is it.!!" + after, false, "Dear Sam, This is it.!!" + after,
         "differs"},
        {"keys after a click in front", "Dear is it.Sam, This" + after, true, "Dear is it.Sam, This" + after,
         "differs"},
        {"keys after a click behind", "Dear Sam, This is Best, it.Bo", true, "Dear Sam, This is Best, it.Bo",
         "differs"},
        {"keys after clicks in front and behind", "Deais r Sam, Th Best, it.Bo", true, "Deais r Sam, Th Best, it.Bo",
         "unchecked"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        field.setText(c.live);
        sim.log().clear();
        qv::engine::TypingEngine fresh(sim, clock, random);
        SegmentArgs a = segmentArgs(10, kTarget);
        a.textBefore = before;
        a.textAfter = after;
        a.caretMoved = c.caretMoved;
        runTask(clock, finalizeInsertedSegment(fresh, std::move(a)));
        EXPECT_EQ(field.text(), c.fixed);
        const QString outcome = fresh.lastDifference() ? "differs" : fresh.lastUncheckedReason() ? "unchecked" : "done";
        EXPECT_EQ(outcome, c.outcome);
    }
}
