#include "StudyViewFixture.h"

#include "study/StudyLibraryText.h"
#include "study/views/StudyElidedLabel.h"
#include "study/views/StudyImportView.h"
#include "study/views/StudyLibraryPage.h"
#include "study/views/StudyResumeCard.h"
#include "study/views/StudyRootView.h"
#include "study/views/StudySetRow.h"
#include "study/views/StudyStandInPage.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"
#include "theme/QVPillPicker.h"

#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>

using namespace qv;
using namespace qv::study;

namespace {
using qv::test::Backdrop;

using RecordingPage = qv::test::Recorder<StudyHostedPage>;

class StudyRootViewTest : public qv::test::StudyViewTest {
protected:
    QList<QPointer<RecordingPage>> built;

    // A factory of recording pages that keep the actions in `slot`.
    template <typename Actions>
    auto recorder(Actions RecordingPage::*slot)
    {
        return [this, slot](const StudyProject &p, Actions a, QWidget *parent) -> StudyHostedPage * {
            auto *page = new RecordingPage(p, parent);
            page->*slot = std::move(a);
            built << page;
            return page;
        };
    }

    StudyPageFactories recording()
    {
        StudyPageFactories f;
        f.detail = recorder(&RecordingPage::detail);
        f.session = recorder(&RecordingPage::session);
        f.quiz = recorder(&RecordingPage::quiz);
        return f;
    }

    std::unique_ptr<StudyRootView> makeRoot(StudyPageFactories f = StudyPageFactories::standIns())
    {
        auto root = std::make_unique<StudyRootView>(*app, scheduler, clock, std::move(f));
        root->resize(900, 700);
        root->show();
        return root;
    }

    RecordingPage *page(StudyRootView &root) { return static_cast<RecordingPage *>(root.currentPage()); }

    StudySetRow *rowTitled(StudyRootView &root, const QString &title)
    {
        for (StudySetRow *row : root.libraryPage()->rows())
            if (row->project().title == title)
                return row;
        return nullptr;
    }

    static QStringList rowTitles(StudyRootView &root)
    {
        QStringList out;
        for (StudySetRow *row : root.libraryPage()->rows())
            out << row->project().title;
        return out;
    }
};

} // namespace

TEST_F(StudyRootViewTest, PagesAndTheTopBar)
{
    const StudyProject bio = makeSet("Biology", 1, {card("cell", "unit")});
    EXPECT_TRUE(app->saveStudyProject(bio));
    auto root = makeRoot(recording());
    QSignalSpy topBar(root.get(), &StudyRootView::suppressTopBarChanged);
    EXPECT_EQ(root->viewState().page, StudyPage::list);
    EXPECT_FALSE(app->suppressTopBar());

    // A tap on the row outside its buttons opens the set page.
    StudySetRow *row = rowTitled(*root, "Biology");
    ASSERT_NE(row, nullptr);
    QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(row->width() / 4, row->height() - 8));
    EXPECT_EQ(root->viewState().page, StudyPage::detail);
    EXPECT_TRUE(app->suppressTopBar());
    EXPECT_TRUE(root->libraryPage()->isHidden());
    ASSERT_NE(page(*root), nullptr);
    EXPECT_EQ(page(*root)->initial, bio);

    page(*root)->detail.onStudy();
    EXPECT_EQ(root->viewState().page, StudyPage::study);
    EXPECT_TRUE(app->suppressTopBar());
    page(*root)->session.onClose();
    EXPECT_EQ(root->viewState().page, StudyPage::detail);
    page(*root)->detail.onQuiz();
    EXPECT_EQ(root->viewState().page, StudyPage::quiz);
    // The test grows with its questions inside the workspace's one scroll view.
    EXPECT_EQ(page(*root)->maximumHeight(), QWIDGETSIZE_MAX);
    page(*root)->quiz.onExit();
    EXPECT_EQ(root->viewState().page, StudyPage::detail);
    page(*root)->detail.onBack();
    EXPECT_EQ(root->viewState().page, StudyPage::list);
    EXPECT_FALSE(app->suppressTopBar());
    EXPECT_TRUE(root->libraryPage()->isVisible());
    EXPECT_EQ(topBar.size(), 2); // hidden once, shown again once
    settle();
    EXPECT_EQ(root->currentPage(), nullptr);

    // The row's own buttons go straight to the session and the test.
    click(rowTitled(*root, "Biology")->studyButton());
    EXPECT_EQ(root->viewState().page, StudyPage::study);
    page(*root)->session.onClose();
    page(*root)->detail.onBack();
    settle();
    click(rowTitled(*root, "Biology")->quizButton());
    EXPECT_EQ(root->viewState().page, StudyPage::quiz);

    // Every page built so far is gone except the one shown.
    settle();
    int alive = 0;
    for (const auto &p : built)
        alive += p ? 1 : 0;
    EXPECT_EQ(alive, 1);
}

