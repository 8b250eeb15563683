#include "engine/Profiles.h"

#include "RecordingRandom.h"

#include "core/Random.h"

#include "TestPrinters.h"

#include <gtest/gtest.h>

using namespace qv::engine;
using qv::test::RecordingRandom;

TEST(GradeProfile, OnlyExactGradeStringsSelectTheirRowAndAnythingElseIsTwelve)
{
    const GradeProfile twelve = gradeProfile("12");
    for (const char *grade : {"9", "10", "11"})
        EXPECT_NE(gradeProfile(grade), twelve) << grade;
    EXPECT_NE(gradeProfile("9"), gradeProfile("10"));
    for (const char *odd : {"", "9 ", " 9", "09", "College", "8", "10.0"})
        EXPECT_EQ(gradeProfile(QString::fromLatin1(odd)), twelve) << '"' << odd << '"';
}

TEST(StyleProfile, SpeedBandIsClampedWithAndWithoutHumanize)
{
    RecordingRandom r;
    const struct {
        const char *grade;
        bool humanize;
        int wpm, min, max;
    } cases[] = {{"12", false, 5, 20, 23},
                 {"12", true, 5, 20, 26},
                 {"12", false, 500, 157, 163},
                 {"12", true, 500, 154, 166},
                 {"9", false, 60, 57, 63}};
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
    const QList<std::pair<double, double>> expected = {{0.9, 1.15},   {0.9, 1.2},   {0.95, 1.25}, {0.85, 1.2},
                                                       {-0.04, 0.06}, {0.01, 0.04}, {0.015, 0.04}};
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

TEST(ReviewLevel, RewordingsOnlyWithHumanizeAndTheBudgetPerReviewString)
{
    // Without humanize the review swaps and rewrites nothing; an unknown or
    // differently cased review string counts as "medium".
    const struct {
        const char *review;
        bool humanize;
        ReviewLevel level;
        int budget;
    } cases[] = {
        {"light", true, {2, 2, 1, 400}, 5},     {"light", false, {2, 0, 0, 400}, 2},
        {"heavy", true, {12, 10, 6, 2200}, 28}, {"heavy", false, {12, 0, 0, 2200}, 12},
        {"medium", true, {4, 4, 2, 800}, 10},   {"medium", false, {4, 0, 0, 800}, 4},
        {"Light", false, {4, 0, 0, 800}, 4},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(reviewLevel(c.review, c.humanize), c.level) << c.review << ' ' << c.humanize;
        EXPECT_EQ(editBudget(c.review, c.humanize), c.budget) << c.review << ' ' << c.humanize;
    }
}

TEST(ReviewLevel, ForcedErrorIntervalComesFromTheReviewRange)
{
    const struct {
        const char *review;
        bool humanize;
        qint64 lo, hi;
    } cases[] = {{"heavy", true, 60, 90},    {"heavy", false, 70, 105}, {"light", true, 120, 170},
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
