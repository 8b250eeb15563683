#include "SessionFixture.h"

#include "study/CardPicker.h"
#include "study/QuestionPicker.h"

#include <QHash>

#include <limits>

using namespace qv;
using namespace qv::study;
using namespace qv::study::test;

namespace {
using QT = StudyQuestionType;

QList<StudyItem> fruit()
{
    return {makeCard("cherry", "red"), makeCard("apple", "green"), makeCard("Banana", "yellow")};
}
} // namespace

TEST_F(SessionFixture, GoalOptionsForPoolSizes)
{
    const std::pair<int, QList<int>> options[] = {
        {0, {1}}, {3, {3}}, {5, {5}}, {6, {5, 6}}, {12, {5, 10, 12}}, {20, {5, 10, 15, 20}}, {25, {5, 10, 15, 20, 25}}};
    for (const auto &[pool, expected] : options)
        EXPECT_EQ(goalOptions(pool), expected) << pool;
}

TEST_F(SessionFixture, EmptyPoolAsksNothing)
{
    StudySession &s = fresh(makeSet({}));
    EXPECT_FALSE(s.currentItem());
    s.pressMain();
    s.answerDontKnow();
    s.markOverrideCorrect();
    EXPECT_FALSE(s.currentItem());
    EXPECT_EQ(s.tally().answered, 0);
    EXPECT_TRUE(updates.isEmpty());
    EXPECT_EQ(s.masteredCount(), 0);
    EXPECT_EQ(s.masteryFraction(), 0.0);
}

TEST_F(SessionFixture, OnlyStarredFallsBackToAllCards)
{
    StudyProject p = makeSet(fruit());
    p.options.onlyStarred = true;
    StudySession &s = fresh(p);
    EXPECT_EQ(s.activeItems().size(), 3);
    s.toggleStar(p.items[0].id);
    ASSERT_EQ(s.activeItems().size(), 1);
    EXPECT_EQ(s.activeItems()[0].term, QString("cherry"));
}

TEST_F(SessionFixture, UnshuffledOrderAsksEveryCardInTurnEvenWhenOneIsAlwaysMissed)
{
    StudySession &s = fresh(makeSet(fruit()));
    QStringList asked;
    for (int i = 0; i < 9; ++i) {
        asked << currentTerm();
        s.advance();
    }
    EXPECT_EQ(asked,
              (QStringList{"apple", "Banana", "cherry", "apple", "Banana", "cherry", "apple", "Banana", "cherry"}));

    s.appear(noRetype({makeCard("a", "1"), makeCard("b", "2"), makeCard("c", "3"), makeCard("d", "4")}));
    QHash<QString, int> counts;
    for (int i = 0; i < 40; ++i) {
        const QString term = currentTerm();
        ++counts[term];
        if (term == "a")
            s.answerDontKnow();
        s.advance();
    }
    for (const char *t : {"a", "b", "c", "d"})
        EXPECT_GE(counts.value(t), 5) << t;
}

TEST_F(SessionFixture, TermOrderIsByCodePointAndStable)
{
    const StudyItem first = makeCard("same", "1");
    const StudyItem second = makeCard("SAME", "2");
    // U+FF21 (fullwidth A, lower-cased to U+FF41) sorts before an emoji by code
    // point, though its UTF-16 unit is above the emoji's surrogates.
    const QList<StudyItem> order = termOrder(
        {makeCard(QString::fromUtf8("\U0001F600"), "x"), makeCard(QString::fromUtf8("\uFF21"), "y"), first,
         makeCard(QString::fromUtf8("\u00E9t\u00E9"), "z"), second, makeCard("Zebra", "w")});
    QStringList terms;
    for (const StudyItem &item : order)
        terms << item.term;
    EXPECT_EQ(terms, (QStringList{"same", "SAME", "Zebra", QString::fromUtf8("\u00E9t\u00E9"),
                                  QString::fromUtf8("\uFF21"), QString::fromUtf8("\U0001F600")}));
}

