#include "platform/linux/OffsetUnits.h"

#include "core/Text.h"

#include <gtest/gtest.h>

namespace qv::linuxdesktop {
namespace {

using offsets::countedTwice;
using offsets::detect;
using offsets::fromUtf16;
using offsets::reportedSelection;
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

// Chromium's selection report counts its UTF-16 offsets into code points
// twice. The figures a Chromium textarea reported for this text.
TEST(OffsetUnits, ChromiumSelectionReportsMatchWhatTheBrowserSaid)
{
    const QString text = QStringLiteral(
        "Café — “déjà vu” 🇫🇷 👨‍👩‍👧 e\u0301 naïve.\nSecond line 👍🏽 ends here.");
    const qint64 flag = text.indexOf(QStringLiteral("🇫🇷"));
    const qint64 family = text.indexOf(QStringLiteral("👨"));
    ASSERT_EQ(flag, 17);
    EXPECT_EQ(countedTwice(text, flag), 17);
    EXPECT_EQ(countedTwice(text, flag + 4), 18) << "the flag read back as one unit";
    EXPECT_EQ(countedTwice(text, family), std::nullopt) << "the family's selection is not reported at all";
    EXPECT_EQ(countedTwice(text, 0), 0);
    // Whole text: 68 units, 61 code points, reported as 54.
    ASSERT_EQ(text.size(), 68);
    EXPECT_EQ(countedTwice(text, text.size()), 54);
}

// Every selection between two grapheme boundaries of a mixed text reads back
// as written: from a report counted twice (or lost), either way round, and
// from one counted once (as a browser that counts right would send it) when
// this program wrote it.
TEST(OffsetUnits, ChromiumSelectionReadsBackEveryRangeOfAMixedText)
{
    const QString text = QStringLiteral("a😀 🇫🇷b 👨‍👩‍👧 e\u0301 👍🏽c😀😀");
    const QList<int> bounds = text::graphemeBoundaries(text);
    const auto once = [&](qint64 u) { return *fromUtf16(text, u, OffsetUnit::CodePoints); };
    int lost = 0;
    for (int a : bounds) {
        for (int b : bounds) {
            if (a >= b)
                continue;
            SCOPED_TRACE(QStringLiteral("%1..%2").arg(a).arg(b).toStdString());
            const std::pair wanted{qint64(a), qint64(b)};
            // Counted once, as written by this program.
            EXPECT_EQ(reportedSelection(text, once(a), once(b), b, OffsetUnit::CodePoints, wanted), wanted);
            for (qint64 caret : {b, a}) {
                const auto ra = countedTwice(text, a);
                const auto rb = countedTwice(text, b);
                if (ra && rb) {
                    EXPECT_EQ(reportedSelection(text, *rb, *ra, caret, OffsetUnit::CodePoints, {}), wanted);
                    // A report that lost nothing is not overruled by the write.
                    EXPECT_EQ(reportedSelection(text, 0, 0, b, OffsetUnit::CodePoints, wanted), std::nullopt);
                }
            }
            if (countedTwice(text, a) && countedTwice(text, b))
                continue;
            ++lost;
            // Lost by the browser: the write stands while the caret is at its end.
            EXPECT_EQ(reportedSelection(text, 0, 0, b, OffsetUnit::CodePoints, wanted), wanted);
            EXPECT_EQ(reportedSelection(text, 0, 0, a, OffsetUnit::CodePoints, wanted), std::nullopt);
            EXPECT_EQ(reportedSelection(text, 0, 0, b, OffsetUnit::CodePoints, {}), std::nullopt);
        }
    }
    EXPECT_GT(lost, 0) << "the text has ranges the browser cannot report";
    // Where both units agree nothing changes; a UTF-16 application is read as is.
    EXPECT_EQ(reportedSelection(QStringLiteral("plain"), 1, 4, 4, OffsetUnit::CodePoints, {}),
              (std::pair<qint64, qint64>{1, 4}));
    EXPECT_EQ(reportedSelection(text, 1, 3, 3, OffsetUnit::Utf16, {}), (std::pair<qint64, qint64>{1, 3}));
}

// Gecko reports each astral character followed by a U+FEFF of its own, so
// that its offsets count the UTF-16 units of the real text.
TEST(OffsetUnits, DropsTheMarkGeckoPutsAfterEachAstralCharacterOnly)
{
    const QChar mark(0xFEFF);
    struct Case {
        QString reported;
        QString real;
        const char *what;
    };
    const QString smile = QStringLiteral("🙂");
    for (const Case &c : {
             Case{QStringLiteral("café — ok"), QStringLiteral("café — ok"), "no astral character"},
             Case{smile + mark + QStringLiteral(" ok"), smile + QStringLiteral(" ok"), "at the start"},
             Case{QStringLiteral("a ") + smile + mark, QStringLiteral("a ") + smile, "at the end"},
             Case{smile + mark + smile + mark, smile + smile, "two in a row"},
             Case{smile + mark + mark + QStringLiteral("x"), smile + mark + QStringLiteral("x"),
                  "the text's own mark after one stays"},
             Case{QString(mark) + QStringLiteral("x") + mark, QString(mark) + QStringLiteral("x") + mark,
                  "marks of the text's own elsewhere stay"},
             Case{QStringLiteral("👨") + mark + QStringLiteral("\u200d👩") + mark + QStringLiteral("x"),
                  QStringLiteral("👨\u200d👩x"), "each character of a sequence marked"},
             Case{QString(), QString(), "empty"},
         }) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(offsets::withoutAstralMarks(c.reported), c.real);
    }
}

TEST(OffsetUnits, WritesAreCutToTheTextsEndAndNeverSplitACharacter)
{
    // "a😀b\n": 5 UTF-16 units, 4 code points.
    const QString text = QStringLiteral("a😀b\n");
    using Range = std::optional<std::pair<qint64, qint64>>;
    struct Case {
        qint64 from;
        qint64 to;
        OffsetUnit unit;
        Range written;
        const char *what;
    };
    for (const Case &c : {
             Case{5, 5, OffsetUnit::Utf16, Range{{5, 5}}, "a caret at the end"},
             Case{6, 6, OffsetUnit::Utf16, Range{{5, 5}}, "a caret one unit past the end"},
             Case{6, 6, OffsetUnit::CodePoints, Range{{4, 4}}, "past the end, counted in code points"},
             Case{3, 9, OffsetUnit::Utf16, Range{{3, 5}}, "a selection running past the end"},
             Case{1, 3, OffsetUnit::CodePoints, Range{{1, 2}}, "the emoji"},
             Case{2, 2, OffsetUnit::Utf16, Range{}, "inside the emoji"},
             Case{0, 2, OffsetUnit::CodePoints, Range{}, "ending inside the emoji"},
             Case{-1, 2, OffsetUnit::Utf16, Range{}, "negative"},
             Case{3, 1, OffsetUnit::Utf16, Range{}, "reversed"},
         }) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(offsets::toWrite(text, c.from, c.to, c.unit), c.written);
    }
}

} // namespace
} // namespace qv::linuxdesktop
