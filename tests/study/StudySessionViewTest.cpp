#include "SessionViewFixture.h"

#include "study/views/StudyGoalPicker.h"
#include "study/views/StudyProgressBar.h"
#include "study/views/StudyQuizSetupCard.h"
#include "study/views/StudySessionOverlay.h"
#include "study/views/StudySessionStatsPanel.h"
#include "theme/Theme.h"

#include <QApplication>
#include <QPushButton>
#include <QSlider>
#include <QTest>

using namespace qv;
using namespace qv::study;

namespace {
using qv::test::Backdrop;

class StudySessionViewTest : public qv::test::SessionViewTest {
protected:
    void shoot(const StudyProject &set, const std::function<void(StudySessionView &)> &prepare, const QString &name,
               bool focus = true, StudySessionStyle style = StudySessionStyle::study)
    {
        auto *v = new StudySessionView(services(), set, style, focus, actions());
        Backdrop backdrop(v, {760, 560});
        backdrop.show();
        prepare(*v);
        saveShot(backdrop, name);
    }

    static StudyProject capitals(QList<StudyQuestionType> types)
    {
        return typedSet({card("France", "Paris"), card("Japan", "Tokyo"), card("Peru", "Lima"),
                         card("Kenya", "Nairobi & the Rift Valley")},
                        std::move(types));
    }
};

QColor colorOf(QLabel *label) { return label->palette().color(QPalette::WindowText); }

} // namespace

TEST_F(StudySessionViewTest, FocusModeAsksAtOnceWithOnlyExitAndTitle)
{
    make(twoCapitals());
    EXPECT_TRUE(view->exitButton()->isVisible());
    EXPECT_EQ(view->titleLabel()->text(), "Capitals");
    for (QWidget *hidden :
         QList<QWidget *>{view->optionsButton(), view->timePill(), view->statsPanel(), view->goalPickerOverlay(),
                          view->emptyLabel(), qcard()->resultLabel(), qcard()->overrideButton()})
        EXPECT_FALSE(hidden->isVisible());
    ASSERT_TRUE(qcard()->isVisible());
    EXPECT_EQ(qcard()->promptLabel()->text(), "France");
    EXPECT_TRUE(qcard()->answerField()->isVisible());
    EXPECT_TRUE(qcard()->choiceRows().isEmpty());
    // No button can take the keyboard, so Space never presses one.
    for (QVButton *b :
         {qcard()->mainButton(), qcard()->dontKnowButton(), qcard()->overrideButton(), view->exitButton()})
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus);
}

TEST_F(StudySessionViewTest, OutsideFocusModeTheGoalPickerStandsOverAnEmptyScreen)
{
    make(typedSet(cards(12)), false);
    EXPECT_TRUE(view->goalPickerOverlay()->isVisible());
    EXPECT_TRUE(view->emptyLabel()->isVisible());
    EXPECT_FALSE(qcard()->isVisible());
    EXPECT_TRUE(view->optionsButton()->isVisible());
    EXPECT_TRUE(view->statsPanel()->isVisible());

    QStringList labels;
    for (QVButton *b : view->goalPicker()->goalButtons())
        labels << b->text();
    EXPECT_EQ(labels, QStringList({"5 correct answers", "10 correct answers", "Learn all (12)"}));
    view->goalPicker()->goalButtons().at(0)->click();
    EXPECT_EQ(view->session().goalTarget(), 5);
    EXPECT_FALSE(view->goalPickerOverlay()->isPresented());
    EXPECT_TRUE(qcard()->isVisible());
    EXPECT_FALSE(view->emptyLabel()->isVisible());
    EXPECT_EQ(view->statsPanel()->goalLabel()->text(), "0/5 correct");
}

