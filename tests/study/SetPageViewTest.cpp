#include "SetPageFixture.h"

#include "study/views/StudyCardAreaEffect.h"
#include "study/views/StudyEllipsisButton.h"
#include "study/views/StudySlideMenu.h"
#include "theme/Theme.h"

#include <QImage>

using namespace qv;
using namespace qv::study;

namespace {

class SetPageViewTest : public qv::test::SetPageTest {
protected:
    void save(QWidget &w, const QString &name, qint64 advanceMs = 1000)
    {
        settle();
        scheduler.advance(advanceMs); // by default past every slide, turn and fade
        // On the window's background, as the dashboard hosts the workspace.
        QImage image(w.size(), QImage::Format_ARGB32);
        image.fill(Theme::bg());
        w.render(&image, {}, {}, QWidget::DrawChildren);
        EXPECT_TRUE(image.save(screenshotDir() + "/" + name + ".png")) << name.toStdString();
    }
};

TEST_F(SetPageViewTest, HeaderShowsTitleAndPillsAsStoredAndFollowsEverySave)
{
    StudyProject set = makeSet("Salt & Pepper", 1, cards(1));
    set.grade = "University";
    set.options.shuffle = false;
    set.options.onlyStarred = true;
    set.options.grading = StudyGrading::veryLenient;
    set.options.questionTypes = {StudyQuestionType::trueFalse, StudyQuestionType::multipleChoice};
    StudySetPage *page = open(set);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->titleLabel()->text(), "Salt & Pepper");
    EXPECT_EQ(page->titleLabel()->textFormat(), Qt::PlainText);
    EXPECT_EQ(page->pillTexts(),
              (QStringList{"Grade University", "1 Cards", "Shuffle Off", "Starred Only", "Answers: mixed",
                           "Grading: very_lenient", "True False", "Multiple Choice"}));
    EXPECT_TRUE(page->updatedLabel()->text().startsWith("Updated "));

    // No question types show Written; the header follows every save.
    StudyProject verbs = makeSet("Verbs", 2);
    verbs.options.questionTypes.clear();
    page = open(verbs);
    EXPECT_EQ(page->pillTexts(), (QStringList{"Grade 11", "0 Cards", "Shuffle On", "All Cards", "Answers: mixed",
                                              "Grading: lenient", "Written"}));
    const QString before = page->updatedLabel()->text();
    verbs.title = "Irregular verbs";
    verbs.updatedAt = verbs.updatedAt.addDays(40);
    EXPECT_TRUE(app->saveStudyProject(verbs));
    settle();
    EXPECT_EQ(page->titleLabel()->text(), "Irregular verbs");
    EXPECT_NE(page->updatedLabel()->text(), before);
}

TEST_F(SetPageViewTest, AModeChangeStartsTheFlashcardsOverAndRecomputesButTheSameModeDoesNot)
{
    StudySetPage *page = open(makeSet("Set", 1, cards(3)));
    const int recomputes = page->statsRecomputeCount();
    click(page->carousel()->nextButton());
    click(page->carousel()->toggleButton());
    EXPECT_EQ(counter(page), "2 / 3");
    EXPECT_TRUE(page->deck().showDefinition);

    click(page->modeButton(StudyMode::learn));
    EXPECT_EQ(page->mode(), StudyMode::learn);
    EXPECT_EQ(page->statsRecomputeCount(), recomputes + 1);
    EXPECT_EQ(page->deck().currentIndex, 0);
    EXPECT_FALSE(page->deck().showDefinition);
    EXPECT_TRUE(page->cardList()->isHidden());
    EXPECT_EQ(page->modeButton(StudyMode::learn)->variant(), QVButtonVariant::primary);
    EXPECT_EQ(page->modeButton(StudyMode::flashcards)->variant(), QVButtonVariant::secondary);

    click(page->modeButton(StudyMode::flashcards));
    settle();
    EXPECT_EQ(page->statsRecomputeCount(), recomputes + 2);
    EXPECT_EQ(counter(page), "1 / 3");
    EXPECT_EQ(shownTerm(page), "term 1");
    EXPECT_EQ(page->carousel()->toggleButton()->text(), "Show Definition");
    EXPECT_FALSE(page->cardList()->isHidden());

    // Pressing the current mode changes nothing.
    click(page->carousel()->nextButton());
    click(page->modeButton(StudyMode::flashcards));
    EXPECT_EQ(counter(page), "2 / 3");
    EXPECT_EQ(page->statsRecomputeCount(), recomputes + 2);
}

