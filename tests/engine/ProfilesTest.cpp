#include "engine/Profiles.h"
#include "engine/WordTables.h"

#include "RecordingRandom.h"

#include "core/Random.h"

#include "TestPrinters.h"

#include <gtest/gtest.h>

using namespace qv::engine;
using qv::test::RecordingRandom;

TEST(GradeProfile, EveryRowHasItsTableValuesAndOnlyExactGradeStringsSelectIt)
{
    EXPECT_EQ(gradeProfile("9"),
              (GradeProfile{0.032, 0.60, {12, 18}, {65, 78}, {5000, 11000}, 3800, 28000, {0, 0}, 0, {110, 180}}));
    EXPECT_EQ(gradeProfile("10"), (GradeProfile{0.028, 0.62, {13, 20}, {68, 82}, {5500, 12000}, 4100, 30000,
                                                {10000, 18000}, 150, {120, 200}}));
    EXPECT_EQ(gradeProfile("11"), (GradeProfile{0.026, 0.65, {14, 21}, {72, 84}, {6000, 13500}, 4500, 33000,
                                                {15000, 25000}, 110, {140, 230}}));
    const GradeProfile fallback = gradeProfile("12");
    EXPECT_EQ(fallback, (GradeProfile{0.024, 0.67, {14, 22}, {75, 85}, {6000, 14500}, 4500, 35000, {15000, 25000},
                                      110, {150, 240}}));
    for (const char *odd : {"", "9 ", " 9", "09", "College", "8", "10.0"})
        EXPECT_EQ(gradeProfile(QString::fromLatin1(odd)), fallback) << '"' << odd << '"';
}

TEST(StyleProfile, SpeedBandIsClampedWithAndWithoutHumanize)
{
    RecordingRandom r;
    const struct {
        const char *grade;
        bool humanize;
        int wpm, min, max;
    } cases[] = {{"12", false, 5, 20, 23},    {"12", true, 5, 20, 26}, {"12", false, 500, 157, 163},
                 {"12", true, 500, 154, 166}, {"9", false, 60, 57, 63}};
    for (const auto &c : cases) {
        const StyleProfile s = computeStyleProfile(c.grade, "medium", c.humanize, c.wpm, r);
        EXPECT_EQ(std::make_pair(s.minWpm, s.maxWpm), std::make_pair(c.min, c.max)) << c.wpm << ' ' << c.humanize;
    }
}

TEST(StyleProfile, WithoutHumanizeOnlyTheErrorScaleFollowsTheReview)
{
    RecordingRandom r;
    const struct {
        const char *review;
        double errorScale;
    } cases[] = {{"light", 0.405}, {"heavy", 0.6075}, {"medium", 0.45}, {"Heavy", 0.45}, {"", 0.45}};
    for (const auto &c : cases) {
        const StyleProfile s = computeStyleProfile("10", c.review, false, 80, r);
        EXPECT_DOUBLE_EQ(s.errorScale, c.errorScale) << c.review;
        EXPECT_DOUBLE_EQ(s.burstScale, 1.0);
        EXPECT_DOUBLE_EQ(s.pauseScale, 1.0);
        EXPECT_DOUBLE_EQ(s.correctionScale, 1.0);
        EXPECT_DOUBLE_EQ(s.wordWpmBoost, 0.0);
        EXPECT_DOUBLE_EQ(s.drift, 0.0);
        EXPECT_DOUBLE_EQ(s.hesitationProb, 0.0);
    }
    EXPECT_TRUE(r.reals.isEmpty());
    EXPECT_TRUE(r.ints.isEmpty());
}