TEST_F(StudySessionViewTest, WrittenAnswerIsCheckedOnlyByTheButton)
{
    make(twoCapitals());
    QTest::keyClicks(qcard()->answerField(), "paris");
    EXPECT_EQ(view->session().userAnswer(), "paris");
    QTest::keyClick(qcard()->answerField(), Qt::Key_Return);
    EXPECT_FALSE(view->session().showingResult());
    EXPECT_TRUE(updates.isEmpty());

    qcard()->mainButton()->click();
    EXPECT_TRUE(qcard()->resultLabel()->isVisible());
    EXPECT_EQ(qcard()->resultLabel()->text(), "Correct!");
    EXPECT_EQ(colorOf(qcard()->resultLabel()), Theme::accent());
    EXPECT_EQ(qcard()->mainButton()->text(), "Next");
    EXPECT_FALSE(qcard()->overrideButton()->isVisible());
    EXPECT_EQ(updates.size(), 1);

    // The field stays editable and its text no longer matters; Return still does nothing.
    QTest::keyClick(qcard()->answerField(), Qt::Key_Return);
    EXPECT_EQ(currentTerm(), "France");
    qcard()->mainButton()->click();
    EXPECT_EQ(currentTerm(), "Japan");
    EXPECT_EQ(qcard()->answerField()->text(), "");
    EXPECT_EQ(qcard()->mainButton()->text(), "Check");
    EXPECT_EQ(updates.size(), 1); // advancing hands nothing back
}

TEST_F(StudySessionViewTest, AWrongWrittenAnswerAsksForARetypeBeforeNext)
{
    make(twoCapitals()); // a missed answer is retyped by default
    QTest::keyClicks(qcard()->answerField(), "Lyon");
    qcard()->mainButton()->click();
    EXPECT_EQ(qcard()->resultLabel()->text(), "Not quite. Correct: Paris");
    EXPECT_EQ(colorOf(qcard()->resultLabel()), Theme::danger());
    EXPECT_TRUE(qcard()->overrideButton()->isVisible());
    ASSERT_TRUE(qcard()->retypeBlock()->isVisible());
    EXPECT_FALSE(qcard()->mainButton()->isEnabled());

    typeRetype("Par");
    EXPECT_FALSE(qcard()->mainButton()->isEnabled());
    typeRetype("Paris.");
    EXPECT_FALSE(qcard()->mainButton()->isEnabled()); // no punctuation is dropped here
    QTest::keyClick(qcard()->retypeField(), Qt::Key_Return);
    view->session().pressMain();
    view->session().advance(); // the gate holds whatever asks to move on
    EXPECT_EQ(currentTerm(), "France");
    typeRetype("  PARIS  ");
    EXPECT_TRUE(qcard()->mainButton()->isEnabled());
    qcard()->mainButton()->click();
    EXPECT_EQ(currentTerm(), "Japan");
    EXPECT_FALSE(qcard()->retypeBlock()->isVisible());
    EXPECT_TRUE(view->session().retypeInput().isEmpty());
}

// A click on the disabled "Next" while a retype is required leaves the
// keyboard focus in the retype field: Qt would hand it to the nearest
// ancestor that takes click focus (the shell does), and the keys typed next
// would be lost.
TEST_F(StudySessionViewTest, AClickOnTheDisabledNextLeavesTheFocusInTheRetypeField)
{
    make(twoCapitals());
    QWidget shell; // like the application's shell, it takes the focus of clicks on nothing
    shell.setFocusPolicy(Qt::ClickFocus);
    view->setParent(&shell);
    view->move(0, 0);
    shell.resize(view->size());
    view->show();
    shell.show();
    shell.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&shell));

    QTest::keyClicks(qcard()->answerField(), "Lyon");
    qcard()->mainButton()->click();
    ASSERT_FALSE(qcard()->mainButton()->isEnabled());
    qcard()->retypeField()->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(QApplication::focusWidget(), "Pa");

    // Pressed through the window, as the desktop delivers a click.
    for (int click = 0; click < 2; ++click) {
        const QPoint at = qcard()->mainButton()->mapTo(&shell, qcard()->mainButton()->rect().center());
        QTest::mouseClick(shell.windowHandle(), Qt::LeftButton, {}, at);
        EXPECT_EQ(QApplication::focusWidget(), qcard()->retypeField()) << click;
    }
    QTest::keyClicks(QApplication::focusWidget(), "ris");
    EXPECT_EQ(qcard()->retypeField()->text(), "Paris");
    EXPECT_TRUE(qcard()->mainButton()->isEnabled());
    // An enabled button is pressed as ever.
    const QPoint at = qcard()->mainButton()->mapTo(&shell, qcard()->mainButton()->rect().center());
    QTest::mouseClick(shell.windowHandle(), Qt::LeftButton, {}, at);
    EXPECT_EQ(currentTerm(), "Japan");
    view.release(); // the shell owns it now
}

