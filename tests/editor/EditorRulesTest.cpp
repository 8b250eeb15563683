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
    EXPECT_EQ(totalTimeLabel(8), "8m TOTAL");
    EXPECT_EQ(totalTimeLabel(59), "59m TOTAL");
    EXPECT_EQ(totalTimeLabel(60), "1h 0m TOTAL");
    EXPECT_EQ(totalTimeLabel(125), "2h 5m TOTAL");
    EXPECT_EQ(totalTimeLabel(360), "6h 0m TOTAL");
    EXPECT_EQ(totalTimeLabel(0), "1m TOTAL");
    EXPECT_EQ(totalTimeLabel(-9), "1m TOTAL");

    EXPECT_EQ(humanAvgTimeLabel(""), "Human avg: 0m");
    EXPECT_EQ(humanAvgTimeLabel("  \n "), "Human avg: 0m");
    EXPECT_EQ(humanAvgTimeLabel(words(38)), "Human avg: 1m"); // 0.49 rounds to 0, raised to 1
    EXPECT_EQ(humanAvgTimeLabel(words(39)), "Human avg: 1m");
    EXPECT_EQ(humanAvgTimeLabel(words(116)), "Human avg: 2m"); // 1.506
    EXPECT_EQ(humanAvgTimeLabel(words(308)), "Human avg: 4m");
    EXPECT_EQ(humanAvgTimeLabel(words(4620)), "Human avg: 1h 0m");
    EXPECT_EQ(humanAvgTimeLabel(words(5005)), "Human avg: 1h 5m");
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
