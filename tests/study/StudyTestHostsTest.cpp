#include "StudyViewFixture.h"

#include "core/Random.h"
#include "study/StudyInlineTest.h"
#include "study/StudyQuizPage.h"
#include "study/StudyRootView.h"
#include "study/StudyTestOption.h"
#include "study/StudyTestQuestionCard.h"
#include "study/StudyTestView.h"
#include "theme/QVButton.h"

#include <QImage>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

using namespace qv;
using namespace qv::study;

namespace {
using qv::test::Backdrop;

class StudyTestHostsTest : public qv::test::StudyViewTest {
protected:
    SeededRandom random{11};

    StudyPageFactories withQuiz()
    {
        StudyPageFactories f = StudyPageFactories::standIns();
        f.quiz = makeStudyQuizPage(random, clock);
        return f;
    }

    StudyRootView *root = nullptr;

    // The workspace with the real test page, showing the stored `set`'s test.
    StudyRootView *openQuiz(const StudyProject &set)
    {
        app->saveStudyProject(set);
        root = new StudyRootView(*app, scheduler, clock, withQuiz());
        root->setViewState(StudyViewState::quiz(set));
        return root;
    }

    static StudyTestView *quizView(StudyRootView &root)
    {
        auto *page = qobject_cast<StudyQuizPage *>(root.currentPage());
        return page ? page->view() : nullptr;
    }

    // Taps the right option of question `i`, or a wrong one.
    static void pick(StudyTestView &v, qsizetype i, bool right)
    {
        for (StudyTestOption *o : v.questionCards()[i]->options())
            if ((o->option() == v.test().questions()[i].correct) == right) {
                QTest::mouseClick(o, Qt::LeftButton);
                return;
            }
    }
    static void answer(StudyTestView &v, bool right)
    {
        for (qsizetype i = 0; i < v.test().questions().size(); ++i)
            pick(v, i, right);
    }
};

} // namespace

TEST_F(StudyTestHostsTest, FullPageRetakeAddsToTheStoredResults)
{
    const StudyProject set = makeSet("Capitals", 1, {card("France", "Paris"), card("Peru", "Lima", 2),
                                                     card("Kenya", "Nairobi", 0, 1)});
    Backdrop backdrop(openQuiz(set));
    backdrop.show();
    settle();
    StudyTestView *v = quizView(*root);
    ASSERT_NE(v, nullptr);
    EXPECT_LE(root->currentPage()->height(), StudyRootView::kQuizMaxHeight);

    answer(*v, false);
    QTest::mouseClick(v->mainButton(), Qt::LeftButton); // Submit: all wrong
    settle();                                            // the stored set comes back in
    QTest::mouseClick(v->mainButton(), Qt::LeftButton); // Retake Quiz
    answer(*v, true);
    clock.advanceMs(5000);
    QTest::mouseClick(v->mainButton(), Qt::LeftButton); // Submit: all right
    settle();

    const StudyProject stored = storedSet(set.id);
    EXPECT_EQ(stored.updatedAt, clock.nowUtc());
    for (const StudyItem &item : stored.items) {
        const StudyItem &before = *std::find_if(set.items.begin(), set.items.end(),
                                                [&](const StudyItem &b) { return b.id == item.id; });
        EXPECT_EQ(item.correctCount, before.correctCount + 1) << item.term.toStdString();
        EXPECT_EQ(item.incorrectCount, before.incorrectCount + 1) << item.term.toStdString();
        EXPECT_EQ(item.lastReviewedAt, clock.nowUtc());
    }

    // Exit goes back to the set's page at once.
    QTest::mouseClick(v->exitButton(), Qt::LeftButton);
    EXPECT_EQ(root->viewState().page, StudyPage::detail);
}