TEST_F(StudyRootViewTest, PagesShowTheStoredCopyOrTheHeldOneAndKeepTheirWidget)
{
    StudyProject a = makeSet("Algebra", 1, {card("x", "1")});
    const StudyProject b = makeSet("Botany", 2, {card("leaf", "green")});
    EXPECT_TRUE(app->saveStudyProject(a));
    EXPECT_TRUE(app->saveStudyProject(b));
    auto root = makeRoot(recording());
    root->setViewState(StudyViewState::detail(a));
    QPointer<RecordingPage> first = page(*root);

    // A save of the same set hands the new copy to the same page; the page
    // value keeps the copy taken when it was entered.
    StudyProject renamed = a;
    renamed.title = "Algebra II";
    EXPECT_TRUE(app->saveStudyProject(renamed));
    // Handed over after the saving callback has returned, never inside it.
    EXPECT_TRUE(first->pushed.isEmpty());
    settle();
    ASSERT_EQ(page(*root), first.data());
    ASSERT_EQ(first->pushed.size(), 1);
    EXPECT_EQ(first->pushed.last().title, QString("Algebra II"));
    EXPECT_EQ(root->viewState().held->title, QString("Algebra"));
    EXPECT_EQ(root->shownSet()->title, QString("Algebra II"));

    // The callbacks pass on the shown set, not the held copy.
    first->detail.onStudy();
    ASSERT_NE(page(*root), first.data());
    EXPECT_EQ(page(*root)->initial.title, QString("Algebra II"));
    page(*root)->session.onClose();

    // A page of another set is a new page.
    QPointer<RecordingPage> detailA = page(*root);
    root->setViewState(StudyViewState::detail(b));
    EXPECT_NE(page(*root), detailA.data());
    EXPECT_EQ(page(*root)->initial.title, QString("Botany"));
    settle();
    EXPECT_TRUE(detailA.isNull());

    // A deleted set's page stays and shows the copy it holds.
    EXPECT_TRUE(app->deleteStudyProject(b));
    settle();
    EXPECT_EQ(root->viewState().page, StudyPage::detail);
    EXPECT_EQ(root->shownSet(), b);

    // A set page without a set is the library.
    root->setViewState({StudyPage::detail, std::nullopt});
    EXPECT_EQ(root->viewState().page, StudyPage::list);
    EXPECT_EQ(root->currentPage(), nullptr);
}

TEST_F(StudyRootViewTest, ResumeCardOffersTheNewestSetWhateverTheSearch)
{
    auto root = makeRoot(recording());
    StudyLibraryPage *lib = root->libraryPage();
    EXPECT_TRUE(lib->resumeCard()->isHidden());

    EXPECT_TRUE(app->saveStudyProject(makeSet("Older", 1)));
    EXPECT_TRUE(app->saveStudyProject(makeSet("Newest", 5)));
    settle();
    ASSERT_FALSE(lib->resumeCard()->isHidden());
    EXPECT_EQ(lib->resumeCard()->project().title, QString("Newest"));

    lib->searchField()->setText("Older");
    EXPECT_EQ(rowTitles(*root), QStringList{"Older"});
    EXPECT_EQ(lib->resumeCard()->project().title, QString("Newest"));
    EXPECT_TRUE(lib->resumeCard()->metaLabel()->text().endsWith(" \u2022 0 cards"));

    const StudyProject offered = lib->resumeCard()->project();
    click(lib->resumeCard()->continueButton());
    EXPECT_EQ(root->viewState(), StudyViewState::detail(offered));

    // The search text survives a visit to another page.
    page(*root)->detail.onBack();
    EXPECT_EQ(lib->searchText(), QString("Older"));
}