TEST_F(SetPageViewTest, EnteringFlashcardsFadesAndGrowsTheCardAreaEvenWithReducedMotion)
{
    StudySetPage *page = open(makeSet("Set", 1, cards(3)));
    // The page opens with its card area at rest.
    EXPECT_DOUBLE_EQ(page->carousel()->cardAreaEffect()->progress(), 1);
    app->setReduceMotionEnabled(true); // the page's motion ignores it
    click(page->modeButton(StudyMode::learn));
    click(page->modeButton(StudyMode::flashcards));
    StudyCardAreaEffect *effect = page->carousel()->cardAreaEffect();
    EXPECT_DOUBLE_EQ(effect->progress(), 0);
    EXPECT_DOUBLE_EQ(effect->scale(), 0.98);
    scheduler.advance(110);
    EXPECT_GT(effect->progress(), 0.3);
    EXPECT_LT(effect->progress(), 0.7);
    EXPECT_NEAR(effect->scale(), 0.98 + 0.02 * effect->progress(), 1e-9);
    scheduler.advance(150);
    EXPECT_DOUBLE_EQ(effect->progress(), 1);
    EXPECT_DOUBLE_EQ(effect->scale(), 1);
}

TEST_F(SetPageViewTest, LearnAndReviewShareOneSessionThatGetsEveryStoredCopyAndOtherModesStartANewOne)
{
    StudyProject set = makeSet("Set", 1, cards(2));
    StudySetPage *page = open(set);
    click(page->modeButton(StudyMode::learn));
    ASSERT_EQ(sessions.size(), 1);
    EXPECT_EQ(page->sessionPane(), sessions[0]);
    click(page->modeButton(StudyMode::review));
    settle();
    EXPECT_EQ(sessions.size(), 1);
    EXPECT_EQ(page->sessionPane(), sessions[0]);
    ASSERT_TRUE(sessions[0]);
    // Every stored copy reaches the pane without restarting it.
    set.title = "Renamed";
    EXPECT_TRUE(app->saveStudyProject(set));
    settle();
    ASSERT_FALSE(sessions[0]->pushed.isEmpty());
    EXPECT_EQ(sessions[0]->pushed.last().title, "Renamed");
    EXPECT_TRUE(sessions[0]->restarts.isEmpty());

    click(page->modeButton(StudyMode::test));
    settle();
    EXPECT_FALSE(sessions[0]); // retired with its mode
    ASSERT_EQ(tests.size(), 1);
    EXPECT_EQ(page->testPane(), tests[0]);
    // The test grows inside the page; only the dashboard scrolls.
    EXPECT_EQ(page->testPane()->parentWidget()->maximumHeight(), QWIDGETSIZE_MAX);
    set.title = "Renamed again";
    EXPECT_TRUE(app->saveStudyProject(set));
    settle();
    ASSERT_FALSE(tests[0]->pushed.isEmpty());
    EXPECT_EQ(tests[0]->pushed.last().title, "Renamed again");
    EXPECT_EQ(sessions.size(), 1);

    click(page->modeButton(StudyMode::review));
    settle();
    EXPECT_FALSE(tests[0]);
    ASSERT_EQ(sessions.size(), 2);
    EXPECT_EQ(page->sessionPane(), sessions[1]);
}

TEST_F(SetPageViewTest, ExitAndCloseReturnToTheFirstFlashcardAndARetiredPaneCannotMoveThePage)
{
    StudySetPage *page = open(makeSet("Set", 1, cards(3)));
    click(page->modeButton(StudyMode::test));
    tests[0]->quiz.onExit();
    EXPECT_EQ(page->mode(), StudyMode::flashcards);
    settle();
    EXPECT_EQ(counter(page), "1 / 3");

    click(page->modeButton(StudyMode::learn));
    auto close = sessions[0]->session.onClose;
    close();
    EXPECT_EQ(page->mode(), StudyMode::flashcards);
    click(page->modeButton(StudyMode::review));
    close(); // the first session is gone: its button no longer counts
    EXPECT_EQ(page->mode(), StudyMode::review);
}

