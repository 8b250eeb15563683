#include "SetPageFixture.h"

#include "study/views/StudyCardAreaEffect.h"
#include "study/views/StudyCardAreaGhost.h"

using namespace qv;
using namespace qv::study;

namespace {

class SetPageMotionTest : public qv::test::SetPageTest {
protected:
    static QList<StudyCardAreaGhost *> ghosts(StudySetPage *page) { return page->findChildren<StudyCardAreaGhost *>(); }
};

} // namespace

TEST_F(SetPageMotionTest, LeavingTheFlashcardsFadesAndShrinksTheCardAreaAway)
{
    StudySetPage *page = open(makeSet("Set", 1, cards(3)));
    const QRect area(page->carousel()->cardView()->mapTo(page, QPoint(0, 0)), page->carousel()->cardView()->size());
    app->setReduceMotionEnabled(true); // the page's motion ignores it
    click(page->modeButton(StudyMode::learn));
    ASSERT_EQ(ghosts(page).size(), 1);
    StudyCardAreaGhost *ghost = ghosts(page).first();
    EXPECT_EQ(ghost->geometry(), area);
    EXPECT_TRUE(ghost->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_DOUBLE_EQ(ghost->effect()->progress(), 1);
    scheduler.advance(110);
    EXPECT_GT(ghost->effect()->progress(), 0.3);
    EXPECT_LT(ghost->effect()->progress(), 0.7);
    EXPECT_LT(ghost->effect()->scale(), 1);
    scheduler.advance(130);
    settle();
    EXPECT_TRUE(ghosts(page).isEmpty());

    // Learn to Review leaves no card area behind.
    click(page->modeButton(StudyMode::review));
    EXPECT_TRUE(ghosts(page).isEmpty());
}

TEST_F(SetPageMotionTest, ReturningToTheFirstCardSlidesQuickerThanAStepAndOnlyWhenThePositionMoved)
{
    StudyProject set = makeSet("Set", 1, cards(5));
    StudySetPage *page = open(set);
    StudyFlashcardView *view = page->carousel()->cardView();
    click(page->carousel()->nextButton());
    click(page->carousel()->nextButton());
    // A step slides for 0.28 s.
    scheduler.advance(StudySetPage::kReturnSlideMs + 10);
    EXPECT_TRUE(view->isSliding());
    scheduler.advance(StudySetPage::kStepSlideMs);
    EXPECT_FALSE(view->isSliding());

    // A change of card count brings the first card back in 0.22 s.
    set.items.removeAt(4);
    EXPECT_TRUE(app->saveStudyProject(set));
    settle();
    EXPECT_EQ(shownTerm(page), "term 1");
    EXPECT_TRUE(view->isSliding());
    scheduler.advance(StudySetPage::kReturnSlideMs + 10);
    EXPECT_FALSE(view->isSliding());

    // Already on the first card: a new first card simply replaces it.
    set.items.removeAt(0);
    EXPECT_TRUE(app->saveStudyProject(set));
    settle();
    EXPECT_EQ(shownTerm(page), "term 2");
    EXPECT_FALSE(view->isSliding());
}