TEST_F(StudyRootViewTest, LibrarySearchEmptyStatesAndRows)
{
    auto root = makeRoot();
    StudyLibraryPage *lib = root->libraryPage();
    EXPECT_FALSE(lib->emptyState()->isHidden());
    const QString noSets = lib->emptyTitle()->text();

    EXPECT_TRUE(app->saveStudyProject(makeSet("Biology", 1, {card("a", "b", 2), card("c", "d", 5, 1)})));
    EXPECT_TRUE(app->saveStudyProject(makeSet("Intro bio", 2)));
    EXPECT_TRUE(app->saveStudyProject(makeSet("<b>Bold</b> & co", 3, {card("e", "f")})));
    settle();
    EXPECT_TRUE(lib->emptyState()->isHidden());
    EXPECT_EQ(lib->rows().size(), 3);

    lib->searchField()->setText("  ");
    EXPECT_EQ(lib->rows().size(), 3);
    lib->searchField()->setText(" bio");
    EXPECT_EQ(rowTitles(*root), QStringList{"Intro bio"});
    lib->searchField()->setText("BIO");
    EXPECT_EQ(rowTitles(*root), (QStringList{"Intro bio", "Biology"}));
    lib->searchField()->setText("zzz");
    EXPECT_TRUE(lib->rows().isEmpty());
    EXPECT_FALSE(lib->emptyState()->isHidden());
    EXPECT_NE(lib->emptyTitle()->text(), noSets); // says no set matches, not that there are none
    lib->searchField()->clear();

    // Figures of a row; the title is shown as typed, never as markup.
    StudySetRow *bio = rowTitled(*root, "Biology");
    ASSERT_NE(bio, nullptr);
    EXPECT_EQ(bio->metaLabel()->text(), QString("Grade 11 \u2022 2 items"));
    EXPECT_EQ(bio->masteredLabel()->text(), QString("Mastered 1/2"));
    EXPECT_EQ(bio->streakLabel()->text(), QString("Streak 5"));
    StudySetRow *markup = rowTitled(*root, "<b>Bold</b> & co");
    ASSERT_NE(markup, nullptr);
    EXPECT_EQ(markup->titleLabel()->textFormat(), Qt::PlainText);
}

TEST_F(StudyRootViewTest, RowsFollowChangesAndCutLongTitles)
{
    const StudyProject a = makeSet(QString("A very long title ").repeated(20), 1);
    StudyProject b = makeSet("Two\nlines", 2, {card("x", "1")});
    EXPECT_TRUE(app->saveStudyProject(a));
    EXPECT_TRUE(app->saveStudyProject(b));
    auto root = makeRoot();
    settle();
    QPointer<StudySetRow> rowA = rowTitled(*root, a.title);
    QPointer<StudySetRow> rowB = rowTitled(*root, b.title);
    ASSERT_TRUE(rowA && rowB);
    EXPECT_TRUE(rowA->titleLabel()->shownText().endsWith(QChar(0x2026)));
    EXPECT_LT(rowA->titleLabel()->shownText().size(), a.title.size());
    EXPECT_EQ(rowB->titleLabel()->shownText(), QString("Two lines"));

    // A search keeps the rows; a changed set gets a new row, in its new place.
    root->libraryPage()->searchField()->setText("two");
    root->libraryPage()->searchField()->clear();
    EXPECT_EQ(rowTitled(*root, a.title), rowA.data());
    b.items[0].correctCount = 2;
    b.updatedAt = b.updatedAt.addDays(-1);
    EXPECT_TRUE(app->saveStudyProject(b));
    settle();
    EXPECT_TRUE(rowB.isNull());
    EXPECT_EQ(rowTitled(*root, a.title), rowA.data());
    EXPECT_EQ(rowTitles(*root), (QStringList{a.title, b.title}));
    EXPECT_EQ(rowTitled(*root, b.title)->masteredLabel()->text(), QString("Mastered 1/1"));
    EXPECT_TRUE(app->deleteStudyProject(a));
    settle();
    EXPECT_TRUE(rowA.isNull());
}

