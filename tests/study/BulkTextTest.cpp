#include "study/BulkText.h"

#include <gtest/gtest.h>

using namespace qv::study;

namespace {
QList<BulkCard> parse(const QString &text, StudyDelimiter d = StudyDelimiter::Auto) { return parseBulkCards(text, d); }
BulkCard card(const char *term, const char *definition)
{
    return {QString::fromUtf8(term), QString::fromUtf8(definition)};
}
} // namespace

TEST(StudyDelimiterTest, RawValuesRoundTripExactly)
{
    for (StudyDelimiter d : allDelimiters())
        EXPECT_EQ(delimiterFromRawValue(rawValue(d)), d);
    for (const char *bad : {"tab", " Tab", ""})
        EXPECT_FALSE(delimiterFromRawValue(bad)) << bad;
}

TEST(BulkTextTest, AutoCutsEachLineByTheFirstTokenInAFixedOrder)
{
    EXPECT_EQ(*resolveDelimiter("a,b\tc", StudyDelimiter::Auto), QString("\t"));
    EXPECT_FALSE(resolveDelimiter("well-known", StudyDelimiter::Auto));
    EXPECT_EQ(*resolveDelimiter("no comma here", StudyDelimiter::Comma), QString(",")); // a fixed choice
    EXPECT_EQ(parse("cat\tanimal, pet"), QList<BulkCard>{card("cat", "animal, pet")});
    EXPECT_EQ(parse("Paris, France: capital city"), QList<BulkCard>{card("Paris, France", "capital city")});
    EXPECT_EQ(parse("a - first | second"), QList<BulkCard>{card("a", "first | second")});
    EXPECT_TRUE(parse("well-known").isEmpty());
    EXPECT_EQ(parse("x:1\ny;2\nz,3\np|4"),
              (QList<BulkCard>{card("x", "1"), card("y", "2"), card("z", "3"), card("p", "4")}));
}

TEST(BulkTextTest, EveryKindOfLineBreakSplitsAndBlankTextGivesNothing)
{
    const QList<BulkCard> expected{card("a", "1"), card("b", "2")};
    for (const QString &text :
         {QString("a,1\nb,2"), QString("a,1\r\nb,2\r\n"), QString("a,1\rb,2"), QString("\n\na,1\n\n\nb,2\n"),
          QString("a,1") + QChar(0x2028) + "b,2", QString("a,1") + QChar(0x2029) + "b,2",
          QString("a,1") + QChar(0x85) + "b,2", QString("a,1\vb,2\fc")})
        EXPECT_EQ(parse(text), expected) << text.toStdString();
    EXPECT_TRUE(parse("").isEmpty());
    EXPECT_TRUE(parse("  \n\t\n \u00A0 \n").isEmpty());
}

TEST(BulkTextTest, FixedChoicesDashSpacingAndEmptySides)
{
    EXPECT_TRUE(parse("a\tb:c", StudyDelimiter::Comma).isEmpty()); // other tokens are ignored
    EXPECT_EQ(parse("a:b,c:d", StudyDelimiter::Colon), QList<BulkCard>{card("a", "b,c:d")});
    EXPECT_TRUE(parse("well-known", StudyDelimiter::Dash).isEmpty()); // a dash needs a space on both sides
    EXPECT_TRUE(parse("a -b", StudyDelimiter::Dash).isEmpty());
    EXPECT_EQ(parse("term - one - two - three", StudyDelimiter::Dash),
              QList<BulkCard>{card("term", "one - two - three")});

    EXPECT_TRUE(parse("term,", StudyDelimiter::Comma).isEmpty());
    EXPECT_TRUE(parse("term ,   ", StudyDelimiter::Comma).isEmpty());
    EXPECT_TRUE(parse("term\t", StudyDelimiter::Tab).isEmpty());   // trimming removes the tab
    EXPECT_TRUE(parse("term - ", StudyDelimiter::Dash).isEmpty()); // and the spaced dash
    for (const char *line : {",def", ";def", ":def", "|def"})
        EXPECT_TRUE(parse(line).isEmpty()) << line;
    EXPECT_TRUE(parse(",def", StudyDelimiter::Comma).isEmpty());
    EXPECT_EQ(parse("good,one\n,bad\nalso,fine"), (QList<BulkCard>{card("good", "one"), card("also", "fine")}));
}

TEST(BulkTextTest, TrimmingHappensBeforeResolution)
{
    // A trailing tab is trimmed away, so the comma cuts the line.
    EXPECT_EQ(parse("term,definition\t"), QList<BulkCard>{card("term", "definition")});
    // A leading tab is not the delimiter either.
    EXPECT_EQ(parse("\tterm:definition"), QList<BulkCard>{card("term", "definition")});
    // A leading spaced dash is trimmed to "- ..." and no longer matches " - ".
    EXPECT_EQ(parse(" - term: def"), QList<BulkCard>{card("- term", "def")});
    // Two tabs: the empty piece becomes a leading tab of the definition and is trimmed.
    EXPECT_EQ(parse("term\t\tdefinition"), QList<BulkCard>{card("term", "definition")});
    // Inner spaces stay, ends go, non-breaking spaces included.
    EXPECT_EQ(parse(QString::fromUtf8("\u00A0big  cat , large   feline \u2003")),
              QList<BulkCard>{card("big  cat", "large   feline")});
}

TEST(BulkTextTest, NewCardsGetFreshIdsAndNoHistory)
{
    const QList<qv::StudyItem> first = parseBulkText("a,1\nb,2", StudyDelimiter::Auto);
    const QList<qv::StudyItem> second = parseBulkText("a,1\nb,2", StudyDelimiter::Auto);
    ASSERT_EQ(first.size(), 2);
    ASSERT_EQ(second.size(), 2);
    EXPECT_EQ(first[1].definition, QString("2"));
    EXPECT_NE(first[0].id, second[0].id);
    EXPECT_NE(first[0].id, first[1].id);
    EXPECT_FALSE(first[0].id.isNull());
    for (const qv::StudyItem &item : first) {
        EXPECT_EQ(item.correctCount, 0);
        EXPECT_EQ(item.incorrectCount, 0);
        EXPECT_FALSE(item.lastReviewedAt);
        EXPECT_FALSE(item.isStarred);
    }
}
