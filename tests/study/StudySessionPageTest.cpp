#include "SessionViewFixture.h"

#include "study/views/StudyInlineSession.h"
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

TEST_F(StudySessionPageTest, TheInlinePaneRestartsFromTheGivenSetAndThePageOnlyThen)
{
    StudyProject set = tenCards();
    std::unique_ptr<StudyInlinePane> pane(makeInlineStudySession(services(), set, actions(), nullptr));
    auto *inlineSession = qobject_cast<StudyInlineSession *>(pane.get());
    ASSERT_NE(inlineSession, nullptr);
    pane->show();
    StudySessionView &v = *inlineSession->view();
    for (int i = 0; i < 10; ++i)
        answerRight(v);
    ASSERT_TRUE(v.completionOverlay()->isPresented());
    ASSERT_EQ(updates.size(), 10);

    StudyProject reset = updates.last();
    for (StudyItem &item : reset.items)
        item.correctCount = 0;
    pane->restart(reset);
    EXPECT_FALSE(v.completionOverlay()->isPresented());
    EXPECT_FALSE(v.session().showGoalPicker());
    ASSERT_TRUE(v.session().currentItem().has_value());
    EXPECT_EQ(v.session().currentItem()->term, "term 1");
    EXPECT_TRUE(v.questionCard()->isVisible());

    // The full page takes a newer copy only at its next appearance.
    std::unique_ptr<StudyHostedPage> page(makeStudySessionPage(services(), set, actions(), nullptr));
    auto *session = qobject_cast<StudySessionPage *>(page.get());
    ASSERT_NE(session, nullptr);
    page->show();
    answerRight(*session->view());
    StudyProject renamed = set;
    renamed.title = "Renamed";
    page->setProject(renamed);
    EXPECT_EQ(session->view()->titleLabel()->text(), "Capitals");
    EXPECT_EQ(session->view()->session().tally().answered, 1);
    page->restart(renamed);
    EXPECT_EQ(session->view()->titleLabel()->text(), "Renamed");
    EXPECT_EQ(session->view()->session().tally().answered, 0);
}
