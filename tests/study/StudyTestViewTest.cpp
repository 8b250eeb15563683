#include "StudyViewFixture.h"

#include "core/Random.h"
#include "study/views/StudyCapsuleLabel.h"
#include "study/views/StudyProgressBar.h"
#include "study/views/StudyTestOption.h"
#include "study/views/StudyTestQuestionCard.h"
#include "study/views/StudyTestView.h"
#include "theme/QVButton.h"
#include "theme/Theme.h"

#include <QMessageBox>
#include <QScrollArea>
#include <QTest>

using namespace qv;
using namespace qv::study;

namespace {

class StudyTestViewTest : public qv::test::StudyViewTest {
protected:
    SeededRandom random{7};
    std::unique_ptr<StudyTestView> view;
    QList<StudyProject> updates;
    int exits = 0;

    StudyTestView &open(const StudyProject &set)
    {
        view = std::make_unique<StudyTestView>(set, random, clock);
        QObject::connect(view.get(), &StudyTestView::updated, [this](const StudyProject &p) { updates << p; });
        QObject::connect(view.get(), &StudyTestView::exitRequested, [this] { ++exits; });
        view->resize(720, 520);
        view->show();
        return *view;
    }

    const QuizQuestion &question(qsizetype i) const { return view->test().questions()[i]; }
    StudyTestQuestionCard *cardAt(qsizetype i) const { return view->questionCards()[i]; }

    QList<StudyTestOption *> optionsWithText(qsizetype i, const QString &text) const
    {
        QList<StudyTestOption *> out;
        for (StudyTestOption *o : cardAt(i)->options())
            if (o->option() == text)
                out << o;
        return out;
    }
    StudyTestOption *option(qsizetype i, const QString &text) const
    {
        const auto found = optionsWithText(i, text);
        return found.isEmpty() ? nullptr : found.first();
    }
    QString wrongChoice(qsizetype i) const
    {
        for (const QString &c : question(i).choices)
            if (c != question(i).correct)
                return c;
        ADD_FAILURE() << "no wrong choice";
        return {};
    }
    QAbstractButton *finishButton(const QString &text) const { return buttonIn(view->finishAlert(), text); }
    // An unsubmitted test without picks, its cards in the drawn order.
    void expectFresh(StudyTestView &v, qsizetype count) const
    {
        EXPECT_FALSE(v.test().submitted());
        EXPECT_EQ(v.answeredLabel()->text(), QString("0/%1 answered").arg(count));
        EXPECT_EQ(v.progressBar()->value(), 0.0);
        EXPECT_FALSE(v.doneButton()->isVisible() || v.scoreLabel()->isVisible());
        ASSERT_EQ(v.questionCards().size(), count);
        for (qsizetype i = 0; i < count; ++i) {
            EXPECT_EQ(cardAt(i)->promptLabel()->text(), question(i).prompt);
            EXPECT_TRUE(cardAt(i)->correctLabel()->isHidden());
            ASSERT_EQ(cardAt(i)->options().size(), question(i).choices.size());
            for (qsizetype k = 0; k < question(i).choices.size(); ++k) {
                StudyTestOption *o = cardAt(i)->options()[k];
                EXPECT_EQ(o->textLabel()->text(), question(i).choices[k]); // display order
                EXPECT_TRUE(o->isEnabled() && o->markLabel()->text().isEmpty());
            }
        }
    }

    static void tap(QAbstractButton *b)
    {
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    }
};

} // namespace

TEST_F(StudyTestViewTest, FreshTestShowsSixDistinctCardsAndItsLabels)
{
    StudyTestView &v = open(makeSet("Big", 1, cards(20)));
    expectFresh(v, 6);
    for (qsizetype i = 0; i < 6; ++i)
        EXPECT_EQ(cardAt(i)->trueFalseBadge(), nullptr);
    EXPECT_EQ(v.countChip()->text(), QString("6 Questions"));
    // The test grows with its questions: nothing scrolls inside it.
    for (StudyTestQuestionCard *c : v.questionCards())
        EXPECT_TRUE(showsWhole(&v, c));
    EXPECT_TRUE(showsWhole(&v, v.mainButton()));

    // "1 Questions" stays plural.
    EXPECT_EQ(open(makeSet("One", 2, {card("solo", "only")})).countChip()->text(), QString("1 Questions"));
}