TEST_F(SessionFixture, TwoCardsAlternateAndOneRepeats)
{
    for (bool shuffle : {false, true}) {
        StudySession &s = fresh(makeSet({makeCard("x", "1", 0, 5), makeCard("y", "2")}, shuffle));
        QString previous = currentTerm();
        for (int i = 0; i < 10; ++i) {
            s.advance();
            EXPECT_NE(currentTerm(), previous) << "shuffle " << shuffle;
            previous = currentTerm();
        }
        s.appear(makeSet({makeCard("only", "1")}, shuffle));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(currentTerm(), QString("only"));
            s.advance();
        }
    }
}

TEST_F(SessionFixture, WeightedPickFollowsTheWeightsAndHugeCountersSaturate)
{
    EXPECT_EQ(cardWeight(makeCard("", "", 0, 0)), 1);
    EXPECT_EQ(cardWeight(makeCard("", "", 1, 0)), 1);
    EXPECT_EQ(cardWeight(makeCard("", "", 0, 1)), 3);
    EXPECT_EQ(cardWeight(makeCard("", "", 1, 2)), 4);
    EXPECT_EQ(cardWeight(makeCard("", "", 5, 1)), 1);

    const QList<StudyItem> pool{makeCard("X", "", 0, 2), makeCard("n1", ""), makeCard("n2", ""), makeCard("n3", ""),
                                makeCard("n4", "")};
    const qsizetype expected[] = {0, 0, 0, 0, 0, 1, 2, 3, 4};
    for (qint64 r = 0; r <= 8; ++r) {
        ScriptedRandom random;
        random.ints({r}); // fails unless the draw is over [0, 8]
        EXPECT_EQ(weightedPick(pool, random), expected[r]) << r;
        EXPECT_EQ(random.remaining(), 0);
    }

    // Counters near the limits saturate instead of overflowing.
    constexpr qint64 big = std::numeric_limits<qint64>::max();
    EXPECT_EQ(cardWeight(makeCard("", "", 0, big)), big);
    EXPECT_EQ(cardWeight(makeCard("", "", big, 0)), 1);
    EXPECT_EQ(cardWeight(makeCard("", "", std::numeric_limits<qint64>::min(), 0)), big);
    const QList<StudyItem> huge{makeCard("a", "", 0, big), makeCard("b", "", 0, big), makeCard("c", "")};
    ScriptedRandom random;
    random.ints({qint64(1) << 62}); // a double-exact value inside [0, total)
    EXPECT_EQ(weightedPick(huge, random), 0);

    StudySession &s = fresh(makeSet({makeCard("a", "1", big, 0)}));
    s.setUserAnswer("1");
    s.pressMain();
    EXPECT_EQ(updates.last().items[0].correctCount, big);
}

TEST_F(SessionFixture, ShuffledPoolLeavesOutTheCurrentCard)
{
    // Pool after "a" was asked: b (weight 1) then c (weight 3); r = 1 picks c.
    ScriptedRandom random;
    random.ints({0, 0,   // first pick over a, b, c (total 5): a; type draw
                 1, 0}); // second pick over b, c (total 4): c; type draw
    StudySession &s = make(random);
    s.appear(makeSet({makeCard("a", "1"), makeCard("b", "2"), makeCard("c", "3", 0, 1)}, true));
    EXPECT_EQ(currentTerm(), QString("a"));
    s.advance();
    EXPECT_EQ(currentTerm(), QString("c"));
    EXPECT_EQ(random.remaining(), 0);
}

TEST_F(SessionFixture, MissedCardsComeBackAtTheSecondStartOnePerStart)
{
    StudySession &s = fresh(
        noRetype({makeCard("a", "1"), makeCard("b", "2"), makeCard("c", "3"), makeCard("d", "4"), makeCard("e", "5")}));
    EXPECT_EQ(currentTerm(), QString("a"));
    s.answerDontKnow();
    s.advance();
    EXPECT_EQ(currentTerm(), QString("b"));
    s.answerDontKnow();
    s.advance(); // a is due
    EXPECT_EQ(currentTerm(), QString("a"));
    s.advance(); // b is due
    EXPECT_EQ(currentTerm(), QString("b"));
    s.advance();
    EXPECT_EQ(currentTerm(), QString("c")); // the requeue left the order's place alone
}

