#include "core/Text.h"

#include <QDateTime>
#include <QLocale>

#include <gtest/gtest.h>

#include <algorithm>

namespace t = qv::text;

namespace {
const QString family = QString::fromUtf8(
    "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7"); // man ZWJ woman ZWJ girl
const QString flag = QString::fromUtf8("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA");      // regional indicators D E
const QString eCombining = QString::fromUtf8("e\xCC\x81");                       // e + combining acute
} // namespace

TEST(Text, ClustersOfCrlfCombiningMarksZwjSequencesAndFlags)
{
    const QString s = "a\r\nb" + eCombining + family + flag + "z";
    EXPECT_EQ(t::graphemeCount(s), 7);
    const QStringList g = t::graphemes(s);
    ASSERT_EQ(g.size(), 7);
    EXPECT_EQ(g[1], "\r\n");
    EXPECT_EQ(g[3], eCombining);
    EXPECT_EQ(g[4], family);
    EXPECT_EQ(g[5], flag);
    EXPECT_EQ(t::graphemeBoundaries(s),
              (QList<int>{0, 1, 3, 4, 6, 6 + int(family.size()), 6 + int(family.size() + flag.size()), int(s.size())}));
    EXPECT_EQ(t::graphemeCount(QString()), 0);
    EXPECT_EQ(t::graphemeBoundaries(QString()), QList<int>{0});
}

TEST(Text, MapsBetweenGraphemeIndexesAndUtf16Offsets)
{
    const QString s = "x" + family + "y";
    const int fam = int(family.size());
    EXPECT_EQ(t::offsetOfGrapheme(s, 0), 0);
    EXPECT_EQ(t::offsetOfGrapheme(s, 2), 1 + fam);
    EXPECT_EQ(t::offsetOfGrapheme(s, 3), s.size());
    EXPECT_EQ(t::offsetOfGrapheme(s, 99), s.size());
    EXPECT_EQ(t::offsetOfGrapheme(s, -1), 0);
    EXPECT_EQ(t::graphemeIndexAt(s, 1), 1);
    EXPECT_EQ(t::graphemeIndexAt(s, 3), 2); // inside the family: one grapheme started before
    EXPECT_EQ(t::graphemeIndexAt(s, int(s.size())), 3);
}

TEST(Text, MovesOffsetsInsideAClusterToItsBoundaries)
{
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString s = "ab" + smile + eCombining;
    EXPECT_EQ(t::boundaryAtOrBefore(s, 3), 2); // inside the surrogate pair
    EXPECT_EQ(t::boundaryAtOrAfter(s, 3), 4);
    EXPECT_EQ(t::boundaryAtOrBefore(s, 5), 4); // between e and its accent
    EXPECT_EQ(t::boundaryAtOrBefore(s, 4), 4);
    EXPECT_EQ(t::boundaryAtOrBefore(s, -3), 0);
    EXPECT_EQ(t::boundaryAtOrAfter(s, 100), s.size());
    EXPECT_FALSE(t::isGraphemeBoundary(s, 3));
    EXPECT_TRUE(t::isGraphemeBoundary(s, 6));
}

TEST(Text, BoundariesNearAnOffsetAgreeWithTheWholeTextAcrossLines)
{
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString de = QString::fromUtf8("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA");
    const QString fr = QString::fromUtf8("\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7");
    const QString s = "a" + smile + "\r\n" + eCombining + "\n\n" + de + fr + "\r" + family + "\r\nz\n";
    const QList<int> all = t::graphemeBoundaries(s);
    for (int offset = 0; offset <= s.size(); ++offset) {
        const int before = *(std::upper_bound(all.begin(), all.end(), offset) - 1);
        const int after = *std::lower_bound(all.begin(), all.end(), offset);
        EXPECT_EQ(t::boundaryAtOrBefore(s, offset), before) << offset;
        EXPECT_EQ(t::boundaryAtOrAfter(s, offset), after) << offset;
    }
}

