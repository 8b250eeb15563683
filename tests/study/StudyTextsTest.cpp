// The words of the study views, as the user reads them, state by state: one
// table for each view.
#include "SessionViewFixture.h"
#include "support/ShownTexts.h"

#include "study/views/StudyGoalPicker.h"
#include "study/views/StudyImportView.h"
#include "study/views/StudyOptionsSheet.h"
#include "study/views/StudyQuizSetupCard.h"
#include "study/views/StudySessionOverlay.h"
#include "study/views/StudySessionStatsPanel.h"
#include "study/views/StudyTestView.h"

#include <QMessageBox>
#include <QSlider>

using namespace qv;
using namespace qv::study;
using qv::test::missingTexts;
using qv::test::shownTexts;

namespace {

class StudyTextsTest : public qv::test::SessionViewTest {
protected:
    struct Step {
        const char *state;
        std::function<void()> reach;
        QStringList shown;
        std::function<QWidget *()> where = {};
    };

    void expectSteps(QWidget *root, const QList<Step> &steps)
    {
        for (const Step &s : steps) {
            s.reach();
            settle();
            QWidget *in = s.where ? s.where() : root;
            EXPECT_EQ(missingTexts(in, s.shown), "") << s.state;
        }
    }

    static QList<StudyItem> twelveCards() { return cards(12); }
};

} // namespace

// The session's goal picker, statistics panel, options sheet, completion card
// and exit confirmation, outside focus mode.
TEST_F(StudyTextsTest, SessionOverlaysOptionsSheetAndStatisticsPanel)
{
    StudyProject set = typedSet(twelveCards());
    set.options.answerDirection = StudyAnswerDirection::definition;
    make(set, false);
    const QList<Step> steps{
        {"goal picker",
         [] {},
         {"Set your Learn goal", "5 correct answers", "10 correct answers", "Learn all (12)", "Exit", "Capitals",
          "Options", "No items available."}},
        {"statistics panel",
         [&] { view->goalPicker()->goalButtons().at(0)->click(); },
         {"Answer Direction", "Definition", "Streak", "0", "Session Goal", "0/5 correct", "Accuracy 0%",
          "Mastery Progress", "0/12 mastered"},
         [&] { return static_cast<QWidget *>(view->statsPanel()); }},
        {"statistics after a right answer",
         [&] { answerRight(); },
         {"1", "1/5 correct", "Accuracy 100%", "0/12 mastered"},
         [&] { return static_cast<QWidget *>(view->statsPanel()); }},
        {"options sheet",
         [&] { view->optionsButton()->click(); },
         {QString::fromUtf8("\u00D7"), "Options", "Answer direction", "term", "definition", "mixed",
          "Study only starred", "Shuffle terms", "Grading", "Exact", "Lenient", "Very Lenient",
          "Retype correct answers you miss", "Question types", "Written", "Multiple Choice", "True/False", "Apply"},
         [&] { return static_cast<QWidget *>(view->optionsSheet()); }},
        {"completion card",
         [&] {
             view->optionsSheet()->applyButton()->click();
             view->goalPicker()->goalButtons().at(0)->click();
             for (int i = 0; i < 5; ++i)
                 answerRight();
         },
         {"Goal reached!", "Keep going or reset your session.", "Keep studying", "Reset"},
         [&] { return static_cast<QWidget *>(view->completionOverlay()); }},
        {"exit confirmation",
         [&] { view->exitButton()->click(); },
         {"Exit this session?", "Your progress is saved automatically.", "Stay", "Exit"},
         [&] { return static_cast<QWidget *>(view->exitConfirmOverlay()); }},
    };
    expectSteps(view.get(), steps);

    // Five cards in play: only "Learn all"; none: one goal of 1.
    for (const auto &[count, label] :
         {std::pair{5, QStringLiteral("Learn all (5)")}, std::pair{0, QStringLiteral("1 correct answers")}}) {
        make(typedSet(cards(count)), false);
        settle();
        const QSet<QString> shown = shownTexts(view->goalPicker());
        EXPECT_TRUE(shown.contains(label)) << count;
        EXPECT_EQ(view->goalPicker()->goalButtons().size(), 1) << count;
    }
}

