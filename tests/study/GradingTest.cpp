#include "study/Grading.h"
#include "model/StudyItem.h"

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
    // Letters and numbers of every script stay, lower-cased; combining marks,
    // symbols, punctuation and spaces go.
    EXPECT_EQ(normalize(u("caf\u00E9"), L), u("caf\u00E9"));
    EXPECT_EQ(normalize(u("cafe\u0301"), L), u("cafe"));
    EXPECT_EQ(normalize(u("\u0391\u03B8\u03AE\u03BD\u03B1"), L), u("\u03B1\u03B8\u03AE\u03BD\u03B1"));
    EXPECT_EQ(normalize(u("\u041C\u043E\u0441\u043A\u0432\u0430, \u0420\u043E\u0441\u0441\u0438\u044F"), V),
              u("\u043C\u043E\u0441\u043A\u0432\u0430\u0440\u043E\u0441\u0441\u0438\u044F"));
    EXPECT_EQ(normalize(u("\u6771\u4EAC\u3002"), L), u("\u6771\u4EAC"));
    EXPECT_EQ(normalize(u("\U00020BB7\u91CE\u5BB6"), L), u("\U00020BB7\u91CE\u5BB6")); // beyond the basic plane
    EXPECT_EQ(normalize(u("\u0661\u0662 \u00BD"), L), u("\u0661\u0662\u00BD"));
    EXPECT_EQ(normalize(u("a\U0001F600b \u20AC"), L), u("ab"));
}

struct GradeCase {
    const char *response;
    const char *correct;
    bool exact, lenient, veryLenient;
};

template <std::size_t N>
void expectAtAllLevels(const GradeCase (&cases)[N])
{
    for (const GradeCase &c : cases) {
        const QString r = u(c.response), k = u(c.correct);
        EXPECT_EQ(gradeAnswer(r, k, E), c.exact) << c.response << " / " << c.correct;
        EXPECT_EQ(gradeAnswer(r, k, L), c.lenient) << c.response << " / " << c.correct;
        EXPECT_EQ(gradeAnswer(r, k, V), c.veryLenient) << c.response << " / " << c.correct;
    }
}

TEST(GradingTest, TableAtAllThreeLevels)
{
    const GradeCase cases[] = {
        {" Paris ", "paris", true, true, true},      {"PARIS", "Paris", true, true, true},
        {"New-York", "New York", false, true, true}, {"cats", "cat", false, true, true},
        {"recieve", "receive", false, false, true},  {"abc", "xyz", false, false, false},
        {"", "anything", false, false, false},       {"   ", "", false, false, false},
        {"?!", "!?", false, false, false}, // a correct answer of symbols only is compared exactly
        {"a", "!!!", false, false, false},           {"ab", "!!!", false, false, false},
    };
    expectAtAllLevels(cases);
}

// The lenient levels are never stricter than exact, in any script.
TEST(GradingTest, AnswersInEveryScript)
{
    const GradeCase cases[] = {
        {"\u03BD\u03B5\u03C1\u03CC", "\u03BD\u03B5\u03C1\u03CC", true, true, true},    // Greek
        {"\u039D\u0395\u03A1\u038C", "\u03BD\u03B5\u03C1\u03CC", true, true, true},    // Greek capitals
        {"\u03BD\u03B5\u03C1\u03BF", "\u03BD\u03B5\u03C1\u03CC", false, true, true},   // missing tonos
        {"\u03BD\u03B5", "\u03BD\u03B5\u03C1\u03CC", false, false, true},              // two short
        {"\u0432\u043E\u0434\u0430!", "\u0412\u043E\u0434\u0430", false, true, true},  // Cyrillic, punctuation
        {"\u0445\u043B\u0435\u0431", "\u0432\u043E\u0434\u0430", false, false, false}, // another word
        {"\u6C34", "\u6C34", true, true, true},                                        // CJK
        {"\u6C34\u3002", "\u6C34", false, true, true},
        {"\u706B\u5C71", "\u6C34\u9053", false, false, true}, // two different ideographs
        {"\u706B\u5C71\u53E3", "\u6C34\u9053", false, false, false},
        {"\u0645\u0627\u0621", "\u0645\u0627\u0621", true, true, true},              // Arabic
        {"\u0645\u064E\u0627\u0621", "\u0645\u0627\u0621", false, true, true},       // with a vowel mark
        {"\u05DE\u05D9\u05DD", "\u05DE\u05D9\u05DD", true, true, true},              // Hebrew
        {"\u05DE\u05B7\u05D9\u05B4\u05DD", "\u05DE\u05D9\u05DD", false, true, true}, // with points
        {"caf\u00E9", "cafe\u0301", true, true, true},                               // precomposed / decomposed
        {"Cr\u00E8me br\u00FBl\u00E9e", "creme brulee", false, false, false},        // three accents: three edits
        {"Cr\u00E8me brul\u00E9e", "creme brulee", false, false, true},
        {"\u00C9T\u00C9", "\u00E9t\u00E9", true, true, true},
        {"x", "\u03BD\u03B5\u03C1\u03CC", false, false, false},         // one Latin letter is no answer
        {"Tokyo \u6771\u4EAC", "tokyo\u6771\u4EAC", false, true, true}, // mixed
        {"\u3002\uFF01", "\u3002\uFF01", true, true, true},             // only punctuation
    };
    expectAtAllLevels(cases);
}