TEST_F(StudySessionViewTest, IWasCorrectActsOnceAndOnlyAfterAWrongAnswer)
{
    make(twoCapitals());
    qcard()->dontKnowButton()->click();
    EXPECT_EQ(updates.size(), 1);

    qcard()->overrideButton()->click();
    EXPECT_EQ(qcard()->resultLabel()->text(), "Correct!");
    EXPECT_FALSE(qcard()->retypeBlock()->isVisible());
    EXPECT_FALSE(qcard()->overrideButton()->isVisible());
    EXPECT_TRUE(qcard()->mainButton()->isEnabled());
    EXPECT_EQ(updates.size(), 2); // the counters are the session's to check
}

TEST_F(StudySessionViewTest, TappingAChoiceChecksAtOnceAndKeepsTheRows)
{
    StudyProject set = typedSet({card("Andorra", "Vella & Co"), card("Japan", "Tokyo"), card("Peru", "Lima"),
                                 card("Chile", "Santiago"), card("Kenya", "Nairobi")},
                                {StudyQuestionType::multipleChoice});
    make(set);
    EXPECT_EQ(qcard()->typeLabel()->text(), "Multiple Choice");
    EXPECT_FALSE(qcard()->answerField()->isVisible());
    const QList<StudyChoiceRow *> rows = qcard()->choiceRows();
    ASSERT_EQ(rows.size(), 4); // the answer and three others
    QStringList texts;
    for (StudyChoiceRow *r : rows)
        texts << r->choice();
    EXPECT_TRUE(texts.contains("Vella & Co")); // an ampersand stays as typed

    const QString answer = view->session().correctAnswer();
    StudyChoiceRow *wrong = nullptr;
    for (StudyChoiceRow *r : rows)
        if (r->choice() != answer)
            wrong = r;
    ASSERT_NE(wrong, nullptr);
    wrong->click();
    EXPECT_TRUE(view->session().showingResult());
    EXPECT_TRUE(wrong->isChosen());
    EXPECT_EQ(qcard()->resultLabel()->text(), "Not quite. Correct: " + answer);
    EXPECT_EQ(updates.size(), 1);
    // A missed choice needs no retype.
    EXPECT_FALSE(qcard()->retypeBlock()->isVisible());
    EXPECT_TRUE(qcard()->mainButton()->isEnabled());
    // The same rows stay, and a further tap is ignored.
    EXPECT_EQ(qcard()->choiceRows(), rows);
    for (StudyChoiceRow *r : rows)
        r->click();
    EXPECT_EQ(updates.size(), 1);
    EXPECT_EQ(view->session().selectedChoice(), wrong->choice());
}

TEST_F(StudySessionViewTest, TrueFalseCardsShowTwoRows)
{
    make(typedSet({card("The sky is blue", "True")}));
    EXPECT_EQ(qcard()->typeLabel()->text(), "True / False");
    EXPECT_FALSE(qcard()->answerField()->isVisible());
    ASSERT_EQ(qcard()->choiceRows().size(), 2);
    EXPECT_EQ(qcard()->choiceRows()[0]->choice(), "True");
    EXPECT_EQ(qcard()->choiceRows()[1]->choice(), "False");
}

TEST_F(StudySessionViewTest, StatisticsFollowTheAnswers)
{
    StudyProject set = typedSet({card("a", "1", 3, 0), card("b", "2", 2, 1), card("c", "3")});
    set.options.answerDirection = StudyAnswerDirection::definition;
    make(set, false);
    view->goalPicker()->goalButtons().last()->click(); // Learn all (3)
    StudySessionStatsPanel *stats = view->statsPanel();
    EXPECT_EQ(stats->accuracyLabel()->text(), "Accuracy 0%");
    EXPECT_EQ(stats->goalBar()->value(), 0.0);
    EXPECT_EQ(stats->masteryLabel()->text(), "1/3 mastered");
    EXPECT_EQ(stats->directionLabel()->text(), "Definition");
    answerRight();
    answerRight();
    typeAnswer("wrong");
    qcard()->mainButton()->click();
    EXPECT_EQ(stats->accuracyLabel()->text(), "Accuracy 66%");
    EXPECT_EQ(stats->goalLabel()->text(), "2/3 correct");
    EXPECT_DOUBLE_EQ(stats->goalBar()->value(), 2.0 / 3.0);
    EXPECT_EQ(stats->streakLabel()->text(), "0");
    EXPECT_EQ(colorOf(stats->streakLabel()), Theme::subtext());
}