// The picker's returns on their own: a card missed twice comes back once, an
// answer turned right cancels its return, and a new session forgets them.
TEST(QuestionPickerTest, PendingReturnsComeBackOnceAndAreDroppedByAForgiveOrAReset)
{
    const QList<StudyItem> set{makeCard("a", "1"), makeCard("b", "2"), makeCard("c", "3"), makeCard("d", "4")};
    SeededRandom random(1);
    const auto asked = [&](QuestionPicker &picker, int n) {
        QStringList terms;
        std::optional<QUuid> current;
        for (int i = 0; i < n; ++i) {
            current = picker.nextCard(set, current, false);
            for (const StudyItem &item : set)
                if (item.id == *current)
                    terms << item.term;
        }
        return terms;
    };
    QuestionPicker twice(random);
    twice.requeue(set[2].id);
    twice.requeue(set[2].id);
    EXPECT_EQ(asked(twice, 5), (QStringList{"a", "c", "b", "c", "d"}));

    QuestionPicker forgiven(random);
    forgiven.requeue(set[2].id);
    forgiven.forgive(set[2].id);
    EXPECT_EQ(asked(forgiven, 3), (QStringList{"a", "b", "c"}));

    QuestionPicker reset(random);
    reset.requeue(set[3].id);
    EXPECT_EQ(asked(reset, 1), QStringList{"a"});
    reset.reset();
    EXPECT_EQ(asked(reset, 3), (QStringList{"a", "b", "c"}));
}

TEST_F(SessionFixture, TrueFalseDrawnForAnOrdinaryCardIsDrawnAgain)
{
    const QList<QT> types{QT::trueFalse, QT::written, QT::trueFalse, QT::multipleChoice};
    // First draw over four entries gives true/false; the second is over the
    // two others only (the script fails on a draw outside its range).
    ScriptedRandom redraw;
    redraw.ints({2, 1});
    StudySession &s = make(redraw);
    s.appear(makeSet({makeCard("a", "1")}, false, types));
    EXPECT_EQ(s.currentQuestionType(), QT::multipleChoice);
    EXPECT_EQ(s.multipleChoices(), QStringList{"1"}); // one entry: no shuffle draws
    EXPECT_EQ(redraw.remaining(), 0);

    ScriptedRandom toWritten;
    toWritten.ints({0, 0});
    StudySession &t = make(toWritten);
    t.appear(makeSet({makeCard("a", "1")}, false, types));
    EXPECT_EQ(t.currentQuestionType(), QT::written);

    // Nothing left after removing true/false: written, with no second draw.
    ScriptedRandom onlyTf;
    onlyTf.ints({0});
    StudySession &u = make(onlyTf);
    u.appear(makeSet({makeCard("a", "1")}, false, {QT::trueFalse}));
    EXPECT_EQ(u.currentQuestionType(), QT::written);
    EXPECT_EQ(onlyTf.remaining(), 0);

    // No types at all: written too.
    StudySession &v = fresh(makeSet(fruit(), false, {}));
    EXPECT_EQ(v.currentQuestionType(), QT::written);
    EXPECT_TRUE(v.multipleChoices().isEmpty());
}

TEST_F(SessionFixture, TypeChangeResetsTheStreak)
{
    StudyProject p = makeSet({makeCard("a", "1"), makeCard("b", "true"), makeCard("c", "3")});
    StudySession &s = fresh(p);
    s.setUserAnswer("1");
    s.pressMain();
    EXPECT_EQ(s.tally().streak, 1);
    s.pressMain(); // Next: b is a true/false card
    EXPECT_EQ(s.currentQuestionType(), QT::trueFalse);
    EXPECT_EQ(s.tally().streak, 0);
    s.tapChoice("True");
    EXPECT_TRUE(s.wasCorrect());
    EXPECT_EQ(s.tally().streak, 1);
}

