#include "platform/linux/OffsetUnits.h"

#include <gtest/gtest.h>

namespace qv::linuxdesktop {
namespace {

using offsets::detect;
using offsets::fromUtf16;
using offsets::resolve;
using offsets::toUtf16;

// "a😀b" is 4 UTF-16 units and 3 code points.
const QString kEmoji = QStringLiteral("a😀b");

TEST(OffsetUnits, DetectsTheUnitFromTheReportedCharacterCount)
{
    EXPECT_EQ(detect(kEmoji, 4), OffsetUnit::Utf16);
    EXPECT_EQ(detect(kEmoji, 3), OffsetUnit::CodePoints);
    EXPECT_EQ(detect(kEmoji, 7), std::nullopt) << "a count that fits neither decides nothing";
    EXPECT_EQ(detect(QStringLiteral("plain é"), 7), std::nullopt) << "no astral character: both units agree";
    EXPECT_EQ(detect(QString(), 0), std::nullopt);
}

TEST(OffsetUnits, FallsBackToTheToolkitOnlyWhenUndecided)
{
    EXPECT_EQ(resolve(QStringLiteral("abc"), 3, QStringLiteral("Qt")), OffsetUnit::Utf16);
    EXPECT_EQ(resolve(QStringLiteral("abc"), 3, QStringLiteral("GTK")), OffsetUnit::CodePoints);
    EXPECT_EQ(resolve(QStringLiteral("abc"), 3, QStringLiteral("Chromium")), OffsetUnit::CodePoints);
    // The text wins over the toolkit's habit.
    EXPECT_EQ(resolve(kEmoji, 3, QStringLiteral("Qt")), OffsetUnit::CodePoints);
    EXPECT_EQ(resolve(kEmoji, 4, QStringLiteral("GTK")), OffsetUnit::Utf16);
}

TEST(OffsetUnits, ConvertsCodePointOffsetsToUtf16)
{
    const QString family = QStringLiteral("x👨‍👩‍👧y"); // 1 + 8 + 1 units, 1 + 5 + 1 code points
    EXPECT_EQ(toUtf16(kEmoji, 0, OffsetUnit::CodePoints), 0);
    EXPECT_EQ(toUtf16(kEmoji, 1, OffsetUnit::CodePoints), 1);
    EXPECT_EQ(toUtf16(kEmoji, 2, OffsetUnit::CodePoints), 3);
    EXPECT_EQ(toUtf16(kEmoji, 3, OffsetUnit::CodePoints), 4);
    EXPECT_EQ(toUtf16(family, 6, OffsetUnit::CodePoints), 9);
    EXPECT_EQ(toUtf16(kEmoji, 5, OffsetUnit::CodePoints), 6) << "past the end keeps its distance";
    EXPECT_EQ(toUtf16(kEmoji, -1, OffsetUnit::CodePoints), 0);
    EXPECT_EQ(toUtf16(kEmoji, 3, OffsetUnit::Utf16), 3);
}

TEST(OffsetUnits, ConvertsUtf16OffsetsAndRefusesTheMiddleOfASurrogatePair)
{
    EXPECT_EQ(fromUtf16(kEmoji, 1, OffsetUnit::CodePoints), 1);
    EXPECT_EQ(fromUtf16(kEmoji, 3, OffsetUnit::CodePoints), 2);
    EXPECT_EQ(fromUtf16(kEmoji, 4, OffsetUnit::CodePoints), 3);
    EXPECT_EQ(fromUtf16(kEmoji, 6, OffsetUnit::CodePoints), 5);
    EXPECT_EQ(fromUtf16(kEmoji, 2, OffsetUnit::CodePoints), std::nullopt);
    EXPECT_EQ(fromUtf16(kEmoji, 2, OffsetUnit::Utf16), std::nullopt) << "a Qt editor would split the emoji";
    EXPECT_EQ(fromUtf16(kEmoji, 3, OffsetUnit::Utf16), 3);
    EXPECT_EQ(fromUtf16(kEmoji, -1, OffsetUnit::Utf16), std::nullopt);
    // A combining mark is two code points, both reachable.
    const QString combined = QStringLiteral("e\u0301x");
    EXPECT_EQ(fromUtf16(combined, 1, OffsetUnit::CodePoints), 1);
    EXPECT_EQ(fromUtf16(combined, 2, OffsetUnit::CodePoints), 2);
}

TEST(OffsetUnits, RoundTripsEveryBoundaryOfAMixedText)
{
    const QString text = QStringLiteral("Ça 🇫🇷 e\u0301 👍🏽 “x” — 👨‍👩‍👧.");
    for (OffsetUnit unit : {OffsetUnit::CodePoints, OffsetUnit::Utf16}) {
        for (qint64 i = 0; i <= text.size(); ++i) {
            const auto app = fromUtf16(text, i, unit);
            if (!app) {
                EXPECT_TRUE(text.at(i).isLowSurrogate()) << i;
                continue;
            }
            EXPECT_EQ(toUtf16(text, *app, unit), i) << i;
        }
    }
}

} // namespace
} // namespace qv::linuxdesktop