// An answer with no letter or digit leaves nothing at a lenient level, so it
// is compared exactly: the answer itself is right, any letter is not.
TEST(GradingTest, SymbolOnlyAnswersCompareExactlyAtEveryLevel)
{
    const GradeCase cases[] = {
        {"\u2260", "\u2260", true, true, true}, // not equal
        {" + ", "+", true, true, true},         // trimmed
        {"%", "%", true, true, true},
        {"\u2192", "\u2192", true, true, true},         // arrow
        {"\U0001F600", "\U0001F600", true, true, true}, // emoji
        {"?!", "?!", true, true, true},
        {"x", "\u2260", false, false, false}, // one letter is no longer enough
        {"=", "\u2260", false, false, false},
        {"?", "?!", false, false, false},    // no edit distance at the exact level
        {"", "\u2260", false, false, false}, // still nothing typed
        {"  ", "?!", false, false, false},
        {"\u2260 a", "\u2260", false, false, false},
    };
    expectAtAllLevels(cases);
}

// Capital sigma lower-cases to its final form at the end of a word.
TEST(GradingTest, FinalSigmaFollowsTheDefaultCaseMapping)
{
    EXPECT_EQ(lowerCased(u("\u039F\u0394\u039F\u03A3")), u("\u03BF\u03B4\u03BF\u03C2"));
    EXPECT_EQ(lowerCased(u("\u03A3\u039F\u03A6\u039F\u03A3 \u039F\u0394\u039F\u03A3.")),
              u("\u03C3\u03BF\u03C6\u03BF\u03C2 \u03BF\u03B4\u03BF\u03C2."));
    EXPECT_EQ(lowerCased(u("\u03A3")), u("\u03C3"));                                // alone: no letter before it
    EXPECT_EQ(lowerCased(u("\u0391\u03A3\u0391")), u("\u03B1\u03C3\u03B1"));        // inside a word
    EXPECT_EQ(lowerCased(u("\u0391\u03A3\u0301")), u("\u03B1\u03C2\u0301"));        // a mark after it is ignored
    EXPECT_EQ(lowerCased(u("\u0391\u03A3'\u0391")), u("\u03B1\u03C3'\u03B1"));      // an apostrophe inside a word
    EXPECT_EQ(lowerCased(u("\u0130STANBUL")), QString::fromUtf8("i\u0307stanbul")); // other full mappings kept

    const GradeCase cases[] = {
        {"\u03BF\u03B4\u03BF\u03C2", "\u039F\u0394\u039F\u03A3", true, true, true},
        {"\u039F\u0394\u039F\u03A3", "\u03BF\u03B4\u03BF\u03C2", true, true, true},
        {"\u039F\u0394\u039F\u03A3", "\u039F\u0394\u039F\u03A3", true, true, true},
        {"\u03BF\u03B4\u03BF\u03C3", "\u039F\u0394\u039F\u03A3", false, true, true}, // medial form: one edit
        {"\u03BF\u03B4\u03BF\u03C2 \u03C3\u03BF\u03C6\u03BF\u03C2",
         "\u039F\u0394\u039F\u03A3 \u03A3\u039F\u03A6\u039F\u03A3", true, true, true},
    };
    expectAtAllLevels(cases);
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