TEST_F(SessionFixture, ChoicesKeepBooleansOutAndHoldAtMostThreeDistractors)
{
    StudySession &s = fresh(
        makeSet({makeCard("a", "alpha"), makeCard("b", "beta"), makeCard("c", "gamma"), makeCard("d", "delta"),
                 makeCard("e", "epsilon"), makeCard("f", " False"), makeCard("g", "TRUE")},
                false, {QT::multipleChoice}));
    ASSERT_EQ(s.currentQuestionType(), QT::multipleChoice);
    for (int round = 0; round < 5; ++round) {
        const QStringList choices = s.multipleChoices();
        if (s.currentQuestionType() == QT::multipleChoice) {
            EXPECT_EQ(choices.size(), 4);
            EXPECT_TRUE(choices.contains(s.correctAnswer()));
            for (const QString &c : choices)
                EXPECT_FALSE(c.trimmed().toLower() == "true" || c.trimmed().toLower() == "false") << c.toStdString();
        }
        s.advance();
    }

    s.appear(
        makeSet({makeCard("a", "alpha"), makeCard("t", "true"), makeCard("f", "false")}, false, {QT::multipleChoice}));
    EXPECT_EQ(s.multipleChoices(), QStringList{"alpha"});
}

TEST_F(SessionFixture, ChoicesStayFixedForTheWholeQuestion)
{
    const StudyProject p = makeSet({makeCard("a", "alpha"), makeCard("b", "beta"), makeCard("c", "gamma"),
                                    makeCard("d", "delta"), makeCard("e", "epsilon")},
                                   false, {QT::multipleChoice});
    StudySession &s = fresh(p);
    const QStringList choices = s.multipleChoices();
    ASSERT_EQ(choices.size(), 4);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(s.multipleChoices(), choices);
    // The cards in play change (only-starred on, one star): the list stays.
    s.setOption(&StudyOptions::onlyStarred, true);
    s.toggleStar(p.items[4].id);
    EXPECT_EQ(s.multipleChoices(), choices);
    const QString wrong = choices[0] == "alpha" ? choices[1] : choices[0];
    s.tapChoice(wrong);
    EXPECT_EQ(s.multipleChoices(), choices);
    EXPECT_EQ(s.selectedChoice(), wrong);
}

TEST_F(SessionFixture, CheckAndStarHandBackOnceWithCountersAndReviewDate)
{
    StudyProject p = makeSet(fruit());
    StudySession &s = fresh(p);
    const QUuid apple = s.currentItem()->id;
    clock.advanceMs(5000);
    s.setUserAnswer(" GREEN ");
    s.pressMain();
    ASSERT_EQ(updates.size(), 1);
    const StudyItem item = cardIn(updates[0], apple);
    EXPECT_EQ(item.correctCount, 1);
    EXPECT_EQ(item.incorrectCount, 0);
    EXPECT_EQ(item.lastReviewedAt, clock.nowUtc());
    EXPECT_EQ(updates[0].updatedAt, clock.nowUtc());
    EXPECT_EQ(updates[0].title, p.title);
    EXPECT_TRUE(s.showingResult());
    EXPECT_TRUE(s.wasCorrect());
    EXPECT_EQ(s.tally().answered, 1);
    EXPECT_EQ(s.tally().correct, 1);
    EXPECT_TRUE(s.tally().correctCards.contains(apple));

    s.pressMain(); // Next: advancing saves nothing
    EXPECT_EQ(updates.size(), 1);
    EXPECT_FALSE(s.showingResult());

    // A star hands the set back once and keeps the question.
    const QUuid current = *s.currentItemId();
    clock.advanceMs(3000);
    s.toggleStar(p.items[0].id);
    ASSERT_EQ(updates.size(), 2);
    EXPECT_TRUE(cardIn(updates[1], p.items[0].id).isStarred);
    EXPECT_FALSE(cardIn(updates[1], p.items[0].id).lastReviewedAt);
    EXPECT_EQ(updates[1].updatedAt, clock.nowUtc());
    EXPECT_EQ(s.currentItemId(), current);
    EXPECT_FALSE(s.showingResult());
    s.toggleStar(QUuid::createUuid()); // no such card
    EXPECT_EQ(updates.size(), 2);
}