TEST_F(SetPageViewTest, AnInlineResultIsMergedSavedAndCountedAtOnce)
{
    StudyProject set = makeSet("Set", 1, cards(3));
    StudySetPage *page = open(set);
    click(page->modeButton(StudyMode::learn));
    StudyProject answered = sessions[0]->initial;

    // Meanwhile the set window renamed the set.
    StudyProject renamed = storedSet(set.id);
    renamed.title = "Renamed";
    EXPECT_TRUE(app->saveStudyProject(renamed));

    answered.items[1].incorrectCount = 1;
    answered.items[1].lastReviewedAt = clock.nowUtc();
    answered.updatedAt = clock.nowUtc();
    sessions[0]->session.onUpdate(answered);

    const StudyProject stored = storedSet(set.id);
    EXPECT_EQ(stored.title, "Renamed");
    EXPECT_EQ(stored.items[1].incorrectCount, 1);
    EXPECT_EQ(stored.updatedAt, clock.nowUtc());
    // Before the workspace hands the page the stored copy.
    EXPECT_EQ(page->sessionStats().weakCount, 1);
    EXPECT_EQ(page->progressRow()->weakChip()->text(), "Weak: 1");
    EXPECT_TRUE(page->weakSet().contains(set.items[1].id));

    // A finished test saves through the same handler.
    click(page->modeButton(StudyMode::test));
    StudyProject graded = storedSet(set.id);
    graded.items[0].correctCount = 2;
    tests[0]->quiz.onUpdate(graded);
    EXPECT_EQ(storedSet(set.id).items[0].correctCount, 2);
    EXPECT_EQ(page->progressRow()->masteredChip()->text(), "Mastered: 1");
}

TEST_F(SetPageViewTest, InlineResetClearsTheStoredProgressAndRestartsTheSession)
{
    // (What a reset keeps and clears is the library's rule, tested there.)
    StudyProject set = makeSet("Set", 1, {card("a", "1", 2), card("b", "2", 1, 3), card("c", "3", 4)});
    StudySetPage *page = open(set);
    EXPECT_EQ(progress(page), "Progress 66%");
    click(page->modeButton(StudyMode::review));
    sessions[0]->session.onReset();
    const StudyProject stored = storedSet(set.id);
    EXPECT_EQ(stored.items[1].incorrectCount, 0);
    EXPECT_EQ(progress(page), "Progress 0%");
    EXPECT_EQ(page->sessionStats().weakCount, 0);
    EXPECT_TRUE(sessions[0]->restarts.isEmpty()); // not under the pane's own button
    settle();
    ASSERT_EQ(sessions[0]->restarts.size(), 1);
    EXPECT_EQ(sessions[0]->restarts[0], stored);
    EXPECT_EQ(page->sessionPane(), sessions[0]);
}

TEST_F(SetPageViewTest, StatisticsChipsFollowTheClassRule)
{
    // Learning, weak (even with many right answers) and never answered.
    StudySetPage *mixed = open(
        makeSet("Mixed", 2,
                {card("a", "1", 1), card("b", "2", 1, 2), card("c", "3", 7, 1), card("d", "4"), card("e", "5", 2)}));
    EXPECT_EQ(mixed->progressRow()->masteredChip()->text(), "Mastered: 1");
    EXPECT_EQ(mixed->progressRow()->learningChip()->text(), "Learning: 1");
    EXPECT_EQ(mixed->progressRow()->weakChip()->text(), "Weak: 2");
    EXPECT_EQ(progress(mixed), "Progress 20%");
}

TEST_F(SetPageViewTest, SetAndCardMenusAreMutuallyExclusiveAndSlideOnTheirOwnClock)
{
    StudySetPage *page = open(makeSet("Set", 1, cards(3)));
    StudyCardRow *a = page->cardList()->cardRow(0);
    StudyCardRow *b = page->cardList()->cardRow(1);
    click(a->menuButton());
    EXPECT_EQ(page->activeCardMenu(), a->card().id);
    click(b->menuButton());
    EXPECT_EQ(page->activeCardMenu(), b->card().id);
    EXPECT_FALSE(a->menu()->isOpen());
    EXPECT_TRUE(b->menu()->isOpen());
    click(b->menuButton());
    EXPECT_FALSE(page->activeCardMenu().has_value());
    EXPECT_FALSE(b->menu()->isOpen());

    click(a->menuButton());
    click(page->setMenuButton());
    EXPECT_TRUE(page->showSetMenu());
    EXPECT_FALSE(page->activeCardMenu().has_value());
    EXPECT_FALSE(a->menu()->isOpen());
    click(b->menuButton());
    EXPECT_FALSE(page->showSetMenu());
    EXPECT_FALSE(page->setMenu()->isOpen());
    EXPECT_TRUE(b->menu()->isOpen());
    // Closing the set menu leaves the card menus alone.
    click(page->setMenuButton());
    click(page->setMenuButton());
    EXPECT_FALSE(page->showSetMenu());
    EXPECT_FALSE(page->activeCardMenu().has_value()); // opening it had closed b

    // The menus slide in and out on their own clock, whatever the motion setting.
    app->setReduceMotionEnabled(true);
    scheduler.advance(StudySlideMenu::kAnimationMs + 20);
    EXPECT_TRUE(page->setMenu()->isHidden());
    click(page->setMenuButton());
    EXPECT_TRUE(page->setMenu()->isAnimating());
    EXPECT_FALSE(page->setMenu()->isHidden());
    const int modesTop = page->modeButton(StudyMode::learn)->mapTo(page, QPoint()).y();
    scheduler.advance(StudySlideMenu::kAnimationMs + 20);
    EXPECT_FALSE(page->setMenu()->isAnimating());
    EXPECT_GT(page->setMenu()->height(), page->editSetButton()->height());
    // Open, the set menu floats under its button: the page below stays put.
    settle();
    EXPECT_EQ(page->modeButton(StudyMode::learn)->mapTo(page, QPoint()).y(), modesTop);
    EXPECT_GT(page->setMenu()->y(), page->setMenuButton()->mapTo(page, QPoint()).y());
    click(page->setMenuButton());
    scheduler.advance(StudySlideMenu::kAnimationMs + 20);
    EXPECT_TRUE(page->setMenu()->isHidden());
}

