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
    field.setText("Dear Sam, Thsi is it. Best, Bo");
    verify(segmentArgs(10, kTarget));
    EXPECT_EQ(field.text(), "Dear Sam, This is it. Best, Bo");
    EXPECT_TRUE(selected({12, 2}));
    EXPECT_EQ(sim.log().typedText(), "is");
    EXPECT_TRUE(caretCollapsedAt(21));
    EXPECT_TRUE(phases.isEmpty());
    EXPECT_EQ(sim.simPasteboard().peekItems(), userClipboard);
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

TEST_F(Segment, ExtraUnitsAreDeletedWithOneDelete)
{
    field.setText("Dear This isxxx it.");
    SegmentArgs a = segmentArgs(5, kTarget);
    a.typedLen = 14;
    verify(std::move(a));
    EXPECT_EQ(field.text(), "Dear This is it.");
    EXPECT_EQ(sim.log().count(Key::Backspace), 1);
    EXPECT_TRUE(caretCollapsedAt(16));
}

TEST_F(Segment, EmptySegmentGetsTheTargetTyped)
{
    field.setText("Dear ");
    SegmentArgs a = segmentArgs(5, kTarget);
    a.typedLen = 0;
    verify(std::move(a));
    EXPECT_EQ(field.text(), "Dear This is it.");
    EXPECT_TRUE(caretCollapsedAt(16));
}

TEST_F(Segment, UserTextAfterTheStartIsNeverOverwritten)
{
    // A click moved the caret: the run's " there" went to the end, and the
    // segment at the recorded start is the user's " world".
    field.setText("Hello world there");
    verify(segmentArgs(5, " there"));
    EXPECT_TRUE(linesContain("finalizeInsertedSegment: safety abort (low prefix match)"));
    EXPECT_EQ(field.text(), "Hello world there");
    EXPECT_TRUE(sim.log().keys.empty());
    EXPECT_TRUE(caretCollapsedAt(11));
}

TEST_F(Segment, LowPrefixSegmentIsLeftAlone)
{
    const QString target(40, 't');
    for (const int length : {10, 22}) {
        const QString before = "pre " + QString(length, 'q') + " post";
        field.setText(before);
        lines.clear();
        SegmentArgs a = segmentArgs(4, target);
        a.typedLen = length;
        verify(std::move(a));
        EXPECT_TRUE(linesContain("finalizeInsertedSegment: safety abort (low prefix match)")) << length;
        EXPECT_EQ(field.text(), before);
        EXPECT_TRUE(caretCollapsedAt(4 + length));
    }
    EXPECT_TRUE(sim.log().keys.empty());
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

TEST_F(Segment, PostVerifyMismatchRetypesTheSegmentOnce)
{
    int keys = 0;
    field.quirks().transform = [&keys](const QString &, const QString &typed) {
        return keys++ == 0 ? QStringLiteral("Z") : typed; // the first key lands wrong
    };
    field.setText("Dear Sam, Thsi is it. Best, Bo");
    verify(segmentArgs(10, kTarget));
    EXPECT_TRUE(linesContain("finalizeInsertedSegment: post-verify mismatch, replacing segment"));
    EXPECT_EQ(field.text(), "Dear Sam, This is it. Best, Bo");
    EXPECT_TRUE(caretCollapsedAt(21));
}

TEST_F(Segment, ClipboardReadOfTheSegmentRestoresTheClipboard)
{
    field.quirks().selectedTextUnreadable = true;
    field.setText("Dear Sam, Thsi is it. Best, Bo");
    verify(segmentArgs(10, kTarget));
    EXPECT_EQ(field.text(), "Dear Sam, This is it. Best, Bo");
    EXPECT_EQ(sim.simPasteboard().peekItems(), userClipboard);
    EXPECT_TRUE(caretCollapsedAt(21));
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