TEST(StyleProfile, HumanizeDrawsEachFactorFromItsRangeInOrder)
{
    RecordingRandom low(RecordingRandom::End::Low);
    const StyleProfile a = computeStyleProfile("12", "heavy", true, 80, low);
    const QList<std::pair<double, double>> expected = {
        {0.9, 1.15}, {0.9, 1.2}, {0.95, 1.25}, {0.85, 1.2}, {-0.04, 0.06}, {0.01, 0.04}, {0.015, 0.04}};
    EXPECT_EQ(low.reals, expected);
    EXPECT_DOUBLE_EQ(a.burstScale, 0.9);
    EXPECT_DOUBLE_EQ(a.errorScale, 1.35 * 0.95);
    EXPECT_DOUBLE_EQ(a.wordWpmBoost, 0.06 - 0.04);

    RecordingRandom high(RecordingRandom::End::High);
    const StyleProfile b = computeStyleProfile("12", "light", true, 80, high);
    EXPECT_DOUBLE_EQ(b.pauseScale, 1.2);
    EXPECT_DOUBLE_EQ(b.errorScale, 0.9 * 1.25);
    EXPECT_DOUBLE_EQ(b.correctionScale, 1.2);
    EXPECT_DOUBLE_EQ(b.wordWpmBoost, 0.02 + 0.06);
    EXPECT_DOUBLE_EQ(b.drift, 0.04);
    EXPECT_DOUBLE_EQ(b.hesitationProb, 0.04);
}

TEST(ReviewLevel, NumbersAndBudgetPerReviewString)
{
    EXPECT_EQ(reviewLevel("light", true), (ReviewLevel{2, 2, 1, 400}));
    EXPECT_EQ(reviewLevel("light", false), (ReviewLevel{2, 0, 0, 400}));
    EXPECT_EQ(reviewLevel("heavy", true), (ReviewLevel{12, 10, 6, 2200}));
    EXPECT_EQ(reviewLevel("heavy", false), (ReviewLevel{12, 0, 0, 2200}));
    EXPECT_EQ(reviewLevel("medium", true), (ReviewLevel{4, 4, 2, 800}));
    EXPECT_EQ(reviewLevel("Light", false), (ReviewLevel{4, 0, 0, 800}));
    EXPECT_EQ(reviewNumbers("light"), (ReviewLevel{2, 2, 1, 400}));

    EXPECT_EQ(editBudget("light", false), 2);
    EXPECT_EQ(editBudget("light", true), 5);
    EXPECT_EQ(editBudget("medium", false), 4);
    EXPECT_EQ(editBudget("medium", true), 10);
    EXPECT_EQ(editBudget("heavy", false), 12);
    EXPECT_EQ(editBudget("heavy", true), 28);
}

TEST(ReviewLevel, ForcedErrorIntervalComesFromTheReviewRange)
{
    const struct {
        const char *review;
        bool humanize;
        qint64 lo, hi;
    } cases[] = {{"heavy", true, 60, 90},   {"heavy", false, 70, 105}, {"light", true, 120, 170},
                 {"light", false, 140, 200}, {"medium", true, 90, 130}, {"HEAVY", false, 110, 160}};
    for (const auto &c : cases) {
        RecordingRandom r(RecordingRandom::End::High);
        EXPECT_EQ(adjustedForcedErrorEvery(c.review, c.humanize, r), c.hi) << c.review;
        ASSERT_EQ(r.ints.size(), 1);
        EXPECT_EQ(r.ints[0], std::make_pair(c.lo, c.hi)) << c.review;
    }
}

TEST(WordSpeed, FastAndSlowWordsHaveFixedSpeeds)
{
    RecordingRandom r;
    const GradeProfile p = gradeProfile("12");
    EXPECT_EQ(getWordWpm(u"However,", p, 100, r), 118);
    EXPECT_EQ(getWordWpm(u"Juxtaposition", p, 30, r), 20);
    EXPECT_EQ(getWordWpm(u"the", p, 200, r), 160);
    EXPECT_EQ(getWordWpm(u"(of)", p, 5, r), 38);
    EXPECT_EQ(getWordWpm(u"multifaceted.", p, 500, r), 132);
    EXPECT_TRUE(r.ints.isEmpty());
}

