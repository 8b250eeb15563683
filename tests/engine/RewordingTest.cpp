#include "engine/Rewording.h"
#include "engine/WordKey.h"

#include "TestPrinters.h"

#include <gtest/gtest.h>

using namespace qv::engine;

TEST(Rewording, SentencesKeepLeadingSpaceAndDropTheOpenTail)
{
    EXPECT_EQ(matchingSentences("Hi. How are you? Fine"), (QStringList{"Hi.", " How are you?"}));
    EXPECT_EQ(matchingSentences("\nA!\n B."), (QStringList{"\nA!", "\n B."}));
    EXPECT_TRUE(matchingSentences("no mark").isEmpty());
    EXPECT_TRUE(matchingSentences("...").isEmpty());
}

TEST(Rewording, RewriteSentenceAppliesEachRuleOnce)
{
    EXPECT_EQ(rewriteSentence("  This is good. This works.  "), "That tends to be beneficial. That works.");
    EXPECT_EQ(rewriteSentence("It is big and it is bad."), "It tends to be substantial and it is bad.");
    // "This " only when the sentence begins with it; case matters.
    EXPECT_EQ(rewriteSentence("And This is it."), "And This tends to be it.");
    EXPECT_EQ(rewriteSentence("\tthis Is fine.\n"), "this Is fine.");
}

TEST(Rewording, WordSwapChangesAtMostTheFirstSwappableWord)
{
    EXPECT_EQ(applyWordSwap("a good, big  day"), "a beneficial, big day");
    // "Good" is chosen but keeps its capital; no later word is tried.
    EXPECT_EQ(applyWordSwap("Good  things are good"), "Good things are good");
    EXPECT_EQ(applyWordSwap("  nothing  to\tswap "), "  nothing  to\tswap ");
    EXPECT_EQ(applyWordSwap(""), "");
    EXPECT_EQ(applyWordSwap("(important)"), "(critical)");
    // A word glued to a line feed has no swappable key at its ends.
    EXPECT_EQ(applyWordSwap("bad\nday"), "bad\nday");
}

TEST(Rewording, FillersGoOnlyFromEvenPositionsOfLongTexts)
{
    EXPECT_EQ(removeFillers("it was really very nice today"), "it was very nice today");
    EXPECT_EQ(removeFillers("it was very nice today"), "it was very nice today");
    EXPECT_EQ(removeFillers("a  b  c  very  d  e"), "a b c very d e");
    EXPECT_EQ(removeFillers("Just so, it was just fine"), "so, it was just fine");
    EXPECT_EQ(removeFillers("well  very   short"), "well  very   short");
}

TEST(Rewording, TailWords)
{
    EXPECT_EQ(tailWords("a b c d", 2), "c d ");
    EXPECT_EQ(tailWords("a  b", 5), "a b ");
    EXPECT_EQ(tailWords("", 3), "");
    EXPECT_EQ(tailWords("a b", 0), "");
    EXPECT_EQ(tailWords("   ", 2), "");
}

TEST(Rewording, HeadingLines)
{
    EXPECT_TRUE(isHeadingLine("Intro\nRESULTS"));
    EXPECT_TRUE(isHeadingLine("Results:"));
    EXPECT_TRUE(isHeadingLine("2024"));
    EXPECT_TRUE(isHeadingLine("text\n  A.\t"));
    EXPECT_FALSE(isHeadingLine("Results"));
    EXPECT_FALSE(isHeadingLine("RESULTS\n"));
    EXPECT_FALSE(isHeadingLine(""));
    EXPECT_TRUE(isHeadingLine(QString(47, 'x') + ":"));
    EXPECT_FALSE(isHeadingLine(QString(48, 'x') + ":"));
    EXPECT_TRUE(isHeadingLine(QString(42, 'X')));
    EXPECT_FALSE(isHeadingLine(QString(43, 'X')));
    // Characters, not UTF-16 units: 42 flags are 42 characters.
    QString flags;
    for (int i = 0; i < 42; ++i)
        flags += QString::fromUtf8("🇫🇷");
    EXPECT_TRUE(isHeadingLine(flags));
}

TEST(Rewording, WordKeysKeepInnerPunctuationAndMarks)
{
    EXPECT_EQ(wordKey(u"‘Good,’"), "good");
    EXPECT_EQ(wordKey(u"don't"), "don't");
    EXPECT_EQ(wordKey(u"well-known."), "well-known");
    EXPECT_EQ(wordKey(QString::fromUtf8("cafe\u0301!")), QString::fromUtf8("cafe\u0301"));
    EXPECT_EQ(letterCore(QString::fromUtf8("cafe\u0301!")), "cafe");
    EXPECT_EQ(wordKey(u"123"), "");
}