TEST_F(StudyTestViewTest, UserTextIsShownVerbatimAndTrueFalseCarriesTheBadge)
{
    StudyTestView &v = open(makeSet("Text", 1, {card("<b>Tom</b> & Jerry", "Salt & <i>pepper</i>")}));
    ASSERT_EQ(v.questionCards().size(), 1);
    QLabel *prompt = cardAt(0)->promptLabel();
    EXPECT_EQ(prompt->textFormat(), Qt::PlainText);
    EXPECT_EQ(prompt->text(), QString("<b>Tom</b> & Jerry"));
    QLabel *choice = cardAt(0)->options()[0]->textLabel();
    EXPECT_EQ(choice->textFormat(), Qt::PlainText);
    EXPECT_EQ(choice->text(), QString("Salt & <i>pepper</i>"));
    tap(v.mainButton());
    EXPECT_EQ(cardAt(0)->correctLabel()->textFormat(), Qt::PlainText);
    EXPECT_EQ(cardAt(0)->correctLabel()->text(), QString("Correct: Salt & <i>pepper</i>"));

    // True/false questions carry the badge and fixed options.
    open(makeSet("TF", 2, {card("sky is blue", "  TRUE \n")}));
    EXPECT_NE(cardAt(0)->trueFalseBadge(), nullptr);
    ASSERT_EQ(cardAt(0)->options().size(), 2);
    EXPECT_EQ(cardAt(0)->options()[0]->option(), QString("True"));
    EXPECT_EQ(cardAt(0)->options()[1]->option(), QString("False"));
}

TEST_F(StudyTestViewTest, OptionsWithTheSameTextShowOnce)
{
    // Two cards share "dup": every question shows it once at most.
    open(makeSet("Dup", 1, {card("a", "x"), card("b", "dup"), card("c", "dup")}));
    for (qsizetype i = 0; i < 3; ++i)
        EXPECT_LE(optionsWithText(i, "dup").size(), 1) << question(i).prompt.toStdString();
}

TEST_F(StudyTestViewTest, PicksFollowTheLastTapAndSubmitJudgesEveryQuestion)
{
    StudyTestView &v = open(makeSet("Submit", 1, cards(6)));
    const QString rightAnswer = question(0).correct;
    const QString wrong = wrongChoice(1);
    // Only the last tap counts; picks move the header and mark nothing yet.
    tap(option(0, wrongChoice(0)));
    tap(option(0, rightAnswer));
    EXPECT_EQ(question(0).selected, rightAnswer);
    EXPECT_EQ(v.answeredLabel()->text(), QString("1/6 answered"));
    EXPECT_EQ(option(0, rightAnswer)->fillColor(), Theme::surface());
    EXPECT_EQ(option(0, wrongChoice(0))->fillColor(), Theme::surfaceAlt());
    for (StudyTestOption *o : cardAt(0)->options())
        EXPECT_TRUE(o->markLabel()->text().isEmpty());
    tap(option(1, wrong));
    EXPECT_DOUBLE_EQ(v.progressBar()->value(), 2.0 / 6.0);
    EXPECT_TRUE(updates.isEmpty());
    tap(v.mainButton());

    EXPECT_EQ(v.scoreLabel()->text(), QString("Score: 1/6"));
    EXPECT_TRUE(v.scoreLabel()->isVisible() && v.doneButton()->isVisible());
    EXPECT_EQ(v.mainButton()->text(), QString("Retake Quiz"));
    EXPECT_EQ(v.answeredLabel()->text(), QString("2/6 answered"));

    const QColor accent = Theme::withOpacity(Theme::accent(), 0.18);
    const QColor danger = Theme::withOpacity(Theme::danger(), 0.18);
    // A right pick: accent and a check, no "Correct:" line.
    EXPECT_EQ(option(0, rightAnswer)->fillColor(), accent);
    EXPECT_EQ(option(0, rightAnswer)->markLabel()->text(), QString("\u2713"));
    EXPECT_TRUE(cardAt(0)->correctLabel()->isHidden());
    // A wrong pick: danger and a cross on it, the right option marked.
    EXPECT_EQ(option(1, wrong)->fillColor(), danger);
    EXPECT_EQ(option(1, wrong)->markLabel()->text(), QString("\u2715"));
    EXPECT_EQ(option(1, question(1).correct)->fillColor(), accent);
    EXPECT_EQ(option(1, question(1).correct)->markLabel()->text(), QString("\u2713"));
    EXPECT_FALSE(cardAt(1)->correctLabel()->isHidden());
    EXPECT_EQ(cardAt(1)->correctLabel()->text(), "Correct: " + question(1).correct);
    // Unanswered: wrong, the right option marked, the others untouched.
    for (qsizetype i = 2; i < 6; ++i) {
        EXPECT_EQ(question(i).isCorrect, false);
        EXPECT_FALSE(cardAt(i)->correctLabel()->isHidden());
        for (StudyTestOption *o : cardAt(i)->options()) {
            const bool right = o->option() == question(i).correct;
            EXPECT_EQ(o->fillColor(), right ? accent : Theme::surfaceAlt());
            EXPECT_EQ(o->markLabel()->text(), right ? QString("\u2713") : QString());
        }
    }

    // One hand-back (its counters are checked where the page stores them).
    ASSERT_EQ(updates.size(), 1);

    // Judged answers no longer change, and still read in the text colour.
    for (StudyTestOption *o : cardAt(1)->options()) {
        EXPECT_FALSE(o->isEnabled());
        const QLabel *label = o->textLabel();
        EXPECT_EQ(label->palette().color(QPalette::Disabled, label->foregroundRole()), Theme::text());
    }
    QTest::mouseClick(option(1, question(1).correct), Qt::LeftButton);
    EXPECT_EQ(question(1).selected, wrong);
    EXPECT_EQ(updates.size(), 1);
}

