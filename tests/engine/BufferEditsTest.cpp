#include "engine/BufferEdits.h"

#include "TestPrinters.h"

#include <gtest/gtest.h>

using namespace qv::engine;

namespace {
DeferredError err(int index, const QString &correct, const QString &wrong)
{
    return {index, correct, wrong};
}
} // namespace

TEST(FindErrorIndex, NearestOccurrenceWithEarlierOnTies)
{
    EXPECT_EQ(findErrorIndex("abcba", 2, "a"), 0);
    EXPECT_EQ(findErrorIndex("abcba", 0, "c"), 2);
    EXPECT_EQ(findErrorIndex("abcba", 9, "z"), 4);
    EXPECT_EQ(findErrorIndex("abcba", -3, "b"), 1);
    EXPECT_EQ(findErrorIndex("abcba", 3, "b"), 3);
    EXPECT_EQ(findErrorIndex("", 0, "a"), -1);
}

TEST(ApplyDeferredErrors, CorrectsOnlyAtTheExactIndex)
{
    EXPECT_EQ(applyDeferredErrors("hwllo", {}), "hwllo");
    EXPECT_EQ(applyDeferredErrors("hwllo wprld", {err(7, "o", "p"), err(1, "e", "w")}), "hello world");
    // The wrong letter is no longer at its index: correctly typed text that
    // happens to hold the same letter is left alone.
    EXPECT_EQ(applyDeferredErrors("hello world", {err(2, "a", "o")}), "hello world");
    EXPECT_EQ(applyDeferredErrors("abc", {err(3, "x", "c"), err(-1, "x", "a")}), "abc");
}

TEST(ApplyDeferredErrors, MultiUnitCorrectionsShiftLaterErrors)
{
    const QString decomposed = QString::fromUtf8("e\u0301");
    // "cafx xiu" → the first fix grows the text by one unit.
    const QString text = "cafx xiu";
    const QString fixed = applyDeferredErrors(text, {err(5, "o", "x"), err(3, decomposed, "x")});
    EXPECT_EQ(fixed, "caf" + decomposed + " oiu");
    // A wrong emoji (two units) corrected to a letter shifts left.
    const QString emoji = QString::fromUtf8("😀");
    EXPECT_EQ(applyDeferredErrors("a" + emoji + "cx", {err(1, "b", emoji), err(4, "d", "x")}), "abcd");
}

TEST(SelectErrors, SpreadsFromTheEnd)
{
    QList<DeferredError> five;
    for (int i : {40, 10, 30, 0, 20})
        five.append(err(i, "a", "s"));
    const auto all = selectErrors(five, 5);
    ASSERT_EQ(all.size(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(all[i].index, i * 10);
    EXPECT_EQ(selectErrors(five, 9).size(), 5);
    EXPECT_TRUE(selectErrors(five, 0).isEmpty());
    EXPECT_TRUE(selectErrors({}, 3).isEmpty());

    QList<DeferredError> seven, ten;
    for (int i = 6; i >= 0; --i)
        seven.append(err(i, "a", "s"));
    for (int i = 0; i < 10; ++i)
        ten.append(err(i, "a", "s"));
    const auto s7 = selectErrors(seven, 3);
    ASSERT_EQ(s7.size(), 3);
    EXPECT_EQ(s7[0].index, 2);
    EXPECT_EQ(s7[1].index, 4);
    EXPECT_EQ(s7[2].index, 6);
    const auto s10 = selectErrors(ten, 3);
    ASSERT_EQ(s10.size(), 3);
    EXPECT_EQ(s10[0].index, 3);
    EXPECT_EQ(s10[1].index, 6);
    EXPECT_EQ(s10[2].index, 9);
}

TEST(ApplyBufferEdit, ReanchorsErrorsInsideTheReplacedStretch)
{
    QString buffer = "hello world";
    QList<DeferredError> errors = {err(1, "a", "e"), err(8, "o", "r"), err(10, "x", "d")};
    applyBufferEdit(buffer, errors, 6, 5, "there");
    EXPECT_EQ(buffer, "hello there");
    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors[0], err(1, "a", "e"));
    EXPECT_EQ(errors[1], err(9, "o", "r"));
}

TEST(ApplyBufferEdit, ShiftsLaterErrorsAndDropsLostOnes)
{
    QString buffer = "abcdef";
    QList<DeferredError> errors = {err(1, "x", "b"), err(4, "x", "e"), err(5, "x", "f")};
    applyBufferEdit(buffer, errors, 2, 1, "CC");
    EXPECT_EQ(buffer, "abCCdef");
    EXPECT_EQ(errors[0].index, 1);
    EXPECT_EQ(errors[1].index, 5);
    EXPECT_EQ(errors[2].index, 6);

    // An empty replacement drops errors inside the stretch.
    buffer = "abcdef";
    errors = {err(3, "x", "d"), err(5, "x", "f")};
    applyBufferEdit(buffer, errors, 2, 2, "");
    EXPECT_EQ(buffer, "abef");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0].index, 3);

    // The nearest match must be closer than 4 units.
    buffer = "aaaaaaa";
    errors = {err(0, "x", "a")};
    applyBufferEdit(buffer, errors, 0, 1, "bbbbz");
    EXPECT_TRUE(errors.isEmpty());
    buffer = "a";
    errors = {err(0, "x", "a")};
    applyBufferEdit(buffer, errors, 0, 1, "bbba");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0].index, 3);
    // On equal distances the earlier position wins.
    buffer = "xxx";
    errors = {err(1, "x", "q")};
    applyBufferEdit(buffer, errors, 0, 3, "qpq");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0].index, 0);
}

TEST(ApplyBufferEdit, ClampsArguments)
{
    QString buffer = "abc";
    QList<DeferredError> errors = {err(0, "x", "a")};
    applyBufferEdit(buffer, errors, -4, 99, "z");
    EXPECT_EQ(buffer, "z");
    EXPECT_TRUE(errors.isEmpty());
    buffer = "abc";
    errors = {err(2, "x", "c")};
    applyBufferEdit(buffer, errors, 10, 5, "d");
    EXPECT_EQ(buffer, "abcd");
    EXPECT_EQ(errors[0].index, 2);
}

TEST(ReplaceChar, ReplacesOneUnitInsideTheText)
{
    EXPECT_EQ(replaceChar("abc", 1, "x"), "axc");
    EXPECT_EQ(replaceChar("abc", 3, "x"), "abc");
    EXPECT_EQ(replaceChar("abc", -1, "x"), "abc");
}

TEST(TailEdit, StartsOnAGraphemeBoundary)
{
    const QString flag = QString::fromUtf8("🇫🇷");
    const TailEdit whole = tailEdit("ab" + flag, 4, "x");
    EXPECT_EQ(whole.start, 2);
    EXPECT_EQ(whole.deleted, flag);
    EXPECT_EQ(whole.replacement, "x");
    // Two units of a four-unit flag cannot be deleted on their own.
    const TailEdit inside = tailEdit("ab" + flag, 2, "x");
    EXPECT_EQ(inside.start, 2);
    EXPECT_EQ(inside.deleted, flag);
    EXPECT_EQ(inside.replacement, flag.left(2) + "x");
    const QString thumb = QString::fromUtf8("👍🏽");
    const TailEdit split = tailEdit("a" + thumb, 1, "");
    EXPECT_EQ(split.start, 1);
    EXPECT_EQ(split.replacement, thumb.left(2));
    const TailEdit all = tailEdit("abc", 10, "");
    EXPECT_EQ(all.start, 0);
    EXPECT_EQ(all.deleted, "abc");
}
