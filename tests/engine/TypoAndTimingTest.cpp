// The typo decision, the wrong key and the keystroke delay, with scripted
// draws: every typo rule, correction choice and delay term.

#include "engine/KeyTiming.h"
#include "engine/RunParams.h"
#include "engine/RunState.h"
#include "engine/TypoModel.h"

#include "TestPrinters.h"

#include "core/Random.h"

#include <gtest/gtest.h>

using namespace qv::engine;
using Kind = TypoDecision::Kind;

namespace {
// Scripted draws for one key of a run; a draw the script lacks fails the test.
struct ScriptedKey : ::testing::Test {
    qv::ScriptedRandom random;
    RunParams params;
    RunState state;
    ScriptedKey()
    {
        random.setFailureHandler([](const QString &m) { ADD_FAILURE() << m.toStdString(); });
    }
};

struct Typos : ScriptedKey {
    void SetUp() override
    {
        params.profile = gradeProfile("12"); // errorProbability 0.024, correction 0.67
        params.style = computeStyleProfile("12", "medium", false, 60, random); // errorScale 0.45
        params.forcedErrorEvery = 100;
        params.minErrors = 2;
        params.editBudget = 4;
        params.allowDeferred = true;
        params.maxDeferred = 0;
        params.remaining = QStringList(1000, QStringLiteral("a"));
        state.typedCount = 50;
        state.charIndex = 10;
    }
    TypoDecision decide(const QString &c) { return TypoModel::decide(c, state, params, random); }
};
} // namespace

TEST_F(Typos, OnlyLettersCarryTyposEvenAtAForcedPosition)
{
    state.typedCount = 100;
    for (const char *c : {"3", ",", " ", "\n", "'"})
        EXPECT_EQ(decide(c).kind, Kind::None) << c;
    EXPECT_EQ(random.used(), 0);
}

TEST_F(Typos, ForcedTypoIsDeferredWhileTheSentenceHasBudget)
{
    state.typedCount = 100;
    random.reals({0.1}).ints({1}); // neighbouring key, the second neighbour of "a"
    TypoDecision d = decide("a");
    EXPECT_EQ(d.kind, Kind::Deferred);
    EXPECT_EQ(d.wrong, "w");

    // Budget spent: corrected at once, the wrong key standing 80 + 120r ms.
    state.editCount = 4;
    random.reals({0.1}).ints({0}).reals({0.5});
    d = decide("A");
    EXPECT_EQ(d.kind, Kind::Immediate);
    EXPECT_EQ(d.wrong, "Q");
    EXPECT_DOUBLE_EQ(d.wrongKeyWaitMs, 140);
}

TEST_F(Typos, WithoutDeferralEveryTypoIsCorrectedAndStaysLonger)
{
    params.allowDeferred = false;
    state.typedCount = 100;
    random.reals({0.95, 1.0}); // same-character band, then the wait
    const TypoDecision d = decide("e");
    EXPECT_EQ(d.kind, Kind::Immediate);
    EXPECT_EQ(d.wrong, "e");
    EXPECT_DOUBLE_EQ(d.wrongKeyWaitMs, 280);
}

TEST_F(Typos, TheFirstCharacterOfTheTextIsNeverForced)
{
    state.typedCount = 0;
    random.reals({0.5});
    EXPECT_EQ(decide("a").kind, Kind::None);
    EXPECT_EQ(random.used(), 1); // one chance draw, no forced attempt
}

