#include "SessionViewFixture.h"

#include "study/views/StudyGoalPicker.h"
#include "study/views/StudyOptionsSheet.h"
#include "study/views/StudySessionOverlay.h"
#include "study/views/StudySessionStatsPanel.h"
#include "theme/QVPillPicker.h"
#include "theme/QVToggle.h"

#include <QPainterPath>
#include <QPushButton>

using namespace qv;
using namespace qv::study;

namespace {

class StudySessionOverlayTest : public qv::test::SessionViewTest {
protected:
    // Whether a click at the centre of `w` would reach something in `layer`.
    bool clickLandsOn(QWidget *w, QWidget *layer) const
    {
        const QPoint at = w->mapTo(view.get(), w->rect().center());
        QWidget *hit = view->childAt(at);
        return hit && (hit == layer || layer->isAncestorOf(hit));
    }
};

} // namespace

TEST_F(StudySessionOverlayTest, ExitThenStayLeavesTheSessionAsItWas)
{
    make(twoCapitals());
    qcard()->answerField()->setFocus();
    QTest::keyClicks(qcard()->answerField(), "Par");
    const QUuid asked = *view->session().currentItemId();
    view->exitButton()->click();
    EXPECT_TRUE(view->exitConfirmOverlay()->isVisible());
    EXPECT_EQ(view->exitConfirmOverlay()->opacity(), 1.0); // no animation of its own
    // The layer takes every click meant for the card beneath.
    EXPECT_TRUE(clickLandsOn(qcard()->mainButton(), view->exitConfirmOverlay()));
    EXPECT_NE(view->focusWidget(), qcard()->answerField()); // keys can't reach the field beneath

    view->stayButton()->click();
    settle();
    EXPECT_FALSE(view->exitConfirmOverlay()->isVisible());
    EXPECT_EQ(closes, 0);
    EXPECT_EQ(*view->session().currentItemId(), asked);
    EXPECT_EQ(view->session().userAnswer(), "Par");
    EXPECT_EQ(qcard()->answerField()->text(), "Par");
    EXPECT_FALSE(view->session().showingResult());
    EXPECT_TRUE(updates.isEmpty());

    view->exitButton()->click();
    view->confirmExitButton()->click();
    view->confirmExitButton()->click(); // a second press after the layer closed
    settle();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(view->showExitConfirm());
}

TEST_F(StudySessionOverlayTest, GoalReachedShowsTheCompletionUntilKeepStudyingAndResetOnlyCallsTheOwner)
{
    make(tenCards());
    EXPECT_EQ(view->session().goalTarget(), 10);
    for (int i = 0; i < 9; ++i)
        answerRight();
    EXPECT_FALSE(view->completionOverlay()->isPresented());
    typeAnswer(view->session().correctAnswer());
    qcard()->mainButton()->click();
    EXPECT_TRUE(view->completionOverlay()->isPresented());
    EXPECT_TRUE(clickLandsOn(qcard()->mainButton(), view->completionOverlay()));

    view->keepStudyingButton()->click();
    EXPECT_FALSE(view->completionOverlay()->isPresented());
    for (int i = 0; i < 10; ++i)
        answerRight();
    ASSERT_TRUE(view->completionOverlay()->isPresented());

    // Reset only calls the owner.
    const qint64 answered = view->session().tally().answered;
    const int handed = int(updates.size());
    view->resetButton()->click();
    settle();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(view->session().tally().answered, answered);
    EXPECT_EQ(view->session().tally().correctCards.size(), 10);
    EXPECT_EQ(updates.size(), handed);
    EXPECT_TRUE(view->completionOverlay()->isPresented());
}