TEST_F(StudyTestViewTest, EmptySetShowsTheNoteAndExitRecordsNothingUnsubmitted)
{
    StudyProject set = makeSet("Empty", 1);
    StudyTestView &v = open(set);
    EXPECT_EQ(v.answeredLabel()->text(), QString("0/0 answered"));
    EXPECT_EQ(v.progressBar()->value(), 0.0);
    EXPECT_TRUE(v.emptyLabel()->isVisible());
    for (QWidget *w : QList<QWidget *>{v.mainButton(), v.scoreLabel(), v.questionsHost(), v.doneButton()})
        EXPECT_FALSE(w->isVisible());
    tap(v.exitButton());
    EXPECT_EQ(exits, 1);

    // Exit leaves at once and records no unsubmitted pick.
    StudyTestView &w = open(makeSet("Leave", 2, cards(3)));
    tap(option(0, question(0).correct));
    tap(w.exitButton());
    EXPECT_EQ(exits, 2);
    EXPECT_FALSE(w.isFinishConfirmShown());
    EXPECT_TRUE(updates.isEmpty());
}

TEST_F(StudyTestViewTest, FinishConfirmationAfterSubmission)
{
    StudyTestView &v = open(makeSet("Done", 1, cards(3)));
    tap(v.mainButton());
    ASSERT_TRUE(v.doneButton()->isVisible());

    // Cancel and Escape dismiss the question; Finish leaves.
    for (const auto &[answer, exitsAfter] : {std::pair{"Cancel", 0}, {"Escape", 0}, {"Finish", 1}}) {
        tap(v.doneButton());
        ASSERT_TRUE(v.isFinishConfirmShown());
        QMessageBox *box = v.finishAlert();
        EXPECT_EQ(box->buttonRole(finishButton("Finish")), QMessageBox::DestructiveRole);
        if (QString(answer) == "Escape")
            QTest::keyClick(box, Qt::Key_Escape);
        else
            click(finishButton(answer));
        settle();
        EXPECT_FALSE(v.isFinishConfirmShown()) << answer;
        EXPECT_EQ(exits, exitsAfter) << answer;
    }
    EXPECT_EQ(updates.size(), 1); // finishing records nothing more
}

TEST_F(StudyTestViewTest, DoubleClickOnSubmitSubmitsThenRetakes)
{
    StudyTestView &v = open(makeSet("Double", 1, cards(8)));
    const QList<QuizQuestion> first = v.test().questions();
    tap(option(0, question(0).correct));

    QVButton *main = v.mainButton();
    const QPoint at = main->rect().center();
    QTest::mousePress(main, Qt::LeftButton, {}, at);
    QTest::mouseRelease(main, Qt::LeftButton, {}, at);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(at), main->mapToGlobal(QPointF(at)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(main, &dbl);
    QTest::mouseRelease(main, Qt::LeftButton, {}, at);

    // The first click submitted, the second retook.
    ASSERT_EQ(updates.size(), 1);
    expectFresh(v, 6);
    EXPECT_NE(v.test().questions(), first); // a new draw
}