TEST_F(Typos, ChanceScalesWithHeadingWordLengthAndCooldown)
{
    const double base = 0.024 * 0.45; // errorProbability x errorScale
    struct Case {
        const char *word;
        bool heading;
        bool cooled;
        double factor;
    } cases[] = {
        {"", false, false, 0.75},           {"hel", false, false, 0.75}, {"help", false, false, 1.0},
        {"extraordin", false, false, 1.18}, {"help", true, false, 0.55}, {"hel", false, true, 0.75 * 0.2},
    };
    for (const Case &c : cases) {
        state.currentWord = c.word;
        state.headingLine = c.heading;
        state.errorCooldowns.clear();
        if (c.cooled)
            state.errorCooldowns.insert(QString(c.word) + "l", 3);
        const double threshold = base * c.factor;
        random.reals({threshold * 1.001});
        EXPECT_EQ(decide("l").kind, Kind::None) << c.word;
        random.reals({threshold * 0.999, 0.95, 0.0, 0.5}); // typo; same character; corrected; wait
        EXPECT_NE(decide("l").kind, Kind::None) << c.word;
    }
}

TEST_F(Typos, LateTyposAreDeferredWithoutBudgetUpToTheCap)
{
    params.maxDeferred = 2;
    params.remaining = QStringList(300, QStringLiteral("a"));
    state.charIndex = 41;
    state.editCount = 99;
    random.reals({0.0, 0.95}); // chance, same-character band
    EXPECT_EQ(decide("a").kind, Kind::Deferred);

    // Not past character 40: budget rules apply (spent: corrected at once).
    state.charIndex = 40;
    random.reals({0.0, 0.95, 0.9, 0.5});
    EXPECT_EQ(decide("a").kind, Kind::Immediate);

    // Cap reached.
    state.charIndex = 41;
    state.deferredErrors = {{0, "a", "s"}, {1, "a", "s"}};
    random.reals({0.0, 0.95, 0.9, 0.5});
    EXPECT_EQ(decide("a").kind, Kind::Immediate);
}

TEST_F(Typos, UnforcedTypoIsCorrectedWhenTheCorrectionDrawSaysSo)
{
    const double correction = 0.67; // x correctionScale 1.0
    random.reals({0.0, 0.95, correction - 0.001, 0.25});
    TypoDecision d = decide("a");
    EXPECT_EQ(d.kind, Kind::Immediate);
    EXPECT_DOUBLE_EQ(d.wrongKeyWaitMs, 110);
    random.reals({0.0, 0.95, correction + 0.001});
    EXPECT_EQ(decide("a").kind, Kind::Deferred);
}

TEST_F(Typos, EarlyForcedAttemptAndTheTopUpNearTheEnd)
{
    params.options.humanize = true;
    params.earlyTypoOffset = 5;
    state.charIndex = 43;
    random.reals({0.8}); // previous-character band without letters before: no typo
    TypoDecision d = decide("a");
    EXPECT_TRUE(d.earlyAttempt);
    EXPECT_EQ(d.kind, Kind::None);

    // Fewer typos than aimed for among the last 120 characters: forced.
    params.options.humanize = false;
    params.remaining = QStringList(100, QStringLiteral("a"));
    state.charIndex = 10;
    random.reals({0.95});
    EXPECT_EQ(decide("a").kind, Kind::Deferred);
    state.immediateTypos = 2;
    random.reals({0.9999});
    EXPECT_EQ(decide("a").kind, Kind::None);
}

TEST(WrongKey, EachBandAndWhatItCannotProduce)
{
    qv::ScriptedRandom r;
    const QString nul(QChar(0));
    r.reals({0.7});
    EXPECT_EQ(TypoModel::generateHumanError("A", nul, nul, r), "a");
    r.reals({0.7});
    EXPECT_EQ(TypoModel::generateHumanError("b", nul, nul, r), "B");
    r.reals({0.8});
    EXPECT_EQ(TypoModel::generateHumanError("c", "x", "y", r), "x");
    r.reals({0.8});
    EXPECT_EQ(TypoModel::generateHumanError("c", "x", nul, r), "");
    r.reals({0.1});
    EXPECT_EQ(TypoModel::generateHumanError(QString::fromUtf8("é"), nul, nul, r), "");
    r.reals({0.95});
    EXPECT_EQ(TypoModel::generateHumanError(QString::fromUtf8("é"), nul, nul, r), QString::fromUtf8("é"));
    r.reals({0.1}).ints({3});
    EXPECT_EQ(TypoModel::generateHumanError("S", nul, nul, r), "X");
    EXPECT_EQ(r.remaining(), 0);
}

