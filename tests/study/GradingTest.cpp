#include "model/StudyItem.h"
#include "study/Grading.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::study;

namespace {
constexpr auto E = StudyGrading::exact;
constexpr auto L = StudyGrading::lenient;
constexpr auto V = StudyGrading::veryLenient;

QString u(const char *utf8) { return QString::fromUtf8(utf8); }
} // namespace

TEST(GradingTest, NormalizeTrimsLowersAndFiltersOnlyWhenLenient)
{
    EXPECT_EQ(normalize(u("  New-York\u00A0\n"), E), u("new-york"));
    EXPECT_EQ(normalize(u("New-York"), L), u("newyork"));
    EXPECT_EQ(normalize(u("Route 66!"), V), u("route66"));
    // A precomposed é disappears; a decomposed one leaves its e.
    EXPECT_EQ(normalize(u("caf\u00E9"), L), u("caf"));
    EXPECT_EQ(normalize(u("cafe\u0301"), L), u("cafe"));
    EXPECT_EQ(normalize(u("\u0391\u03B8\u03AE\u03BD\u03B1"), L), QString());
    EXPECT_EQ(normalize(u("\u0391\u03B8\u03AE\u03BD\u03B1"), E), u("\u03B1\u03B8\u03AE\u03BD\u03B1"));
    EXPECT_EQ(normalize(u("a\U0001F600b"), L), u("ab"));
}

struct GradeCase {
    const char *response;
    const char *correct;
    bool exact, lenient, veryLenient;
};

TEST(GradingTest, TableAtAllThreeLevels)
{
    const GradeCase cases[] = {
        {" Paris ", "paris", true, true, true},
        {"PARIS", "Paris", true, true, true},
        {"New-York", "New York", false, true, true},
        {"cats", "cat", false, true, true},
        {"recieve", "receive", false, false, true},
        {"abc", "xyz", false, false, false},
        {"", "anything", false, false, false},
        {"   ", "", false, false, false},
        {"?!", "?!", true, false, false},     // empty after filtering is never right
        {"a", "!!!", false, true, true},      // answer filters to empty: distance 1
        {"ab", "!!!", false, false, true},    // distance 2
        {"\u0391\u03B8\u03AE\u03BD\u03B1", "\u03B1\u03B8\u03AE\u03BD\u03B1", true, false, false}, // Greek: empty when lenient
    };
    for (const GradeCase &c : cases) {
        const QString r = u(c.response), k = u(c.correct);
        EXPECT_EQ(gradeAnswer(r, k, E), c.exact) << c.response << " / " << c.correct;
        EXPECT_EQ(gradeAnswer(r, k, L), c.lenient) << c.response << " / " << c.correct;
        EXPECT_EQ(gradeAnswer(r, k, V), c.veryLenient) << c.response << " / " << c.correct;
    }
}

TEST(GradingTest, LevenshteinCountsGraphemeClusters)
{
    EXPECT_EQ(levenshtein("", "abc"), 3);
    EXPECT_EQ(levenshtein("abc", ""), 3);
    EXPECT_EQ(levenshtein("kitten", "sitting"), 3);
    EXPECT_EQ(levenshtein("ab", "ba"), 2); // a transposition costs two
    // A flag and a family emoji are one character each.
    EXPECT_EQ(levenshtein(u("\U0001F1E9\U0001F1EA"), u("\U0001F1EB\U0001F1F7")), 1);
    EXPECT_EQ(levenshtein(u("x\U0001F468\u200D\U0001F469\u200D\U0001F467"), u("x")), 1);
    // A decomposed accent equals its precomposed form, also for exact grading.
    EXPECT_EQ(levenshtein(u("e\u0301t\u00E9"), u("\u00E9te\u0301")), 0);
    EXPECT_TRUE(gradeAnswer(u("cafe\u0301"), u("caf\u00E9"), E));
    EXPECT_TRUE(gradeAnswer(u("Cafe\u0301"), u("CAF\u00C9"), E));
    EXPECT_FALSE(gradeAnswer(u("cafe"), u("caf\u00E9"), E));
}

TEST(GradingTest, OnlyAPlainTrueOrFalseIsATrueFalseSide)
{
    for (const char *text : {"False ", " TRUE", "true"})
        EXPECT_TRUE(isTrueFalseText(text)) << text;
    for (const char *text : {"yes", "t", "true.", "truee", "Sky is green"})
        EXPECT_FALSE(isTrueFalseText(text)) << text;
}
