#include "SessionViewFixture.h"

#include "study/views/StudyRootView.h"
#include "study/views/StudySessionOverlay.h"
#include "study/views/StudySessionPage.h"

using namespace qv;
using namespace qv::study;

namespace {
class StudySessionPageTest : public qv::test::SessionViewTest {};
} // namespace

TEST_F(StudySessionPageTest, TheWorkspaceSavesEveryAnswerAndRestartsAfterAReset)
{
    StudyPageFactories factories = StudyPageFactories::standIns();
    factories.session = studySessionPageFactory(services());
    auto *root = new StudyRootView(*app, scheduler, clock, factories);
    root->resize(800, 700);
    root->show();
    StudyProject set = tenCards();
    EXPECT_TRUE(app->saveStudyProject(set));
    root->setViewState(StudyViewState::study(set));
    settle();
    auto *page = qobject_cast<StudySessionPage *>(root->currentPage());
    ASSERT_NE(page, nullptr);
    StudySessionView &v = *page->view();
    for (int i = 0; i < 10; ++i)
        answerRight(v);
    settle();
    EXPECT_EQ(storedSet(set.id).items[3].correctCount, 1);
    ASSERT_TRUE(v.completionOverlay()->isPresented());

    v.resetButton()->click();
    settle();
    // The same page starts over from the reset set: no completion, a new
    // first question, and the next answer counts from zero.
    ASSERT_EQ(root->currentPage(), page);
    EXPECT_EQ(root->viewState(), StudyViewState::study(storedSet(set.id)));
    EXPECT_FALSE(v.completionOverlay()->isPresented());
    EXPECT_TRUE(v.session().tally().correctCards.isEmpty());
    EXPECT_EQ(v.session().currentItem()->term, "term 1");
    EXPECT_EQ(v.session().currentItem()->correctCount, 0);
    answerRight(v);
    settle();
    EXPECT_EQ(storedSet(set.id).items[0].correctCount, 1);
    EXPECT_EQ(storedSet(set.id).items[1].correctCount, 0);

    // Exit asks first, then goes back to the set's page.
    v.exitButton()->click();
    v.confirmExitButton()->click();
    settle();
    EXPECT_EQ(root->viewState().page, StudyPage::detail);
    delete root;
}

// A newer copy of the set is kept for the next appearance only; a restart
// starts over from the given set.
TEST_F(StudySessionPageTest, ThePageTakesANewerSetOnlyWhenItRestarts)
{
    const StudyProject set = tenCards();
    std::unique_ptr<StudyHostedPage> page(studySessionPageFactory(services())(set, actions(), nullptr));
    page->show();
    StudySessionView &v = *qobject_cast<StudySessionPage *>(page.get())->view();
    for (int i = 0; i < 10; ++i)
        answerRight(v);
    ASSERT_TRUE(v.completionOverlay()->isPresented());

    StudyProject renamed = updates.last();
    renamed.title = "Renamed";
    for (StudyItem &item : renamed.items)
        item.correctCount = 0;
    page->setProject(renamed);
    EXPECT_EQ(v.titleLabel()->text(), "Capitals");
    EXPECT_EQ(v.session().tally().answered, 10);
    page->restart(renamed);
    EXPECT_EQ(v.titleLabel()->text(), "Renamed");
    EXPECT_EQ(v.session().tally().answered, 0);
    EXPECT_FALSE(v.completionOverlay()->isPresented());
    EXPECT_FALSE(v.session().showGoalPicker());
    EXPECT_EQ(v.session().currentItem()->term, "term 1");
    EXPECT_TRUE(v.questionCard()->isVisible());
}
