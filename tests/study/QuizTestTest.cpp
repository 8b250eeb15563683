#include "SessionFixture.h"

#include "study/Grading.h"
#include "study/QuizTest.h"

#include <QSet>

using namespace qv;
using namespace qv::study;
using namespace qv::study::test;

namespace {
class QuizTestFixture : public SessionFixture {
protected:
    QuizTest &page(const StudyProject &p)
    {
        quiz = std::make_unique<QuizTest>(seeded, clock);
        quiz->setUpdateHandler([this](const StudyProject &set) { updates.append(set); });
        quiz->setProject(p);
        quiz->begin();
        return *quiz;
    }
    std::unique_ptr<QuizTest> quiz;
};
} // namespace

TEST_F(QuizTestFixture, AtMostSixDistinctCards)
{
    EXPECT_EQ(QuizTest::makeQuestions(makeSet(cards(3)), seeded).size(), 3);
    for (int round = 0; round < 20; ++round) {
        const QList<QuizQuestion> qs = QuizTest::makeQuestions(makeSet(cards(20)), seeded);
        ASSERT_EQ(qs.size(), 6);
        QSet<QUuid> ids;
        for (const QuizQuestion &q : qs)
            ids.insert(q.id);
        EXPECT_EQ(ids.size(), 6);
    }
    // A repeated id (a hand-edited file) still gives one question per card.
    StudyProject dup = makeSet(cards(3));
    dup.items[1].id = dup.items[0].id;
    EXPECT_EQ(QuizTest::makeQuestions(dup, seeded).size(), 2);
    EXPECT_TRUE(QuizTest::makeQuestions(makeSet({}), seeded).isEmpty());
}

TEST_F(QuizTestFixture, TrueFalseDetectedOnTheDefinitionOnly)
{
    const QList<QuizQuestion> qs = QuizTest::makeQuestions(
        makeSet({makeCard("up", "  TRUE \n"), makeCard("down", "false"), makeCard("true", "a word")}), seeded);
    for (const QuizQuestion &q : qs) {
        if (q.prompt == "up") {
            EXPECT_TRUE(q.isTrueFalse);
            EXPECT_EQ(q.correct, QString("True"));
            EXPECT_EQ(q.choices, (QStringList{"True", "False"}));
        } else if (q.prompt == "down") {
            EXPECT_TRUE(q.isTrueFalse);
            EXPECT_EQ(q.correct, QString("False"));
        } else {
            EXPECT_FALSE(q.isTrueFalse);
            EXPECT_EQ(q.choices, QStringList{"a word"}); // boolean definitions are never distractors
        }
    }
    EXPECT_TRUE(QuizTest::isBooleanAnswer(" False\t"));
    EXPECT_FALSE(QuizTest::isBooleanAnswer("true."));
}

TEST_F(QuizTestFixture, DistractorsFromEveryCardButBooleansAndExactDuplicates)
{
    // Eight cards: the tested card's duplicates (a case variant included) are
    // left out, and at most three distractors are taken.
    QList<StudyItem> items{makeCard("a", "Paris"), makeCard("b", "Paris"), makeCard("c", "paris"),
                           makeCard("d", "Rome"),  makeCard("e", "true"),  makeCard("f", "Oslo"),
                           makeCard("g", "Bern"),  makeCard("h", "Kyiv")};
    for (int round = 0; round < 30; ++round) {
        for (const QuizQuestion &q : QuizTest::makeQuestions(makeSet(items), seeded)) {
            if (q.isTrueFalse)
                continue;
            EXPECT_LE(q.choices.size(), 4);
            EXPECT_EQ(q.choices.count(q.correct), 1);
            EXPECT_FALSE(q.choices.contains("true"));
        }
    }
    const QList<QuizQuestion> single = QuizTest::makeQuestions(makeSet({makeCard("x", "only")}), seeded);
    ASSERT_EQ(single.size(), 1);
    EXPECT_EQ(single[0].choices, QStringList{"only"});
}

