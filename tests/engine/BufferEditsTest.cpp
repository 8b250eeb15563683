#include "engine/BufferEdits.h"

#include "TestPrinters.h"

#include <gtest/gtest.h>

using namespace qv::engine;

namespace {
DeferredError err(int index, const QString &correct, const QString &wrong) { return {index, correct, wrong}; }
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
    const auto at = [](std::initializer_list<int> indexes) {
        QList<DeferredError> errors;
        for (int i : indexes)
            errors.append(err(i, "a", "s"));
        return errors;
    };
    const auto picked = [](const QList<DeferredError> &errors, int count) {
        QList<int> indexes;
        for (const DeferredError &e : selectErrors(errors, count))
            indexes.append(e.index);
        return indexes;
    };
    const QList<DeferredError> five = at({40, 10, 30, 0, 20});
    EXPECT_EQ(picked(five, 5), (QList<int>{0, 10, 20, 30, 40}));
    EXPECT_EQ(picked(five, 9), (QList<int>{0, 10, 20, 30, 40}));
    EXPECT_TRUE(picked(five, 0).isEmpty());
    EXPECT_TRUE(picked({}, 3).isEmpty());
    EXPECT_EQ(picked(at({6, 5, 4, 3, 2, 1, 0}), 3), (QList<int>{2, 4, 6}));
    EXPECT_EQ(picked(at({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), 3), (QList<int>{3, 6, 9}));
}

TEST(ApplyBufferEdit, ShiftsReanchorsOrDropsTheErrorsAndClampsItsArguments)
{
    using Errors = QList<DeferredError>;
    const struct {
        const char *what;
        QString buffer;
        Errors errors;
        int start, length;
        QString replacement;
        QString result;
        Errors after;
    } cases[] = {
        {"re-anchored inside the stretch",
         "hello world",
         {err(1, "a", "e"), err(8, "o", "r"), err(10, "x", "d")},
         6,
         5,
         "there",
         "hello there",
         {err(1, "a", "e"), err(9, "o", "r")}},
        {"later ones shifted",
         "abcdef",
         {err(1, "x", "b"), err(4, "x", "e"), err(5, "x", "f")},
         2,
         1,
         "CC",
         "abCCdef",
         {err(1, "x", "b"), err(5, "x", "e"), err(6, "x", "f")}},
        {"dropped by an empty replacement",
         "abcdef",
         {err(3, "x", "d"), err(5, "x", "f")},
         2,
         2,
         "",
         "abef",
         {err(3, "x", "f")}},
        // The nearest match must be closer than 4 units; on equal distances
        // the earlier position wins.
        {"match 4 units away", "aaaaaaa", {err(0, "x", "a")}, 0, 1, "bbbbz", "bbbbzaaaaaa", {}},
        {"match 3 units away", "a", {err(0, "x", "a")}, 0, 1, "bbba", "bbba", {err(3, "x", "a")}},
        {"tie", "xxx", {err(1, "x", "q")}, 0, 3, "qpq", "qpq", {err(0, "x", "q")}},
        {"clamped start and length", "abc", {err(0, "x", "a")}, -4, 99, "z", "z", {}},
        {"start past the end", "abc", {err(2, "x", "c")}, 10, 5, "d", "abcd", {err(2, "x", "c")}},
    };
    for (const auto &c : cases) {
        QString buffer = c.buffer;
        Errors errors = c.errors;
        applyBufferEdit(buffer, errors, c.start, c.length, c.replacement);
        EXPECT_EQ(buffer, c.result) << c.what;
        EXPECT_EQ(errors, c.after) << c.what;
    }
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