TEST_F(StudySessionViewTest, TimedQuizCountsDownThenTakesNoAnswersAndItsSetupCancelsAtOnce)
{
    const StudyProject set = twoCapitals();
    make(set, true, StudySessionStyle::quiz);
    StudyQuizSetupCard *setup = view->quizSetupCard();
    ASSERT_TRUE(setup->isVisible());
    EXPECT_FALSE(qcard()->isVisible());
    EXPECT_EQ(setup->limitLabel()->text(), "Unlimited");
    setup->limitSlider()->setValue(1);
    EXPECT_EQ(setup->limitLabel()->text(), "1 min");
    setup->writtenButton()->click(); // the only type off: the start asks written
    EXPECT_TRUE(view->session().options().questionTypes.isEmpty());
    setup->startButton()->click();
    EXPECT_FALSE(setup->isVisible());
    ASSERT_TRUE(qcard()->isVisible());
    ASSERT_TRUE(view->timePill()->isVisible());
    EXPECT_EQ(view->timePill()->text(), "1:00");
    scheduler.advance(59'000);
    EXPECT_EQ(view->timePill()->text(), "0:01");
    scheduler.advance(1'000);
    EXPECT_EQ(view->timePill()->text(), "0:00");
    EXPECT_TRUE(view->session().quizClock().timeUp());
    const QColor danger = Theme::danger();
    EXPECT_TRUE(view->timePill()->styleSheet().contains(
        QString("color: rgba(%1, %2, %3,").arg(danger.red()).arg(danger.green()).arg(danger.blue())));

    QTest::keyClicks(qcard()->answerField(), "Paris");
    qcard()->mainButton()->click();
    qcard()->dontKnowButton()->click();
    view->session().tapChoice("Paris");
    EXPECT_FALSE(view->session().showingResult());
    EXPECT_TRUE(updates.isEmpty());
    EXPECT_EQ(qcard()->starButton()->text(), "☆");
    qcard()->starButton()->click(); // the star still works
    EXPECT_EQ(qcard()->starButton()->text(), "★");
    ASSERT_EQ(updates.size(), 1);
    for (const StudyItem &item : updates[0].items)
        EXPECT_EQ(item.isStarred, item.id == view->session().currentItemId());
    scheduler.advance(5'000);
    EXPECT_EQ(view->timePill()->text(), "0:00");

    // Cancelling the setup leaves without asking.
    make(set, true, StudySessionStyle::quiz);
    view->quizSetupCard()->cancelButton()->click();
    settle();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(view->exitConfirmOverlay()->isVisible());
}

TEST_F(StudySessionViewTest, Screenshots)
{
    using Prepare = std::function<void(StudySessionView &)>;
    const Prepare asIs = [](StudySessionView &) {};
    StudyProject written = capitals({StudyQuestionType::written});
    written.options.retypeMissed = true;
    const struct {
        StudyProject set;
        Prepare prepare;
        const char *name;
        bool focus = true;
        StudySessionStyle style = StudySessionStyle::study;
    } shots[] = {
        {written, asIs, "study-session-written"},
        {capitals({StudyQuestionType::multipleChoice}), asIs, "study-session-choice"},
        {typedSet({card("The Nile is the longest river in Africa", "True")}), asIs, "study-session-truefalse"},
        {written,
         [](StudySessionView &v) {
             v.session().setUserAnswer("Lyon");
             v.questionCard()->mainButton()->click();
         },
         "study-session-result"},
        {tenCards(),
         [](StudySessionView &v) {
             for (int i = 0; i < 9; ++i)
                 answerRight(v);
             v.session().setUserAnswer(v.session().correctAnswer());
             v.questionCard()->mainButton()->click();
         },
         "study-session-complete"},
        {written, [](StudySessionView &v) { v.exitButton()->click(); }, "study-session-exit"},
        {written, asIs, "study-session-goal", false},
        {written,
         [](StudySessionView &v) {
             v.session().chooseGoal(4);
             v.session().setUserAnswer("Paris");
             v.questionCard()->mainButton()->click();
             v.optionsButton()->click();
         },
         "study-session-options", false},
        {written, asIs, "study-session-quiz-setup", false, StudySessionStyle::quiz},
        {written,
         [this](StudySessionView &v) {
             v.session().setQuizTimeLimit(2);
             v.session().startQuiz();
             v.session().chooseGoal(4);
             scheduler.advance(125'000);
         },
         "study-session-quiz-timeup", false, StudySessionStyle::quiz},
    };
    for (const auto &shot : shots)
        shoot(shot.set, shot.prepare, shot.name, shot.focus, shot.style);
}