TEST_F(SetPageViewTest, SetMenuEntriesAndTheButtonsLeaveThroughTheWorkspace)
{
    StudyProject set = makeSet("Set", 1, cards(1));
    StudySetPage *page = open(set);
    // The menu closes before the workspace is called.
    click(page->setMenuButton());
    click(page->editSetButton());
    EXPECT_FALSE(page->showSetMenu());
    EXPECT_NE(root->studyWindow(), nullptr);
    root->closeStudyWindow();
    click(page->setMenuButton());
    click(page->deleteSetButton());
    EXPECT_FALSE(page->showSetMenu());
    EXPECT_NE(root->deleteAlert(), nullptr);
    EXPECT_TRUE(isStored(set.id));

    click(page->studyButton());
    EXPECT_EQ(root->viewState().page, StudyPage::study);
    for (bool quiz : {true, false}) {
        root->setViewState(StudyViewState::detail(set));
        settle();
        page = qobject_cast<StudySetPage *>(root->currentPage());
        ASSERT_NE(page, nullptr);
        click(quiz ? page->quizButton() : page->backButton());
        EXPECT_EQ(root->viewState().page, quiz ? StudyPage::quiz : StudyPage::list);
    }
    settle();
}

TEST_F(SetPageViewTest, DefaultPanesStandInUntilTheRealOnesArrive)
{
    StudySetPage *page = open(makeSet("Set", 1, cards(1)), true);
    click(page->modeButton(StudyMode::learn));
    ASSERT_NE(page->sessionPane(), nullptr);
    click(page->modeButton(StudyMode::test));
    ASSERT_NE(page->testPane(), nullptr);
    auto *back = page->testPane()->findChild<QVButton *>();
    ASSERT_NE(back, nullptr);
    click(back);
    EXPECT_EQ(page->mode(), StudyMode::flashcards);
    settle();
}

TEST_F(SetPageViewTest, ScreenshotsOfEveryMode)
{
    StudyProject set = makeSet("Cell biology: membranes, organelles & transport", 1,
                               {card("Mitochondrion", "The organelle that makes most of the cell's ATP", 2),
                                card("Osmosis", "Diffusion of water through a selectively permeable membrane", 1, 2),
                                card("Ribosome", "Builds proteins from amino acids", 1),
                                card("Lysosome",
                                     QString("Holds digestive enzymes that break down waste. ").repeated(24))});
    set.options.questionTypes = {StudyQuestionType::written, StudyQuestionType::multipleChoice,
                                 StudyQuestionType::trueFalse};
    StudySetPage *page = open(set, true);
    root->resize(960, 1500);
    save(*root, "setpage-flashcards");

    click(page->carousel()->nextButton());
    save(*root, "setpage-card-weak");
    click(page->carousel()->toggleButton());
    save(*root, "setpage-card-turning", 160);
    save(*root, "setpage-card-turned");
    click(page->carousel()->nextButton());
    click(page->carousel()->nextButton());
    click(page->carousel()->toggleButton());
    save(*root, "setpage-card-long");

    click(page->setMenuButton());
    click(page->cardList()->cardRow(0)->menuButton());
    click(page->setMenuButton());
    save(*root, "setpage-set-menu");
    click(page->setMenuButton());
    click(page->cardList()->cardRow(1)->menuButton());
    save(*root, "setpage-row-menu");
    click(page->cardList()->cardRow(1)->editButton());
    save(*root, "setpage-card-editor");

    for (StudyMode mode : {StudyMode::learn, StudyMode::review, StudyMode::test}) {
        click(page->modeButton(mode));
        save(*root, "setpage-" + rawValue(mode).toLower());
    }

    StudySetPage *empty = open(makeSet("Empty set", 2), true);
    ASSERT_NE(empty, nullptr);
    save(*root, "setpage-empty");
}

} // namespace