TEST_F(StudySessionOverlayTest, OverlaysFadeUnlessMotionIsReducedAndOptionsEditTheSessionCopyOnly)
{
    const StudyProject set = twoCapitals();
    make(set, false);
    // The goal picker fades in on appearing.
    EXPECT_LT(view->goalPickerOverlay()->opacity(), 1.0);
    scheduler.advance(250);
    EXPECT_EQ(view->goalPickerOverlay()->opacity(), 1.0);
    view->goalPicker()->goalButtons().at(0)->click();
    scheduler.advance(250);
    EXPECT_FALSE(view->goalPickerOverlay()->isVisible());

    view->optionsButton()->click();
    EXPECT_TRUE(view->optionsOverlay()->isVisible());
    EXPECT_LT(view->optionsOverlay()->opacity(), 1.0);
    scheduler.advance(250);
    view->optionsSheet()->closeButton()->click();
    // Leaving, it already lets clicks through.
    EXPECT_FALSE(clickLandsOn(qcard()->mainButton(), view->optionsOverlay()));
    scheduler.advance(250);
    EXPECT_FALSE(view->optionsOverlay()->isVisible());

    app->setReduceMotionEnabled(true);
    view->optionsButton()->click();
    EXPECT_EQ(view->optionsOverlay()->opacity(), 1.0);
    view->optionsSheet()->closeButton()->click();
    EXPECT_FALSE(view->optionsOverlay()->isVisible());

    // The options edit the session's copy only.
    view->optionsButton()->click();
    StudyOptionsSheet *sheet = view->optionsSheet();

    // Lenient grading from the sheet, closed with ×: the next check uses it
    // without a restart.
    sheet->gradingPicker()->pill(1)->click();
    EXPECT_EQ(view->session().options().grading, StudyGrading::lenient);
    sheet->closeButton()->click();
    EXPECT_EQ(currentTerm(), "France");
    QTest::keyClicks(qcard()->answerField(), "Pariss");
    qcard()->mainButton()->click();
    EXPECT_TRUE(view->session().wasCorrect());

    // Apply with every type off asks written questions and restarts.
    view->optionsButton()->click();
    sheet->writtenToggle()->click();
    EXPECT_FALSE(sheet->writtenToggle()->isChecked());
    EXPECT_TRUE(view->session().options().questionTypes.isEmpty());
    sheet->applyButton()->click();
    EXPECT_EQ(view->session().options().questionTypes, QList<StudyQuestionType>{StudyQuestionType::written});
    view->optionsButton()->click();
    EXPECT_TRUE(sheet->writtenToggle()->isChecked());
    // Nothing of it was handed back to be saved.
    for (const StudyProject &p : updates)
        EXPECT_EQ(p.options, set.options);
}

// The shade of every overlay ends where the session's parts end and rounds
// its corners as the question card does: nothing of it stands out beside or
// below the card's rounded corners. Clicks are still taken over the whole
// view.
TEST_F(StudySessionOverlayTest, TheShadeFollowsTheQuestionCardsRoundedCorners)
{
    make(twoCapitals(), false);
    view->session().chooseGoal(view->session().goalOptions().constFirst());
    settle();
    view->exitButton()->click();
    settle();
    StudySessionOverlay *exit = view->exitConfirmOverlay();
    ASSERT_TRUE(exit->isVisible());
    const QRect card(qcard()->mapTo(view.get(), QPoint(0, 0)), qcard()->size());
    ASSERT_TRUE(card.isValid());
    const double r = StudyQuestionCard::kRadius;
    QPainterPath cardShape;
    cardShape.addRoundedRect(QRectF(card), r, r);

    for (StudySessionOverlay *layer : {view->goalPickerOverlay(), view->optionsOverlay(), exit}) {
        const QPainterPath shade = layer->backdropShape();
        // No overhang below the card.
        EXPECT_NEAR(shade.boundingRect().bottom(), card.bottom() + 1, 0.5);
        EXPECT_EQ(shade.boundingRect().left(), card.left());
        EXPECT_EQ(shade.boundingRect().right(), card.right() + 1);
        // At the card's lower corners the shade and the card agree, point
        // for point.
        for (double dx = 0.5; dx < r; dx += 1) {
            for (double dy = 0.5; dy < r; dy += 1) {
                for (const QPointF at : {QPointF(card.left() + dx, card.bottom() + 1 - dy),
                                         QPointF(card.right() + 1 - dx, card.bottom() + 1 - dy)}) {
                    EXPECT_EQ(shade.contains(at), cardShape.contains(at)) << at.x() << "," << at.y();
                }
            }
        }
        EXPECT_TRUE(shade.contains(QPointF(card.center())));
        EXPECT_TRUE(shade.contains(QPointF(view->exitButton()->geometry().center())));
    }
    // The whole view still swallows a click below the shade.
    QWidget *hit = view->childAt(QPoint(view->width() / 2, view->height() - 2));
    EXPECT_TRUE(hit == exit || exit->isAncestorOf(hit));
    saveShot(*view, "study-exit-shade");
}