TEST_F(StudyRootViewTest, GradeChoiceIsRememberedAndTheWindowOutlivesTheWorkspace)
{
    QPointer<CustomWindow> window;
    QPointer<StudyImportView> view;
    {
        auto root = makeRoot();
        QVPillPicker *picker = root->libraryPage()->gradePicker();
        EXPECT_EQ(picker->selection().toString(), QString("11"));
        EXPECT_FALSE(prefs.contains(library::kGradeKey));
        click(picker->pill(4));
        EXPECT_EQ(prefs.stringValue(library::kGradeKey), QString("University"));
        click(root->libraryPage()->createButton());
        ASSERT_NE(root->importView(), nullptr);
        EXPECT_EQ(root->importView()->grade(), QString("University"));
        window = root->studyWindow();
        view = root->importView();
    }
    // The set window outlives the workspace and still saves.
    ASSERT_TRUE(window);
    view->termField()->setText("a");
    view->definitionField()->setText("b");
    view->addManualCard();
    click(view->saveButton());
    EXPECT_EQ(app->studyProjects().size(), 1);
    settle();
    EXPECT_TRUE(window.isNull());

    auto again = makeRoot();
    EXPECT_EQ(again->libraryPage()->gradePicker()->selection().toString(), QString("University"));
    EXPECT_EQ(again->libraryPage()->gradeSelection(), QString("University"));
}

TEST_F(StudyRootViewTest, TheWindowIsReplacedAndSavingShowsTheSet)
{
    const StudyProject a = makeSet("Algebra", 1, {card("x", "1")});
    EXPECT_TRUE(app->saveStudyProject(a));
    auto root = makeRoot(recording());

    root->openStudyWindow(std::nullopt);
    QPointer<CustomWindow> first = root->studyWindow();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    first->content()->findChild<QVLineEdit *>()->setText("draft that is dropped");

    // A second opening closes the first window without saving anything.
    root->openStudyWindow(a);
    QPointer<CustomWindow> second = root->studyWindow();
    EXPECT_NE(second.data(), first.data());
    EXPECT_FALSE(first && first->isVisible());
    settle();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(app->studyProjects().size(), 1);
    EXPECT_EQ(root->importView()->heading()->text(), QString("Edit Study Set"));

    // Close leaves the page as it was.
    click(root->importView()->closeButton());
    EXPECT_EQ(root->studyWindow(), nullptr);
    EXPECT_EQ(root->viewState().page, StudyPage::list);
    settle();
    EXPECT_TRUE(second.isNull());

    // Saving a new set stores it, shows its page and closes the window.
    root->openStudyWindow(std::nullopt);
    StudyImportView *view = root->importView();
    view->titleField()->setText("Chemistry");
    view->termField()->setText("H2O");
    view->definitionField()->setText("water");
    click(view->addButton());
    click(view->saveButton());
    EXPECT_EQ(root->studyWindow(), nullptr);
    ASSERT_EQ(root->viewState().page, StudyPage::detail);
    EXPECT_EQ(root->shownSet()->title, QString("Chemistry"));
    EXPECT_TRUE(isStored(root->viewState().held->id));
    EXPECT_TRUE(app->suppressTopBar());
    settle();

    // A save of another set from the window replaces the open page.
    QPointer<RecordingPage> chemistry = page(*root);
    root->openStudyWindow(a);
    root->importView()->titleField()->setText("Algebra 2");
    click(root->importView()->saveButton());
    EXPECT_NE(page(*root), chemistry.data());
    EXPECT_EQ(page(*root)->initial.title, QString("Algebra 2"));

    // Saving the set whose page is open keeps that page and hands it the save.
    QPointer<RecordingPage> pageA = page(*root);
    page(*root)->detail.onEdit();
    ASSERT_NE(root->importView(), nullptr);
    root->importView()->titleField()->setText("Algebra 3");
    click(root->importView()->saveButton());
    settle();
    EXPECT_EQ(page(*root), pageA.data());
    ASSERT_FALSE(pageA->pushed.isEmpty());
    EXPECT_EQ(pageA->pushed.last().title, QString("Algebra 3"));
}

