#include "engine/Rewording.h"
#include "engine/WordKey.h"

#include "TestPrinters.h"

#include <gtest/gtest.h>

#include <random>

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

TEST(Rewording, FillersCarryingPunctuationStay)
{
    struct Case {
        const char *text;
        const char *expected;
    };
    const Case cases[] = {
        // Ends the sentence: the full stop stays, and so does the word.
        {"That one was not mine, not really.", "That one was not mine, not really."},
        // Ends a clause; the next bare filler at an even position goes.
        {"Just, as it was just a test", "Just, as it was a test"},
        {"a b (very c d e", "a b (very c d e"},
        {"a b \u201cjust\u201d c d e", "a b \u201cjust\u201d c d e"},
        // Case does not make a bare filler punctuated.
        {"Really it was a fine day", "it was a fine day"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(removeFillers(QString::fromUtf8(c.text)), QString::fromUtf8(c.expected)) << c.text;
}

namespace {

// The punctuation of a text, in order (every Unicode punctuation character).
QString punctuationOf(const QString &text)
{
    QString marks;
    for (const QChar c : text)
        if (c.isPunct())
            marks += c;
    return marks;
}

// A sentence of random words (fillers, swappable words, "This", "is" and
// plain ones) with punctuation glued to either end and uneven spacing.
QString randomSentence(std::mt19937 &rng)
{
    static const QStringList words = {
        "really", "Really", "basically", "actually", "just",      "Just",        "very",       "good",
        "Good",   "bad",    "big",       "small",    "important", "interesting", "This",       "is",
        "it",     "was",    "mine",      "keeper",   "not",       "don't",       "well-known", "caf\u00e9",
    };
    static const QStringList before = {"", "", "", "(", "\u201c", "\"", "'", "\u2014", "\n"};
    static const QStringList after = {"",  "",  "",       "",  ".",      ",",   ";",      ":",
                                      "!", "?", "\u2026", ")", "\u201d", ".\"", "\u2014", "\t"};
    static const QStringList gaps = {" ", " ", " ", "  ", "\n", " \n "};
    const auto pick = [&rng](const QStringList &from) {
        return from.at(std::uniform_int_distribution<qsizetype>(0, from.size() - 1)(rng));
    };
    QString sentence = pick(gaps);
    const int count = std::uniform_int_distribution<int>(1, 14)(rng);
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            sentence += pick(gaps);
        sentence += pick(before) + pick(words) + pick(after);
    }
    return sentence + pick({".", "!", "?", "", "  "});
}

} // namespace

TEST(Rewording, NoRewordingRemovesOrAddsPunctuation)
{
    const std::pair<const char *, QString (*)(const QString &)> rules[] = {
        {"removeFillers", removeFillers},
        {"applyWordSwap", applyWordSwap},
        {"rewriteSentence", rewriteSentence},
        {"sentence rethink", [](const QString &s) { return rewriteSentence(removeFillers(s)); }},
    };
    std::mt19937 rng(41);
    for (int round = 0; round < 5000; ++round) {
        const QString sentence = randomSentence(rng);
        for (const auto &[name, rule] : rules)
            ASSERT_EQ(punctuationOf(rule(sentence)), punctuationOf(sentence))
                << name << " of \"" << sentence.toStdString() << '"';
    }
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
