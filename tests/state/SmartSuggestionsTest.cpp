#include "state/SmartSuggestions.h"

#include <gtest/gtest.h>

using namespace qv::state;
using namespace qv::state::smart;

namespace {
const StoredDefaults kDefaults;

QString repeatedWords(const QString &word, int count)
{
    QStringList words;
    for (int i = 0; i < count; ++i)
        words << word;
    return words.join(' ');
}
} // namespace

TEST(SmartSuggestions, BlankTextGivesTheStoredDefaults)
{
    const SmartProfile p = smartDefaults(" \n\t \n", kDefaults);
    EXPECT_EQ(p, (SmartProfile{"12", "medium", std::nullopt, "Draft", 0, "balanced"}));
    EXPECT_EQ(smartReason(" \n \n"), "Defaults selected from your preferences.");

    const StoredDefaults stored{"10", "heavy", "timed"};
    EXPECT_EQ(smartDefaults("", stored), (SmartProfile{"10", "heavy", std::nullopt, "Draft", 0, "timed"}));
}

TEST(SmartSuggestions, PredictedMinutesFollowThePresetRate)
{
    EXPECT_EQ(smartDefaults(QString(400, 'a'), kDefaults).predictedMinutes, 1);
    EXPECT_EQ(smartDefaults(QString(401, 'a'), kDefaults).predictedMinutes, 2);
    // Blanks do not count, and a trimmed text keeps at least one minute.
    EXPECT_EQ(smartDefaults(repeatedWords("aaaa", 100), kDefaults).predictedMinutes, 1);
    EXPECT_EQ(smartDefaults(QString(495, 'a'), {"12", "medium", "timed"}).predictedMinutes, 2);
    EXPECT_EQ(smartDefaults(QString(494, 'a'), {"12", "medium", "timed"}).predictedMinutes, 1);
    EXPECT_EQ(smartDefaults(QString(323, 'a'), {"12", "medium", "accurate"}).predictedMinutes, 2);
    // Any other stored preset is returned unchanged and uses the balanced rate.
    const SmartProfile odd = smartDefaults(QString(401, 'a'), {"12", "medium", "turbo"});
    EXPECT_EQ(odd.preset, "turbo");
    EXPECT_EQ(odd.predictedMinutes, 2);
}

TEST(SmartSuggestions, ReviewLevelAndReasonByCharacterCount)
{
    const QString at1800 = repeatedWords(QString(10, 'x'), 180); // 1800 characters, 180 words
    const QString at5200 = repeatedWords(QString(10, 'x'), 520); // 5200
    const QString above = at5200 + QStringLiteral(" y");         // 5201
    EXPECT_EQ(smartDefaults(at1800.left(at1800.size() - 1), kDefaults).review, "light");
    EXPECT_EQ(smartDefaults(at1800, kDefaults).review, "medium");
    EXPECT_EQ(smartDefaults(at5200, kDefaults).review, "heavy");
    EXPECT_EQ(smartReason(at5200), "Complex wording suggests a higher grade profile.");
    EXPECT_EQ(smartReason(above), "High character count detected, so review is heavier and timing is extended.");

    const QString plain = repeatedWords("abcde", 400); // 2000 characters, 400 words, mean 5
    EXPECT_EQ(smartReason(plain), "Balanced profile based on character length, sentence structure, and complexity.");
    EXPECT_EQ(smartReason(repeatedWords("abcde", 200)), "Short response detected, so review is lighter.");
}

TEST(SmartSuggestions, GradeFromTheScore)
{
    // One long word: wording term at its cap 1.4 plus 400/2200 gives 1.58.
    EXPECT_EQ(smartDefaults(QString(400, 'a'), kDefaults).grade, "10");
    // A short plain sentence stays at the bottom.
    EXPECT_EQ(smartDefaults("I remember my story.", kDefaults).grade, "9");
    // 520 ten-letter words in one sentence: 2.364 + 1.4 + 1.2 = 4.96.
    const SmartProfile big = smartDefaults(repeatedWords(QString(10, 'q'), 520) + '.', kDefaults);
    EXPECT_EQ(big.grade, "12");
    EXPECT_EQ(big.essayType, "Essay");
    EXPECT_EQ(big.predictedMinutes, 13);
    // Markers lift the score: 0.18 per analysis or exposition marker (cap 0.8), 0.15 per argument marker.
    const QString markers = "impact theme symbol contrast explain steps because must should evidence "
                            + repeatedWords("zzzzz", 12) + ".";
    const SmartProfile lifted = smartDefaults(markers, kDefaults);
    // 123/2200 + 0.7 x 1.39 + 1.2 (22 words, one sentence) + 0.8 (six, capped) + 0.6 (four) = 3.63
    EXPECT_EQ(lifted.grade, "12");
    // Eight marker words of mean length 7.25, one per sentence: 1.4 + 0.72 + 0.6 + 0.03 = 2.75.
    EXPECT_EQ(smartDefaults("impact. theme. symbol. contrast. must. should. evidence. because.", kDefaults).grade,
              "11");
}

TEST(SmartSuggestions, EssayTypeRulesInOrder)
{
    EXPECT_EQ(smartDefaults("We must argue because it matters.", kDefaults).essayType, "Argumentative");
    EXPECT_EQ(smartDefaults("Analysis of theme and symbol; therefore done.", kDefaults).essayType, "Argumentative");
    EXPECT_EQ(smartDefaults("An analysis of the theme and its symbol.", kDefaults).essayType, "Analytical");
    EXPECT_EQ(smartDefaults("I remember my story.", kDefaults).essayType, "Narrative");
    EXPECT_EQ(smartDefaults("Explain the steps and describe them.", kDefaults).essayType, "Expository");
    EXPECT_EQ(smartDefaults("Plain words only.", kDefaults).essayType, "Short response");
    EXPECT_EQ(smartDefaults(repeatedWords("plain", 250), kDefaults).essayType, "Essay");
}

TEST(SmartSuggestions, WordsMarkersAndCharactersAreCountedAsWritten)
{
    EXPECT_EQ(countMatches("musty", argumentMarkers()), 1);
    EXPECT_EQ(countMatches("hi there", narrativeMarkers()), 1);
    EXPECT_EQ(countMatches("must must must", argumentMarkers()), 1);
    // Matching is on the lowercased text.
    EXPECT_EQ(smartDefaults("THEREFORE", kDefaults).essayType, "Argumentative");

    // Punctuation-only text is one word without sentences.
    const SmartProfile p = smartDefaults("?!.", kDefaults);
    EXPECT_EQ(p.title, QString("?!."));
    EXPECT_EQ(p.grade, "9");
    EXPECT_EQ(p.predictedMinutes, 1);
    EXPECT_EQ(nonWhitespaceCount("?!."), 3);

    // A family emoji and an e with a combining accent count as one character each.
    EXPECT_EQ(nonWhitespaceCount(QString::fromUtf8("\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9 e\xCC\x81\r\n")), 2);
}

TEST(SmartSuggestions, TitleIsUpToSixWordsOfTheFirstLine)
{
    EXPECT_EQ(smartDefaults("one two three four five six seven eight nine ten\nbody", kDefaults).title,
              QString("one two three four five six"));
    EXPECT_EQ(smartDefaults("  Solo\nsecond line words", kDefaults).title, QString("Solo"));
    EXPECT_EQ(smartDefaults("a\t\tb  c\nd", kDefaults).title, QString("a b c"));
}