TEST_F(StudyRootViewTest, EditingASetKeepsItsProgress)
{
    StudyProject a = makeSet("Algebra", 1, {card("x", "1", 1), card("y", "2")});
    a.options.grading = StudyGrading::exact;
    a.options.shuffle = false;
    EXPECT_TRUE(app->saveStudyProject(a));
    auto root = makeRoot(recording());
    root->setViewState(StudyViewState::detail(a));
    page(*root)->detail.onEdit();
    StudyImportView *view = root->importView();
    ASSERT_NE(view, nullptr);

    // While the window is open the set is practised: the window's copy is stale.
    StudyProject practised = storedSet(a.id);
    practised.items[0].correctCount = 4;
    practised.items[0].isStarred = true;
    practised.items[0].lastReviewedAt = clock.nowUtc();
    practised.items[1].incorrectCount = 2;
    EXPECT_TRUE(app->saveStudyProject(practised));

    view->titleField()->setText("Algebra renamed");
    view->editCard(view->draft().cards()[1]);
    view->definitionField()->setText("two");
    view->addManualCard();
    view->termField()->setText("z");
    view->definitionField()->setText("3");
    view->addManualCard();
    click(view->saveButton());

    const StudyProject saved = storedSet(a.id);
    EXPECT_EQ(saved.title, QString("Algebra renamed"));
    EXPECT_EQ(saved.options, a.options);
    ASSERT_EQ(saved.items.size(), 3);
    EXPECT_EQ(saved.items[0].correctCount, 4);
    EXPECT_TRUE(saved.items[0].isStarred);
    EXPECT_EQ(saved.items[0].lastReviewedAt, practised.items[0].lastReviewedAt);
    EXPECT_EQ(saved.items[1].definition, QString("two"));
    EXPECT_EQ(saved.items[1].incorrectCount, 2);
    EXPECT_EQ(saved.items[2].correctCount, 0);
    EXPECT_FALSE(saved.items[2].isStarred);
}

TEST_F(StudyRootViewTest, SavesForASetDeletedMeanwhileKeepWhatTheyHold)
{
    StudyProject a = makeSet("Algebra", 1, {card("x", "1", 3)});
    a.options.retypeMissed = false;
    EXPECT_TRUE(app->saveStudyProject(a));
    auto root = makeRoot(recording());
    root->openStudyWindow(a);
    EXPECT_TRUE(app->deleteStudyProject(a));
    click(root->importView()->saveButton());
    const StudyProject saved = storedSet(a.id);
    EXPECT_EQ(saved.items[0].correctCount, 3);
    EXPECT_FALSE(saved.options.retypeMissed);

    // A session's result for a set deleted meanwhile is saved as it is.
    root->setViewState(StudyViewState::quiz(saved));
    EXPECT_TRUE(app->deleteStudyProject(saved));
    StudyProject result = saved;
    result.items[0].incorrectCount = 1;
    page(*root)->quiz.onUpdate(result);
    EXPECT_EQ(storedSet(a.id), result);
}

TEST_F(StudyRootViewTest, ASessionsAnswerDoesNotUndoAnEdit)
{
    const StudyProject a = makeSet("Algebra", 1, {card("x", "1"), card("y", "2")});
    EXPECT_TRUE(app->saveStudyProject(a));
    auto root = makeRoot(recording());
    root->setViewState(StudyViewState::study(a));
    RecordingPage *session = page(*root);
    const StudyProject sessionCopy = session->initial;

    // Edited in the set window while the session stays open.
    root->openStudyWindow(storedSet(a.id));
    root->importView()->titleField()->setText("Edited");
    root->importView()->editCard(root->importView()->draft().cards()[0]);
    root->importView()->termField()->setText("x edited");
    root->importView()->addManualCard();
    // (Saving moves to the set page; the session's callbacks stay wired.)
    const auto onUpdate = session->session.onUpdate;
    click(root->importView()->saveButton());

    // The session's copy is merged into the stored one (the merge rule has its own test).
    StudyProject answered = sessionCopy;
    answered.items[0].correctCount = 1;
    onUpdate(answered);
    const StudyProject stored = storedSet(a.id);
    EXPECT_EQ(stored.title, QString("Edited"));
    EXPECT_EQ(stored.items[0].term, QString("x edited"));
    EXPECT_EQ(stored.items[0].correctCount, 1);
}

