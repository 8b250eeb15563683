#include "editor/EditorRules.h"

#include "EditorFixture.h"

#include <gtest/gtest.h>

using namespace qv::editor;
using qv::test::words;

TEST(EditorRules, WordsAreRunsOfNonWhitespaceCharacters)
{
    EXPECT_EQ(wordCount(""), 0);
    EXPECT_EQ(wordCount(" \n\t\u2029 "), 0);
    EXPECT_EQ(wordCount("one"), 1);
    EXPECT_EQ(wordCount("  one\ttwo\n\nthree  "), 3);
    // A non-breaking space separates; a combining mark belongs to its letter.
    EXPECT_EQ(wordCount("a\u00A0b e\u0301"), 3);
}

TEST(EditorRules, TotalTimeAndHumanAverageLabels)
{
    for (auto [minutes, want] :
         {std::pair{8, "8m"}, {59, "59m"}, {60, "1h 0m"}, {125, "2h 5m"}, {360, "6h 0m"}, {0, "1m"}, {-9, "1m"}})
        EXPECT_EQ(totalTimeLabel(minutes), QString(want) + " TOTAL") << minutes;

    EXPECT_EQ(humanAvgTimeLabel(""), "Human avg: 0m");
    EXPECT_EQ(humanAvgTimeLabel("  \n "), "Human avg: 0m");
    // 38 words make 0.49 minutes, raised to 1; 116 make 1.506.
    for (auto [count, want] :
         {std::pair{38, "1m"}, {39, "1m"}, {116, "2m"}, {308, "4m"}, {4620, "1h 0m"}, {5005, "1h 5m"}})
        EXPECT_EQ(humanAvgTimeLabel(words(count)), QString("Human avg: ") + want) << count;
}

TEST(EditorRules, HintAndCapitals)
{
    EXPECT_EQ(smartHintText("Hello", "11", "medium", "balanced"),
              QString::fromUtf8("Suggested: Grade 11 \u2022 Medium \u2022 Balanced"));
    EXPECT_EQ(smartHintText(" \n ", "11", "medium", "balanced"), "");
    EXPECT_EQ(capitalized("HEAVY"), "Heavy");
    EXPECT_EQ(capitalized("very fast"), "Very Fast");
    EXPECT_EQ(capitalized(""), "");
}