TEST_F(SessionFixture, DontKnowCountsAWrongAnswerOnceAndOverrideTurnsItRightOnlyOnce)
{
    StudySession &s = fresh(makeSet(fruit()));
    s.markOverrideCorrect(); // no result yet: nothing
    EXPECT_TRUE(updates.isEmpty());
    const QUuid id = *s.currentItemId();
    clock.advanceMs(1000);
    const QDateTime checkedAt = clock.nowUtc();
    s.setUserAnswer("green");
    s.answerDontKnow();
    s.answerDontKnow(); // pressed again after the result: nothing
    s.tapChoice("green");
    ASSERT_EQ(updates.size(), 1);
    EXPECT_EQ(cardIn(updates[0], id).correctCount, 0);
    EXPECT_EQ(cardIn(updates[0], id).incorrectCount, 1);
    EXPECT_EQ(cardIn(updates[0], id).lastReviewedAt, checkedAt);
    EXPECT_TRUE(s.userAnswer().isEmpty());
    EXPECT_EQ(s.tally().streak, 0);
    EXPECT_TRUE(s.requireRetype());
    EXPECT_TRUE(s.showsOverrideButton());

    clock.advanceMs(1000);
    s.markOverrideCorrect();
    s.markOverrideCorrect(); // a double click counts once
    ASSERT_EQ(updates.size(), 2);
    const StudyItem item = cardIn(updates[1], id);
    EXPECT_EQ(item.correctCount, 1);
    EXPECT_EQ(item.incorrectCount, 0);
    EXPECT_EQ(item.lastReviewedAt, checkedAt); // the override doesn't stamp
    EXPECT_EQ(updates[1].updatedAt, clock.nowUtc());
    EXPECT_EQ(s.tally().answered, 1);
    EXPECT_EQ(s.tally().correct, 1);
    EXPECT_TRUE(s.wasCorrect());
    EXPECT_FALSE(s.requireRetype());
    EXPECT_TRUE(s.tally().correctCards.contains(id));
    EXPECT_FALSE(s.showsOverrideButton());

    // After a right answer there is nothing to override.
    s.advance();
    s.setUserAnswer(s.correctAnswer());
    s.pressMain();
    const qsizetype before = updates.size();
    s.markOverrideCorrect();
    EXPECT_EQ(updates.size(), before);
    EXPECT_EQ(s.tally().correct, 2);
}

TEST_F(SessionFixture, TrueFalseIsPosedOnlyOnTrueFalseAnswersAndGradedExactly)
{
    StudySession &s = fresh(makeSet({makeCard("Sky is blue", " TRUE ")}, false, {QT::written}));
    EXPECT_EQ(s.currentQuestionType(), QT::trueFalse);
    EXPECT_EQ(s.multipleChoices(), (QStringList{"True", "False"}));
    // A term reading "false" is no reason: the answer side is the definition.
    s.appear(makeSet({makeCard("false", "a lie")}, false, {QT::written}));
    EXPECT_EQ(s.currentQuestionType(), QT::written);

    StudyProject p = makeSet({makeCard("t", " tRuE ")}, false, {QT::written});
    p.options.grading = StudyGrading::veryLenient;
    s.appear(p);
    s.tapChoice("True");
    EXPECT_TRUE(s.wasCorrect());
    s.advance();
    s.tapChoice("False");
    EXPECT_FALSE(s.wasCorrect()); // "false" is within two edits of "true", but exact rules here

    StudyProject q = makeSet({makeCard("a", "cats"), makeCard("b", "cat")}, false, {QT::multipleChoice});
    s.appear(q);
    s.tapChoice("cat"); // a distractor one edit away counts under lenient grading
    EXPECT_TRUE(s.wasCorrect());
}

TEST_F(SessionFixture, GoalReachedThenKeepStudying)
{
    StudySession &s = fresh(noRetype(cards(12)));
    for (int i = 0; i < 10; ++i) {
        EXPECT_FALSE(s.goalReached());
        s.setUserAnswer(s.correctAnswer());
        s.pressMain();
        if (i == 3) { // a miss in between changes nothing for the goal
            s.pressMain();
            s.answerDontKnow();
        }
        s.pressMain();
    }
    EXPECT_TRUE(s.goalReached());
    EXPECT_EQ(s.tally().correctCards.size(), 10);
    s.keepStudying();
    EXPECT_FALSE(s.goalReached());
    EXPECT_EQ(s.tally().answered, 0);
    EXPECT_EQ(s.tally().correct, 0);
    EXPECT_EQ(s.tally().streak, 0);
    EXPECT_TRUE(s.currentItem());
}