TEST_F(StudyRootViewTest, PageChangesFadeUnlessMotionIsReducedAndStandInsGoBack)
{
    const StudyProject a = makeSet("Algebra", 1, {card("x", "1")});
    EXPECT_TRUE(app->saveStudyProject(a));
    auto root = makeRoot();
    root->setViewState(StudyViewState::detail(a));
    EXPECT_TRUE(root->isPageAnimating());
    scheduler.advance(100);
    EXPECT_TRUE(root->isPageAnimating());
    scheduler.advance(150);
    EXPECT_FALSE(root->isPageAnimating());

    app->setReduceMotionEnabled(true);
    root->setViewState(StudyViewState::list());
    EXPECT_FALSE(root->isPageAnimating());
    // Also after a save from the window.
    root->openStudyWindow(a);
    click(root->importView()->saveButton());
    EXPECT_EQ(root->viewState().page, StudyPage::detail);
    EXPECT_FALSE(root->isPageAnimating());

    // The stand-in pages show the title and go back.
    root->setViewState(StudyViewState::quiz(a));
    auto *standIn = qobject_cast<StudyStandInPage *>(root->currentPage());
    ASSERT_NE(standIn, nullptr);
    EXPECT_EQ(standIn->titleLabel()->text(), QString("Algebra"));
    click(standIn->backButton());
    EXPECT_EQ(root->viewState().page, StudyPage::detail);
    standIn = qobject_cast<StudyStandInPage *>(root->currentPage());
    click(standIn->backButton());
    EXPECT_EQ(root->viewState().page, StudyPage::list);
    settle();

    // Leaving the workspace from a set page gives the top bar back.
    root->setViewState(StudyViewState::detail(a));
    EXPECT_TRUE(app->suppressTopBar());
    root.reset();
    EXPECT_FALSE(app->suppressTopBar());
}

TEST_F(StudyRootViewTest, ScreenshotsOfTheLibrary)
{
    auto *root = new StudyRootView(*app, scheduler, clock);
    Backdrop backdrop(root);
    backdrop.show();
    saveShot(backdrop, "study-library-empty");

    EXPECT_TRUE(
        app->saveStudyProject(makeSet("Cell biology: the essentials of membranes, organelles and transport", 1,
                                      {card("cell", "unit", 2), card("atp", "energy", 3, 1), card("dna", "code", 1)})));
    EXPECT_TRUE(
        app->saveStudyProject(makeSet("Spanish verbs", 2, {card("ser", "to be", 2), card("tener", "to have", 2)})));
    EXPECT_TRUE(app->saveStudyProject(makeSet("Empty set", 3)));
    settle();
    saveShot(backdrop, "study-library-sets");
}

TEST_F(StudyRootViewTest, TheLibraryGrowsWithItsRowsInsideTheOneScrollView)
{
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(app->saveStudyProject(makeSet(QStringLiteral("Set %1").arg(i), i, cards(i % 3))));
    // Hosted as the dashboard hosts it: in a scroll view smaller than the list.
    QScrollArea area;
    area.setWidgetResizable(true);
    auto *root = new StudyRootView(*app, scheduler, clock);
    area.setWidget(root);
    area.resize(900, 500);
    area.show();
    settle();
    ASSERT_EQ(root->libraryPage()->rows().size(), 8);
    // Every row whole, at its own height: nothing squeezed or cut by an inner viewport.
    for (StudySetRow *row : root->libraryPage()->rows())
        EXPECT_TRUE(showsWhole(root, row)) << row->project().title.toStdString();
    EXPECT_GT(root->height(), area.viewport()->height());

    QTest::keyClicks(root->libraryPage()->searchField(), "nothing like it");
    settle();
    EXPECT_TRUE(showsWhole(root, root->libraryPage()->emptyTitle()));
    EXPECT_EQ(root->libraryPage()->emptyTitle()->text(), QString("No matches"));
}