TEST_F(QuizTestFixture, SubmitCountsEachCardStillThereOnceAndStampsIt)
{
    StudyProject p = makeSet(cards(3));
    QuizTest &t = page(p);
    clock.advanceMs(60'000);
    t.select(t.questions()[0].correct, 0);
    StudyProject trimmed = p;
    trimmed.items.removeAll(cardIn(p, t.questions()[1].id)); // deleted meanwhile: its result is dropped
    t.setProject(trimmed);
    t.submit();
    ASSERT_EQ(updates.size(), 1);
    ASSERT_EQ(updates[0].items.size(), 2);
    EXPECT_EQ(updates[0].updatedAt, clock.nowUtc());
    for (const StudyItem &item : updates[0].items) {
        const bool right = item.id == t.questions()[0].id;
        EXPECT_EQ(item.correctCount, right ? 1 : 0);
        EXPECT_EQ(item.incorrectCount, right ? 0 : 1);
        EXPECT_EQ(item.lastReviewedAt, clock.nowUtc());
    }
}

TEST_F(QuizTestFixture, EmptySetAndLeavingWithoutSubmitting)
{
    QuizTest &t = page(makeSet({}));
    EXPECT_TRUE(t.questions().isEmpty());

    QuizTest &u = page(makeSet(cards(4)));
    u.select(u.questions()[0].correct, 0);
    u.select("x", 4); // outside the test: nothing
    u.select("x", -1);
    EXPECT_EQ(u.answeredCount(), 1);
    u.begin(); // the page comes on screen again: picks are dropped, nothing recorded
    EXPECT_EQ(u.answeredCount(), 0);
    EXPECT_TRUE(updates.isEmpty());
}

TEST_F(QuizTestFixture, RetakeBeforeThePushKeepsTheFirstResults)
{
    // The owner has not pushed the stored set back yet when the test is
    // retaken and submitted again: the first results must stay.
    QuizTest &t = page(makeSet(cards(2)));
    t.pressMain();
    t.pressMain();
    t.select(t.questions()[0].correct, 0);
    t.pressMain();
    ASSERT_EQ(updates.size(), 2);
    for (const StudyItem &item : updates[1].items) {
        EXPECT_EQ(item.incorrectCount + item.correctCount, 2);
        EXPECT_GE(item.incorrectCount, 1);
    }
}

// Random sets whose sides repeat (case and spacing variants included): in a
// session and on the test page, no question offers two options that read
// alike, and each keeps its correct option.
TEST_F(QuizTestFixture, OptionsOfAQuestionAreDistinctAndKeepTheCorrectOne)
{
    const QStringList words{
        "Paris", "paris", " Paris ", "Rome", "ROME", "Oslo", "\u03bd\u03b5\u03c1\u03cc", "\u039d\u0395\u03a1\u038c"};
    const auto assertDistinct = [](const QStringList &choices, const QString &correct) {
        QStringList seen;
        for (const QString &c : choices)
            seen.append(normalize(c, StudyGrading::exact));
        EXPECT_EQ(QSet<QString>(seen.begin(), seen.end()).size(), seen.size()) << choices.join('|').toStdString();
        EXPECT_TRUE(choices.contains(correct)) << correct.toStdString();
    };
    SeededRandom draws(7);
    for (int round = 0; round < 60; ++round) {
        QList<StudyItem> items;
        const int n = int(draws.uniformInt(2, 7));
        for (int i = 0; i < n; ++i)
            items.append(
                makeCard(words[draws.uniformInt(0, words.size() - 1)], words[draws.uniformInt(0, words.size() - 1)]));
        const StudyProject set = makeSet(items, true, {StudyQuestionType::multipleChoice});

        for (const QuizQuestion &q : QuizTest::makeQuestions(set, seeded))
            assertDistinct(q.choices, q.correct);

        StudySession &s = fresh(set);
        for (int question = 0; question < 6; ++question) {
            if (s.currentQuestionType() == StudyQuestionType::multipleChoice)
                assertDistinct(s.multipleChoices(), s.correctAnswer());
            s.advance();
        }
    }
}

// The test page compares the picked option with the right one as written, so
// symbol-only and capital Greek answers are right whatever the set's grading.
TEST_F(QuizTestFixture, SymbolOnlyAndFinalSigmaOptionsAreRightAtEveryLevel)
{
    const QStringList answers{"\u2260", "?!", "\U0001F600", "\u039F\u0394\u039F\u03A3"};
    for (const StudyGrading level : {StudyGrading::exact, StudyGrading::lenient, StudyGrading::veryLenient}) {
        QList<StudyItem> items;
        for (const QString &a : answers)
            items.append(makeCard("term " + a, a));
        StudyProject set = makeSet(items);
        set.options.grading = level;
        QuizTest &q = page(set);
        ASSERT_EQ(q.questions().size(), answers.size());
        for (qsizetype i = 0; i < q.questions().size(); ++i)
            q.select(q.questions()[i].correct, i);
        q.submit();
        EXPECT_EQ(q.score(), answers.size()) << int(level);

        QuizTest &wrong = page(set);
        for (qsizetype i = 0; i < wrong.questions().size(); ++i)
            for (const QString &option : wrong.questions()[i].choices)
                if (option != wrong.questions()[i].correct)
                    wrong.select(option, i);
        wrong.submit();
        EXPECT_EQ(wrong.score(), 0) << int(level);
    }
}