TEST_F(StudyTestHostsTest, InlineTestForwardsPushesAndStartsOver)
{
    StudyProject set = makeSet("Inline", 1, {card("a", "one"), card("b", "two"), card("c", "three")});
    QList<StudyProject> updates;
    int exits = 0;
    std::unique_ptr<StudyInlinePane> pane(makeInlineStudyTest(
        set, [&] { ++exits; }, [&](const StudyProject &p) { updates << p; }, random, clock));
    pane->resize(700, 900);
    pane->show();
    auto *inlineTest = qobject_cast<StudyInlineTest *>(pane.get());
    ASSERT_NE(inlineTest, nullptr);
    StudyTestView *v = inlineTest->view();
    EXPECT_LE(pane->height(), StudyTestView::kMaxHeight);

    // The set page pushes the stored set; results apply to it.
    StudyProject pushed = set;
    pushed.items[1].correctCount = 7;
    pane->setProject(pushed);
    QTest::mouseClick(v->mainButton(), Qt::LeftButton);
    ASSERT_EQ(updates.size(), 1);
    EXPECT_EQ(updates[0].items[1].correctCount, 7);
    EXPECT_EQ(updates[0].items[1].incorrectCount, 1);

    // Starting over: a fresh, unsubmitted test with no picks.
    pane->restart(updates[0]);
    EXPECT_FALSE(v->test().submitted());
    EXPECT_EQ(v->answeredLabel()->text(), QString("0/3 answered"));
    EXPECT_FALSE(v->doneButton()->isVisible());
    QTest::mouseClick(v->mainButton(), Qt::LeftButton);
    ASSERT_EQ(updates.size(), 2);
    EXPECT_EQ(updates[1].items[1].incorrectCount, 2);

    QTest::mouseClick(v->exitButton(), Qt::LeftButton);
    EXPECT_EQ(exits, 1);
}

TEST_F(StudyTestHostsTest, ScreenshotOfASubmittedTest)
{
    const StudyProject set = makeSet(
        "World capitals", 1,
        {card("France", "Paris"), card("Japan", "Tokyo"), card("The Nile is the longest river", "True"),
         card("Peru", "Lima"), card("Kenya", "Nairobi"), card("Salt & pepper go on", "the table, usually next to "
                                                                                    "each other in small shakers"),
         card("Canada", "Ottawa"), card("Chile", "Santiago")});
    Backdrop backdrop(openQuiz(set));
    backdrop.show();
    settle();
    StudyTestView *v = quizView(*root);
    ASSERT_NE(v, nullptr);
    // A right pick, a wrong pick, the rest unanswered.
    pick(*v, 0, true);
    pick(*v, 1, false);
    scheduler.advance(1000);
    const QImage fresh = backdrop.grab().toImage();
    EXPECT_TRUE(fresh.save(screenshotDir() + "/study-test-answering.png"));
    QTest::mouseClick(v->mainButton(), Qt::LeftButton);
    settle();
    scheduler.advance(1000);
    const QImage image = backdrop.grab().toImage();
    EXPECT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(screenshotDir() + "/study-test-submitted.png"));
    // The wrong pick and an unanswered question further down.
    v->scrollArea()->verticalScrollBar()->setValue(v->questionCards()[1]->y());
    scheduler.advance(1000);
    EXPECT_TRUE(backdrop.grab().toImage().save(screenshotDir() + "/study-test-submitted-scrolled.png"));
}

TEST_F(StudyTestHostsTest, ScreenshotOfANarrowInlineTest)
{
    const StudyProject set = makeSet(
        "Rivers", 1,
        {card("The Nile is the longest river on Earth, measured from its most distant source", "  TRUE "),
         card("Amazon", "Carries more water than any other river, by a wide margin, into the Atlantic")});
    std::unique_ptr<StudyInlinePane> pane(makeInlineStudyTest(
        set, [] {}, [](const StudyProject &) {}, random, clock));
    Backdrop backdrop(pane.release());
    backdrop.resize(520, 640);
    backdrop.show();
    scheduler.advance(1000);
    EXPECT_TRUE(backdrop.grab().toImage().save(screenshotDir() + "/study-test-inline-narrow.png"));
}
