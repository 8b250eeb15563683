#include "StudyViewFixture.h"

#include "core/Random.h"
#include "study/views/StudyQuizPage.h"
#include "study/views/StudyRootView.h"
#include "study/views/StudySessionPage.h"
#include "study/views/StudySetPage.h"
#include "study/views/StudyTestOption.h"
#include "study/views/StudyTestQuestionCard.h"
#include "study/views/StudyTestView.h"
#include "study/views/StudyWorkspacePages.h"
#include "theme/QVButton.h"

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
        f.quiz = studyQuizPageFactory(random, clock);
        return f;
    }

    StudyRootView *root = nullptr;

    // The workspace with the real test page, showing the stored `set`'s test.
    StudyRootView *openQuiz(const StudyProject &set)
    {
        EXPECT_TRUE(app->saveStudyProject(set));
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
    const StudyProject set = makeSet(
        "Capitals", 1, {card("France", "Paris"), card("Peru", "Lima", 2), card("Kenya", "Nairobi", 0, 1)});
    Backdrop backdrop(openQuiz(set));
    backdrop.show();
    settle();
    StudyTestView *v = quizView(*root);
    ASSERT_NE(v, nullptr);
    // The page grows with the test, so every question shows whole.
    for (StudyTestQuestionCard *c : v->questionCards())
        EXPECT_TRUE(showsWhole(root->currentPage(), c));
    EXPECT_TRUE(showsWhole(root->currentPage(), v->mainButton()));

    answer(*v, false);
    QTest::mouseClick(v->mainButton(), Qt::LeftButton); // Submit: all wrong
    settle();                                           // the stored set comes back in
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

TEST_F(StudyTestHostsTest, TheTestPageForwardsPushesAndStartsOver)
{
    StudyProject set = makeSet("Inline", 1, {card("a", "one"), card("b", "two"), card("c", "three")});
    QList<StudyProject> updates;
    int exits = 0;
    std::unique_ptr<StudyHostedPage> pane(studyQuizPageFactory(random, clock)(
        set, {[&] { ++exits; }, [&](const StudyProject &p) { updates << p; }}, nullptr));
    pane->resize(700, 900);
    pane->show();
    StudyTestView *v = qobject_cast<StudyQuizPage *>(pane.get())->view();
    for (StudyTestQuestionCard *c : v->questionCards())
        EXPECT_TRUE(showsWhole(pane.get(), c));

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
    const StudyProject set = makeSet("World capitals", 1,
                                     {card("France", "Paris"), card("Japan", "Tokyo"),
                                      card("The Nile is the longest river", "True"), card("Peru", "Lima"),
                                      card("Kenya", "Nairobi"),
                                      card("Salt & pepper go on", "the table, usually next to "
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
    saveShot(backdrop, "study-test-answering");
    QTest::mouseClick(v->mainButton(), Qt::LeftButton);
    settle();
    saveShot(backdrop, "study-test-submitted");
}

TEST_F(StudyTestHostsTest, ScreenshotOfANarrowInlineTest)
{
    const StudyProject set = makeSet(
        "Rivers", 1,
        {card("The Nile is the longest river on Earth, measured from its most distant source", "  TRUE "),
         card("Amazon", "Carries more water than any other river, by a wide margin, into the Atlantic")});
    std::unique_ptr<StudyHostedPage> pane(studyQuizPageFactory(random, clock)(set, {}, nullptr));
    Backdrop backdrop(pane.release());
    backdrop.resize(520, 640);
    backdrop.show();
    saveShot(backdrop, "study-test-inline-narrow");
}

// The application's study workspace is built from the real pages: a set
// opens its set page, whose Learn and Test modes host the inline session
// and test, and Study and Quiz open the full-page session and test.
TEST_F(StudyTestHostsTest, EveryPageOfASetIsTheRealOne)
{
    const StudyProject bio = makeSet("Biology", 1, {card("cell", "unit"), card("atom", "particle")});
    EXPECT_TRUE(app->saveStudyProject(bio));
    StudyRootView root(*app, scheduler, clock, studyWorkspacePages(*app, scheduler, clock, random));
    root.resize(900, 700);
    root.show();

    root.setViewState(StudyViewState::detail(bio));
    settle();
    auto *setPage = qobject_cast<StudySetPage *>(root.currentPage());
    ASSERT_NE(setPage, nullptr);

    setPage->modeButton(StudyMode::learn)->click();
    settle();
    EXPECT_NE(setPage->findChild<StudySessionPage *>(), nullptr);
    setPage->modeButton(StudyMode::test)->click();
    settle();
    EXPECT_NE(setPage->findChild<StudyQuizPage *>(), nullptr);

    root.setViewState(StudyViewState::study(bio));
    settle();
    EXPECT_NE(qobject_cast<StudySessionPage *>(root.currentPage()), nullptr);
    root.setViewState(StudyViewState::quiz(bio));
    settle();
    EXPECT_NE(qobject_cast<StudyQuizPage *>(root.currentPage()), nullptr);
}