TEST_F(SessionFixture, FewerCardsThanTheGoalGoOnAskingAndARestartClearsEverything)
{
    StudyProject p = makeSet(fruit());
    StudySession &s = fresh(p);
    for (int i = 0; i < 12; ++i) {
        s.setUserAnswer(s.correctAnswer());
        s.pressMain();
        s.pressMain();
    }
    EXPECT_FALSE(s.goalReached());
    EXPECT_TRUE(s.currentItem());
    EXPECT_EQ(s.masteredCount(), 3);
    EXPECT_EQ(s.masteryFraction(), 1.0);

    s.answerDontKnow();
    s.advance();
    StudyProject reset = p;
    reset.title = "Reset";
    for (StudyItem &item : reset.items) {
        item.correctCount = 0;
        item.incorrectCount = 0;
    }
    s.restart(reset);
    EXPECT_EQ(s.workingProject().title, QString("Reset"));
    EXPECT_EQ(s.tally().answered, 0);
    EXPECT_FALSE(s.showGoalPicker());
    EXPECT_FALSE(s.goalReached());
    EXPECT_EQ(currentTerm(), QString("apple")); // the order starts over
}

TEST_F(SessionFixture, ApplyingOptionsRestartsInPlaceWithoutSavingThem)
{
    StudyProject p = makeSet(fruit());
    StudySession &s = fresh(p, StudySessionStyle::study, false);
    s.chooseGoal(3);
    s.answerDontKnow();
    s.openOptions();
    EXPECT_TRUE(s.showOptions());
    s.setOption(&StudyOptions::grading, StudyGrading::exact);
    s.updateQuestionTypes(QT::written, false);
    s.updateQuestionTypes(QT::multipleChoice, true);
    s.updateQuestionTypes(QT::multipleChoice, true);
    EXPECT_EQ(s.options().questionTypes, QList<QT>{QT::multipleChoice});
    s.updateQuestionTypes(QT::multipleChoice, false);
    s.applyOptions();
    EXPECT_FALSE(s.showOptions());
    EXPECT_EQ(s.options().questionTypes, QList<QT>{QT::written});
    EXPECT_EQ(s.goalTarget(), 3);
    EXPECT_FALSE(s.showGoalPicker());
    EXPECT_EQ(s.tally().answered, 0);
    EXPECT_TRUE(s.currentItem());
    s.answerDontKnow();
    EXPECT_EQ(updates.last().options, p.options);
}

TEST_F(SessionFixture, QuizSetupButtons)
{
    StudyProject p = makeSet(fruit());
    p.options.shuffle = false;
    StudySession &s = fresh(p, StudySessionStyle::quiz);
    s.randomMix();
    EXPECT_EQ(s.options().questionTypes, (QList<QT>{QT::written, QT::multipleChoice, QT::trueFalse}));
    EXPECT_TRUE(s.options().shuffle);
    s.toggleType(QT::multipleChoice);
    EXPECT_EQ(s.options().questionTypes, (QList<QT>{QT::written, QT::trueFalse}));
    s.toggleType(QT::multipleChoice);
    EXPECT_EQ(s.options().questionTypes, (QList<QT>{QT::written, QT::trueFalse, QT::multipleChoice}));
    EXPECT_EQ(s.quizClock().limitLabel(), QString("Unlimited"));
    s.setQuizTimeLimit(7);
    EXPECT_EQ(s.quizClock().limitLabel(), QString("7 min"));
    s.setQuizTimeLimit(99);
    EXPECT_EQ(s.quizClock().limit(), 30);

    for (QT t : {QT::written, QT::trueFalse, QT::multipleChoice})
        s.toggleType(t);
    s.startQuiz();
    EXPECT_EQ(s.options().questionTypes, QList<QT>{QT::written});
    EXPECT_EQ(s.currentQuestionType(), QT::written);
    EXPECT_EQ(updates.size(), 0); // setup edits are never saved
}