namespace {
struct Timing : ScriptedKey {
    void SetUp() override
    {
        params.options.targetWpm = 60;
        params.style.minWpm = 60;
        params.style.maxWpm = 60;
        state.sentencePos = 5;
        state.sentenceLength = 10;
    }
    double delay(const QString &k) { return KeyTiming::keystrokeDelay(k, state, params, random); }
};
} // namespace

TEST_F(Timing, SixtyWordsPerMinuteIsTwoHundredMillisecondsAtTheStart)
{
    random.ints({60}).reals({0.5});
    EXPECT_DOUBLE_EQ(delay("x"), 200);
    // A spike: 80 + 60r.
    random.ints({60}).reals({0.01, 0.5});
    EXPECT_DOUBLE_EQ(delay("x"), 310);
    // Drift and waves grow with the character index.
    state.charIndex = 600;
    params.style.drift = 0.04;
    random.ints({60}).reals({0.5});
    EXPECT_DOUBLE_EQ(delay("x"), KeyTiming::baseDelay(60, 0.04, 600));
    EXPECT_NEAR(KeyTiming::baseDelay(60, 0.04, 600),
                200 * 1.02 * (1 + 0.06 * std::sin(600 / 19.0) + 0.03 * std::sin(600 / 7.0)), 1e-9);
}

TEST_F(Timing, DigraphReplacesTheSpikeAndLaterTermsStillAdd)
{
    state.prev = "T";
    state.currentWord = "Th";
    random.ints({60}).reals({0.01, 0.5, 0.5}); // word speed; spike, its size; digraph
    EXPECT_DOUBLE_EQ(delay("h"), 77.5);
    // Capitals and shifted symbols; ":" also pauses as punctuation.
    state.prev = "x";
    state.currentWord.clear();
    random.ints({60}).reals({0.5, 0.0, 0.0});
    EXPECT_DOUBLE_EQ(delay(":"), 200 + 180 + 180);
}

TEST_F(Timing, WordStartsVowelRunsLongWordsAndSentenceEdges)
{
    state.lastWasSpace = true;
    state.currentWord = "a";
    random.ints({60}).reals({0.5, 1.0});
    EXPECT_DOUBLE_EQ(delay("a"), 200 + 310); // first letter after a space
    state.lastWasSpace = false;
    state.prevPrev = "o";
    state.prev = "u";
    state.currentWord = "oua";
    random.ints({60}).reals({0.5, 0.0});
    EXPECT_DOUBLE_EQ(delay("a"), 200 + 140);
    state.prev = "x";
    state.currentWord = "xxxxxxxxxx";
    random.ints({60}).reals({0.5, 0.0});
    EXPECT_DOUBLE_EQ(delay("x"), 200 + 90);
    state.currentWord.clear();
    state.sentencePos = 0;
    random.ints({60}).reals({0.5, 0.0});
    EXPECT_DOUBLE_EQ(delay("x"), 200 + 60);
    state.sentencePos = 9;
    random.ints({60}).reals({0.5, 1.0});
    EXPECT_DOUBLE_EQ(delay("x"), 200 + 150);
}

TEST_F(Timing, HesitationOnlyWithHumanize)
{
    params.style.hesitationProb = 0.03;
    random.ints({60}).reals({0.5});
    EXPECT_DOUBLE_EQ(delay("x"), 200); // no draw without humanize
    params.options.humanize = true;
    random.ints({60}).reals({0.5, 0.02, 0.5});
    EXPECT_DOUBLE_EQ(delay("x"), 200 + 200);
    EXPECT_EQ(random.remaining(), 0);
}
