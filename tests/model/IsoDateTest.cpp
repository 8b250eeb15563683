#include "model/IsoDate.h"

#include "ModelFixtures.h"

#include <gtest/gtest.h>

namespace isodate = qv::isodate;
using qv::test::utc;

TEST(IsoDate, WritesWholeSecondsInUtcDroppingTheFractionOrNothing)
{
    EXPECT_EQ(isodate::format(utc(2025, 3, 1, 14, 5, 9, 999)), QStringLiteral("2025-03-01T14:05:09Z"));
    // A local time is written as the same instant in UTC.
    const QDateTime plusTwo(QDate(2025, 3, 1), QTime(16, 5, 9), Qt::OffsetFromUTC, 7200);
    EXPECT_EQ(isodate::format(plusTwo), QStringLiteral("2025-03-01T14:05:09Z"));
    // Before 1970 the fraction is still dropped, not rounded up.
    EXPECT_EQ(isodate::format(utc(1969, 12, 31, 23, 59, 59, 500)), QStringLiteral("1969-12-31T23:59:59Z"));
    EXPECT_EQ(isodate::format(utc(5, 1, 2, 3, 4, 5)), QStringLiteral("0005-01-02T03:04:05Z"));

    // Dates that cannot be written give nothing.
    EXPECT_FALSE(isodate::format(QDateTime()));
    EXPECT_FALSE(isodate::format(utc(10000, 1, 1, 0, 0, 0)));
}

TEST(IsoDate, ReadsTheWrittenFormAndItsVariantsOnly)
{
    EXPECT_EQ(isodate::parse(u"2025-03-01T14:05:09Z"), utc(2025, 3, 1, 14, 5, 9));
    EXPECT_EQ(isodate::parse(u"2025-03-01T14:05:09.5Z"), utc(2025, 3, 1, 14, 5, 9, 500));
    // Digits past milliseconds are dropped.
    EXPECT_EQ(isodate::parse(u"2025-03-01T14:05:09.123999Z"), utc(2025, 3, 1, 14, 5, 9, 123));
    EXPECT_EQ(isodate::parse(u"2025-03-01T16:05:09+02:00"), utc(2025, 3, 1, 14, 5, 9));
    EXPECT_EQ(isodate::parse(u"2025-03-01T09:35:09-0430"), utc(2025, 3, 1, 14, 5, 9));
    EXPECT_EQ(isodate::parse(u"2025-03-01T00:30:00+01:00"), utc(2025, 2, 28, 23, 30, 0));
    EXPECT_EQ(isodate::parse(u"2024-02-29t10:00:00z"), utc(2024, 2, 29, 10, 0, 0));
    const auto read = isodate::parse(u"2025-03-01T14:05:09Z");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->timeSpec(), Qt::UTC);

    for (const char16_t *bad :
         {u"2025-03-01", u"", u"yesterday", u"2025-03-01T14:05Z", u"2025-03-01T14:05:09", u"2025-03-01 14:05:09Z",
          u"2025-3-01T14:05:09Z", u"2025-02-30T14:05:09Z", u"2025-03-01T24:00:00Z", u"2025-03-01T14:60:00Z",
          u"2025-03-01T14:05:60Z", u"2025-03-01T14:05:09.Z", u"2025-03-01T14:05:09+2:00", u"2025-03-01T14:05:09+24:00",
          u"2025-03-01T14:05:09Z ", u" 2025-03-01T14:05:09Z", u"2025-03-01T14:05:09ZZ", u"+2025-03-01T14:05:09Z",
          u"２025-03-01T14:05:09Z",
          // Instants that could not be written back in four digits.
          u"0000-06-01T00:00:00Z", u"0001-01-01T00:30:00+01:00", u"9999-12-31T23:30:00-01:00"}) {
        EXPECT_FALSE(isodate::parse(bad)) << QString::fromUtf16(bad).toStdString();
    }
}