// The timed quiz's setup card.
TEST_F(StudyTextsTest, QuizSetupCard)
{
    make(typedSet(twelveCards()), true, StudySessionStyle::quiz);
    StudyQuizSetupCard *card = view->quizSetupCard();
    const QList<Step> steps{
        {"fresh",
         [] {},
         {"Quiz Setup", "Random Mix", "Multiple Choice", "Word Problems", "True/False", "Time Limit", "Unlimited",
          "Shuffle Questions", "Starred Only", "Start Quiz", "Cancel"}},
        {"seven minutes", [&] { card->limitSlider()->setValue(7); }, {"7 min"}},
        {"thirty minutes", [&] { card->limitSlider()->setValue(30); }, {"30 min"}},
        {"no limit", [&] { card->limitSlider()->setValue(0); }, {"Unlimited"}},
    };
    expectSteps(card, steps);
    card->limitSlider()->setValue(1);
    card->startButton()->click();
    settle();
    EXPECT_EQ(view->timePill()->text(), "1:00");
}

// The set window's tabs, new and editing.
TEST_F(StudyTextsTest, ImportTabs)
{
    QList<StudyProject> saved;
    auto fresh = std::make_unique<StudyImportView>(
        *app, clock, std::nullopt, "11", [&](const StudyProject &p) { saved << p; }, [] {});
    fresh->resize(880, 700);
    fresh->show();
    StudyImportView *v = fresh.get();
    const QList<Step> steps{
        {"manual",
         [] {},
         {"Close", "New Study Set", "Set title", "Grade", "9", "10", "11", "12", "University", "Import", "Manual",
          "Paste", "PDF", "Add flashcards", "Term", "Definition", "Add", "No cards yet. Add terms and definitions.",
          "Create Set"}},
        {"paste",
         [&] { v->setImportMode(ImportMode::paste); },
         {"Paste flashcards", "Delimiter", "Auto", "Tab", "Comma", "Semicolon", "Colon", "Dash", "Pipe",
          "Use one term + definition per line."}},
        {"pdf",
         [&] { v->setImportMode(ImportMode::pdf); },
         {"PDF import", "PDF import with AI formatting is coming soon.", "Select PDF"}},
        {"nothing to save", [&] { v->saveButton()->click(); }, {"Add at least one card to save."}},
        {"a card listed",
         [&] {
             v->setImportMode(ImportMode::manual);
             v->termField()->setText("France");
             v->definitionField()->setText("Paris");
             v->addButton()->click();
         },
         {"France", "Paris", "Edit", "Delete", "Add at least one card to save."}},
        {"a card under edit", [&] { v->editButton(0)->click(); }, {"Update"}},
    };
    expectSteps(v, steps);

    auto editing = std::make_unique<StudyImportView>(
        *app, clock, makeSet("Capitals", 1, cards(2)), "11", [](const StudyProject &) {}, [] {});
    editing->show();
    EXPECT_EQ(missingTexts(editing.get(), {"Edit Study Set", "Save Changes", "Capitals", "term 1", "definition 2"}),
              "");
}

// The test page before and after submission, and with no cards.
TEST_F(StudyTextsTest, TestPage)
{
    StudyProject set = makeSet("Capitals", 1, {card("France", "Paris"), card("Up", "true")});
    auto page = std::make_unique<StudyTestView>(set, random, clock);
    page->resize(720, 520);
    page->show();
    StudyTestView *v = page.get();
    const QList<Step> steps{
        {"fresh",
         [] {},
         {"Exit", "Quiz", "Answer every question, then submit", "0/2 answered", "2 Questions", "Q1", "Q2",
          "TRUE / FALSE", "France", "Up", "Paris", "True", "False", "Submit"}},
        {"submitted with nothing picked",
         [&] { v->mainButton()->click(); },
         {"Review your answers", "I'm Done", "Retake Quiz", "Score: 0/2", "Correct: Paris", "Correct: True",
          QString::fromUtf8("\u2713")}},
    };
    expectSteps(v, steps);
    v->doneButton()->click();
    settle();
    ASSERT_TRUE(v->finishAlert());
    EXPECT_EQ(v->finishAlert()->text(), "Finish quiz?");
    EXPECT_EQ(v->finishAlert()->informativeText(), "Your score is saved. Are you sure you want to exit?");
    EXPECT_EQ(missingTexts(v->finishAlert(), {"Cancel", "Finish"}), "");

    auto empty = std::make_unique<StudyTestView>(makeSet("Empty", 1), random, clock);
    empty->show();
    EXPECT_EQ(missingTexts(empty.get(), {"No questions available.", "0 Questions", "0/0 answered"}), "");
}