TEST_F(SessionFixture, OnlyATimedQuizRunsOut)
{
    StudySession &s = fresh(makeSet(fruit()), StudySessionStyle::quiz);
    s.startTicking();
    s.startQuiz();
    EXPECT_FALSE(s.showsTimePill());
    scheduler.advance(3'600'000);
    EXPECT_FALSE(s.quizClock().timeUp());

    StudySession &study = fresh(makeSet(fruit()));
    study.setQuizTimeLimit(1);
    study.startQuiz();
    study.startTicking();
    scheduler.advance(120'000);
    EXPECT_FALSE(study.quizClock().timeUp());
    EXPECT_FALSE(study.showsTimePill());

    StudySession &longest = fresh(makeSet(fruit()), StudySessionStyle::quiz);
    longest.setQuizTimeLimit(30);
    longest.startQuiz();
    EXPECT_EQ(longest.quizClock().remainingLabel(), QString("30:00"));
    longest.startTicking();
    scheduler.advance(30 * 60'000 - 65'000);
    EXPECT_EQ(longest.quizClock().remainingLabel(), QString("1:05"));
    longest.stopTicking(); // the replaced sessions stopped theirs when they went
    EXPECT_FALSE(scheduler.hasPending());
}

// A Greek answer is graded on its letters at the default grading, and a
// missed one is retyped in its exact form.
TEST_F(SessionFixture, NonLatinAnswersAreGradedAndRetyped)
{
    const QString water = QString::fromUtf8("\u03BD\u03B5\u03C1\u03CC");
    StudySession &s = fresh(makeSet({makeCard(water, water)}));
    s.setUserAnswer(QString::fromUtf8(" \u039D\u0395\u03A1\u038C!"));
    s.pressMain();
    EXPECT_TRUE(s.wasCorrect());
    s.pressMain();

    s.setUserAnswer("x");
    s.pressMain();
    ASSERT_FALSE(s.wasCorrect());
    ASSERT_TRUE(s.requireRetype());
    s.setRetypeInput(QString::fromUtf8("\u03BD\u03B5\u03C1\u03BF"));
    EXPECT_FALSE(s.mainButtonEnabled());
    s.setRetypeInput(QString::fromUtf8("\u039D\u0395\u03A1\u038C "));
    EXPECT_TRUE(s.mainButtonEnabled());
}

// Answers of symbols only, capital Greek words ending in sigma and a
// true/false answer, typed in a session at every grading level: the exact
// answer is right, a stray or missing letter is not, and a missed card is
// retyped in the lower-case final form.
TEST_F(SessionFixture, SymbolOnlyAndFinalSigmaAnswersAtEveryLevel)
{
    struct Case {
        const char *correct;
        const char *typed;
        bool right;
    };
    const Case cases[] = {
        {"\u2260", "\u2260", true},
        {"\u2260", "x", false},
        {"?!", " ?! ", true},
        {"\U0001F600", "\U0001F600", true},
        {"%", "+", false},
        {"\u039F\u0394\u039F\u03A3", "\u03BF\u03B4\u03BF\u03C2", true},
        {"\u03BF\u03B4\u03BF\u03C2", "\u039F\u0394\u039F\u03A3", true},
        // A true/false question is graded exactly whatever the session's level.
        {"true", "tru", false},
    };
    for (const StudyGrading level : {StudyGrading::exact, StudyGrading::lenient, StudyGrading::veryLenient}) {
        for (const Case &c : cases) {
            const QString correct = QString::fromUtf8(c.correct);
            StudyProject set = makeSet({makeCard(correct, correct)});
            set.options.grading = level;
            StudySession &s = fresh(set);
            s.setUserAnswer(QString::fromUtf8(c.typed));
            s.pressMain();
            EXPECT_EQ(s.wasCorrect(), c.right) << c.correct << " / " << c.typed << " at " << int(level);
        }
    }

    const QString road = QString::fromUtf8("\u039F\u0394\u039F\u03A3");
    StudySession &s = fresh(makeSet({makeCard(road, road)}));
    s.setUserAnswer("x");
    s.pressMain();
    ASSERT_TRUE(s.requireRetype());
    s.setRetypeInput(QString::fromUtf8("\u03BF\u03B4\u03BF\u03C2"));
    EXPECT_TRUE(s.mainButtonEnabled());
}