TEST(Text, TrimsWhitespaceAndLineBreaksOnlyAtTheEnds)
{
    EXPECT_EQ(t::trimmed(QString::fromUtf8(" \t\r\n\xC2\xA0\xE2\x80\x83 a b\n\xE2\x80\xA8")), "a b");
    EXPECT_EQ(t::trimmed(QString("   ")), "");
    EXPECT_EQ(t::trimmed(QString::fromUtf8("\xF0\x9F\x98\x80 ")), QString::fromUtf8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(t::trimmed(QString::fromUtf8("\xE2\x80\x8B"
                                           "a")),
              QString::fromUtf8("\xE2\x80\x8B"
                                "a"))
        << "a zero-width space is not white space";
}

TEST(Text, ClassifiesClustersByTheirFirstScalar)
{
    for (const char *n : {"\xC2\xBD", "\xC2\xB2", "\xE2\x85\xAB", "7", "\xD9\xA3"})
        EXPECT_TRUE(t::isNumber(QString::fromUtf8(n))) << n;
    EXPECT_FALSE(t::isLetter(QString::fromUtf8("\xE2\x85\xAB")));
    EXPECT_TRUE(t::isLetter(eCombining));
    EXPECT_TRUE(t::isLetter(QString::fromUtf8("\xC3\x9F")));
    EXPECT_TRUE(t::isLetter(QString::fromUtf8("\xF0\x9D\x90\x80"))); // mathematical bold A, outside the BMP
    EXPECT_FALSE(t::isLetter(family));
    EXPECT_FALSE(t::isLetter(u"'"));
    EXPECT_TRUE(t::isUppercase(u"A"));
    EXPECT_TRUE(t::isUppercase(QString::fromUtf8("\xC3\x89")));
    EXPECT_FALSE(t::isUppercase(u"a"));
    EXPECT_TRUE(t::isWhitespace(u"\r\n"));
    EXPECT_TRUE(t::isNewline(u"\r\n"));
    EXPECT_TRUE(t::isWhitespace(QString::fromUtf8("\xC2\xA0")));
    EXPECT_FALSE(t::isNewline(u" "));
    EXPECT_EQ(t::codePointCount(family), 5);
}

TEST(Text, FlagsPairUpAfterAnEmojiSequenceAndInRuns)
{
    const QString de = QString::fromUtf8("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA");
    const QString fr = QString::fromUtf8("\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7");
    EXPECT_EQ(t::graphemes(family + de), (QStringList{family, de}));
    EXPECT_EQ(t::graphemes(de + fr + "x"), (QStringList{de, fr, "x"}));
    // A lone indicator at the end stays on its own.
    EXPECT_EQ(t::graphemeCount(de + fr.left(2)), 2);
}

TEST(AbbreviatedDateTimeTest, AbbreviatedMonthAndShortTimeWithoutSecondsInEveryLocale)
{
    const QDateTime when(QDate(2026, 12, 6), QTime(10, 15, 42), Qt::LocalTime);
    const QLocale locales[] = {QLocale::c(),
                               QLocale(QLocale::English, QLocale::UnitedStates),
                               QLocale(QLocale::English, QLocale::UnitedKingdom),
                               QLocale(QLocale::German, QLocale::Germany),
                               QLocale(QLocale::French, QLocale::France),
                               QLocale(QLocale::Japanese, QLocale::Japan),
                               QLocale(QLocale::Finnish, QLocale::Finland)};
    for (const QLocale &locale : locales) {
        const QString text = qv::text::abbreviatedDateTime(when, locale);
        const std::string name = locale.name().toStdString() + ": " + text.toStdString();
        EXPECT_FALSE(text.contains("42")) << name;  // no seconds
        EXPECT_TRUE(text.contains("2026")) << name; // the year
        EXPECT_TRUE(text.contains("15")) << name;   // the minutes
        EXPECT_FALSE(text.contains(locale.dayName(when.date().dayOfWeek(), QLocale::LongFormat))) << name; // no weekday
        const QString longMonth = locale.monthName(12, QLocale::LongFormat);
        const QString shortMonth = locale.monthName(12, QLocale::ShortFormat);
        EXPECT_TRUE(text.contains(shortMonth)) << name;
        if (longMonth != shortMonth) {
            EXPECT_FALSE(text.contains(longMonth)) << name;
        }
    }
    // The C locale spells it out plainly.
    EXPECT_EQ(qv::text::abbreviatedDateTime(when, QLocale::c()), "6 Dec 2026, 10:15");
}
