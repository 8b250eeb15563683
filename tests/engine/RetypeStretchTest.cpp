// The stretches the in-flight edits delete and retype, measured exactly in
// the typed buffer.

#include "engine/RetypeStretch.h"

#include "TestPrinters.h"

#include <gtest/gtest.h>

using namespace qv::engine;

TEST(RetypeStretch, LastWordsStartAtTheFirstLetterOfTheKthLastWord)
{
    EXPECT_EQ(RetypeStretch::lastWordsStart("one two three four", 2), 8);
    EXPECT_EQ(RetypeStretch::lastWordsStart("one two three four", 9), 0);
    // No trailing space is assumed, and whatever white space separates the
    // words stays inside the stretch.
    EXPECT_EQ(RetypeStretch::lastWordsStart("one  two\tthree\nfour ", 3), 5);
    EXPECT_EQ(RetypeStretch::lastWordsStart("  one", 1), 2);
    EXPECT_EQ(RetypeStretch::lastWordsStart("   ", 1), 3);
    EXPECT_EQ(RetypeStretch::lastWordsStart("", 3), 0);
    EXPECT_EQ(RetypeStretch::lastWordsStart("a b", 0), 3);
    EXPECT_EQ(RetypeStretch::lastWordsStart(QString::fromUtf8("x 👍🏽 y"), 2), 2);
}

TEST(RetypeStretch, WordSwapChangesOnlyTheWordAndKeepsItsPunctuationAndSpacing)
{
    EXPECT_EQ(RetypeStretch::firstWordSwap("it was  bad, really"), (StretchEdit{8, 4, "detrimental,"}));
    EXPECT_EQ(RetypeStretch::firstWordSwap("\nsmall\tthings"), (StretchEdit{1, 5, "minimal"}));
    // A capitalised swap word is chosen and stays as it is; no later word is tried.
    EXPECT_EQ(RetypeStretch::firstWordSwap("Good and bad"), std::nullopt);
    EXPECT_EQ(RetypeStretch::firstWordSwap("nothing to swap here"), std::nullopt);
}

TEST(RetypeStretch, WordLettersLeaveWhatFollowedThem)
{
    // "(bad2)," typed: the word holds b, a, d, 2 at offsets 4..7.
    const QString buffer = "so (bad2),";
    EXPECT_EQ(RetypeStretch::wordLetters(buffer, "bad2", {4, 5, 6, 7}, "detrimental"),
              (StretchEdit{4, 3, "detrimental"}));
    EXPECT_EQ(RetypeStretch::wordLetters("so bad,", "bad", {3, 4, 5}, "detrimental"),
              (StretchEdit{3, 3, "detrimental"}));
    EXPECT_EQ(RetypeStretch::wordLetters("'bad", "'bad", {0, 1, 2, 3}, "x"), (StretchEdit{1, 3, "x"}));
    // Offsets that no longer point at the word: nothing is touched.
    EXPECT_EQ(RetypeStretch::wordLetters("so bad,", "bad", {2, 3, 4}, "x"), std::nullopt);
    EXPECT_EQ(RetypeStretch::wordLetters("so bad,", "bad", {3, 4}, "x"), std::nullopt);
    EXPECT_EQ(RetypeStretch::wordLetters("42", "42", {0, 1}, "x"), std::nullopt);
}

TEST(RetypeStretch, LastCompleteSentenceWithItsOwnStart)
{
    const auto s = RetypeStretch::lastSentence("Hi. How are you? Fine");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->start, 3);
    EXPECT_EQ(s->ownStart, 4);
    EXPECT_EQ(s->end, 16);
    EXPECT_EQ(s->withLeadingSpace(), " How are you?");
    const auto para = RetypeStretch::lastSentence("One.\n\n\tTwo!");
    ASSERT_TRUE(para);
    EXPECT_EQ(para->ownStart, 7);
    EXPECT_FALSE(RetypeStretch::lastSentence("no mark at all"));
}