TEST(WordSpeed, OtherWordsDrawAroundTheTarget)
{
    const GradeProfile p = gradeProfile("12");
    RecordingRandom r;
    getWordWpm(u"word", p, 10, r);
    getWordWpm(u"word", p, 100, r);
    getWordWpm(u"word", p, 158, r);
    getWordWpm(u"word", p, 400, r);
    // "thee" is not "the": exact matches only.
    getWordWpm(u"thee", p, 100, r);
    const QList<std::pair<qint64, qint64>> expected = {{20, 26}, {94, 106}, {152, 160}, {154, 160}, {94, 106}};
    EXPECT_EQ(r.ints, expected);

    qv::SeededRandom seeded(3);
    for (int i = 0; i < 200; ++i) {
        const int v = getWordWpm(u"word", p, 10, seeded);
        ASSERT_GE(v, 20);
        ASSERT_LE(v, 26);
    }
}

TEST(Cooldowns, DecayDropsEntriesThatReachZero)
{
    QHash<QString, int> c{{"one", 1}, {"three", 3}, {"zero", 0}};
    decayErrorCooldowns(c);
    EXPECT_EQ(c, (QHash<QString, int>{{"three", 2}}));
    QHash<QString, int> empty;
    decayErrorCooldowns(empty);
    EXPECT_TRUE(empty.isEmpty());
}

TEST(Sentences, EndsAndRanges)
{
    EXPECT_TRUE(isSentenceEnd(u"."));
    EXPECT_TRUE(isSentenceEnd(u"!"));
    EXPECT_TRUE(isSentenceEnd(u"?"));
    EXPECT_FALSE(isSentenceEnd(u","));
    EXPECT_FALSE(isSentenceEnd(u"…"));

    const QString text = "One. Two!  three";
    const auto ranges = computeSentenceRanges(text);
    ASSERT_EQ(ranges.size(), 3);
    EXPECT_EQ(text.mid(ranges[0].location, ranges[0].length), "One.");
    EXPECT_EQ(text.mid(ranges[1].location, ranges[1].length), " Two!");
    EXPECT_EQ(text.mid(ranges[2].location, ranges[2].length), "  three");

    EXPECT_TRUE(computeSentenceRanges("...").isEmpty());
    EXPECT_TRUE(computeSentenceRanges("").isEmpty());
    // Extra closing marks belong to no range; positions stay UTF-16 units.
    const auto r = computeSentenceRanges(QString::fromUtf8("Wow... 😀 ok"));
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r[0], (qv::platform::TextRange{0, 4}));
    EXPECT_EQ(r[1], (qv::platform::TextRange{6, 6}));
}

TEST(WordTables, TablesHoldTheirEntries)
{
    const WordTables &t = WordTables::standard();
    EXPECT_EQ(t.nearbyKeys.size(), 26);
    EXPECT_EQ(t.nearbyKeys.value("a"), (QStringList{"q", "w", "s", "x", "z"}));
    EXPECT_EQ(t.nearbyKeys.value("d"), (QStringList{"e", "r", "s", "f", "c", "x"}));
    EXPECT_EQ(t.nearbyKeys.value("p"), (QStringList{"o", "l"}));
    EXPECT_EQ(t.nearbyKeys.value("s"), (QStringList{"w", "e", "d", "x", "z", "a"}));
    EXPECT_EQ(t.nearbyKeys.value("y"), (QStringList{"t", "g", "h", "u"}));
    EXPECT_EQ(t.styleSwapMap.size(), 6);
    EXPECT_EQ(t.styleSwapMap.value("interesting"), "compelling");
    EXPECT_EQ(t.smartWords.size(), 5);
    EXPECT_EQ(t.fillerWords.size(), 5);
    EXPECT_EQ(t.errorCooldownWords, 8);
    EXPECT_TRUE(t.pausePunctuation.contains(";"));
    EXPECT_TRUE(t.digraphs.contains("st"));
    EXPECT_EQ(t.vowels.size(), 5);
}
