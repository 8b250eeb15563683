#include "StudyViewFixture.h"

#include "model/Storage.h"
#include "study/views/StudyDeleteOffer.h"
#include "study/views/StudyLibraryPage.h"
#include "study/views/StudyRootView.h"
#include "study/views/StudySetRow.h"
#include "study/views/StudyUndoBanner.h"
#include "theme/QVButton.h"

#include <QMessageBox>

using namespace qv;
using namespace qv::study;

namespace {

class StudyDeletionTest : public qv::test::StudyViewTest {
protected:
    std::unique_ptr<StudyRootView> root;
    StudyProject bio;
    StudyProject chem;

    void SetUp() override
    {
        StudyViewTest::SetUp();
        bio = makeSet("Biology \"core\"", 1, {card("cell", "unit", 2), card("atp", "energy", 1, 1)});
        bio.items[0].isStarred = true;
        bio.options.grading = StudyGrading::veryLenient;
        chem = makeSet("Chemistry", 2, {card("H2O", "water")});
        EXPECT_TRUE(app->saveStudyProject(bio));
        EXPECT_TRUE(app->saveStudyProject(chem));
        root = std::make_unique<StudyRootView>(*app, scheduler, clock);
        root->resize(900, 700);
        root->show();
    }

    void TearDown() override
    {
        root.reset();
        StudyViewTest::TearDown();
    }

    void requestFromRow(const QString &title)
    {
        for (StudySetRow *row : root->libraryPage()->rows())
            if (row->project().title == title) {
                click(row->deleteButton());
                return;
            }
        ADD_FAILURE() << "no row " << title.toStdString();
    }

    QAbstractButton *alertButton(const QString &text) { return buttonIn(root->deleteAlert(), text); }

    void deleteFromRow(const QString &title)
    {
        requestFromRow(title);
        click(alertButton("Delete"));
        settle();
    }

    bool bannerShown() const { return root->undoBanner()->isVisible(); }
    QString bannerText() const { return root->undoBanner()->label()->text(); }
};

} // namespace

TEST_F(StudyDeletionTest, TheAlertAsksAndCancellingKeepsTheSetAndARunningOffer)
{
    requestFromRow("Chemistry");
    QMessageBox *alert = root->deleteAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_TRUE(alert->isVisible());
    EXPECT_FALSE(alert->isModal() && alert->windowModality() == Qt::ApplicationModal);
    ASSERT_NE(alertButton("Cancel"), nullptr);
    EXPECT_EQ(alert->buttonRole(alertButton("Cancel")), QMessageBox::RejectRole);
    EXPECT_EQ(alert->buttonRole(alertButton("Delete")), QMessageBox::DestructiveRole);
    click(alertButton("Cancel"));
    settle();
    EXPECT_EQ(root->deleteAlert(), nullptr);
    EXPECT_FALSE(root->deleteOffer()->pendingDelete());
    EXPECT_TRUE(isStored(chem.id));
    EXPECT_FALSE(bannerShown());

    // A deletion shows the banner; cancelling another request leaves that
    // offer alone, and it ends five seconds after the deletion.
    deleteFromRow("Chemistry");
    EXPECT_FALSE(isStored(chem.id));
    EXPECT_EQ(root->libraryPage()->rows().size(), 1);
    EXPECT_EQ(bannerText(), QString("Deleted \"Chemistry\""));
    scheduler.advance(2000);
    requestFromRow("Biology \"core\"");
    EXPECT_TRUE(bannerShown());
    click(alertButton("Cancel"));
    settle();
    EXPECT_EQ(bannerText(), QString("Deleted \"Chemistry\""));
    scheduler.advance(2999);
    EXPECT_TRUE(bannerShown());
    scheduler.advance(1);
    EXPECT_FALSE(bannerShown());
    EXPECT_FALSE(isStored(chem.id));
    EXPECT_TRUE(isStored(bio.id));
    // Also on disk: a fresh load does not bring it back.
    for (const StudyProject &p : app->storage().loadStudyProjects())
        EXPECT_NE(p.id, chem.id);
}

TEST_F(StudyDeletionTest, UndoBringsTheSetBackExactlyAndReplacesACopyStoredMeanwhile)
{
    deleteFromRow("Biology \"core\"");
    // A title with quotation marks of its own stands unchanged inside ours.
    EXPECT_EQ(bannerText(), QString("Deleted \"Biology \"core\"\""));
    scheduler.advance(3000);
    click(root->undoBanner()->undoButton());
    EXPECT_FALSE(bannerShown());
    EXPECT_EQ(storedSet(bio.id), bio);
    // Back in its newest-first place.
    EXPECT_EQ(app->studyProjects().last().id, bio.id);
    settle();
    EXPECT_EQ(root->libraryPage()->rows().size(), 2);
    // The timer that was running does nothing afterwards.
    scheduler.advance(10000);
    EXPECT_TRUE(isStored(bio.id));
    EXPECT_FALSE(bannerShown());

    deleteFromRow("Chemistry");
    StudyProject newer = chem;
    newer.items[0].correctCount = 7;
    newer.updatedAt = clock.nowUtc();
    EXPECT_TRUE(app->saveStudyProject(newer));
    click(root->undoBanner()->undoButton());
    EXPECT_EQ(storedSet(chem.id), chem);
    int copies = 0;
    for (const StudyProject &p : app->studyProjects())
        copies += p.id == chem.id ? 1 : 0;
    EXPECT_EQ(copies, 1);
}

TEST_F(StudyDeletionTest, ASecondDeleteRestartsTheOffer)
{
    deleteFromRow("Chemistry");
    scheduler.advance(3000);
    deleteFromRow("Biology \"core\"");
    EXPECT_EQ(bannerText(), QString("Deleted \"Biology \"core\"\""));
    scheduler.advance(3000); // 6 s after the first deletion
    EXPECT_TRUE(bannerShown());
    click(root->undoBanner()->undoButton());
    EXPECT_TRUE(isStored(bio.id));
    EXPECT_FALSE(isStored(chem.id));
}

TEST_F(StudyDeletionTest, DeletingFromTheSetPageLeavesThePageOpen)
{
    root->setViewState(StudyViewState::detail(chem));
    root->deleteOffer()->request(chem);
    click(alertButton("Delete"));
    settle();
    EXPECT_EQ(root->viewState().page, StudyPage::detail);
    EXPECT_EQ(root->shownSet(), chem);
    // The banner floats over whichever page is shown, at the bottom.
    EXPECT_TRUE(bannerShown());
    EXPECT_EQ(root->undoBanner()->geometry().bottom(), root->height() - 1 - StudyRootView::kBannerBottom);
}

TEST_F(StudyDeletionTest, TheBannerHasRoomOfItsOwnAndHidesNoRow)
{
    // The workspace grows with its content, as the dashboard's card holds it.
    root->resize(900, root->sizeHint().height());
    deleteFromRow("Chemistry");
    ASSERT_TRUE(bannerShown());
    root->resize(900, root->sizeHint().height());
    settle();
    ASSERT_EQ(root->libraryPage()->rows().size(), 1);
    const StudySetRow *left = root->libraryPage()->rows().first();
    const QRect row(left->mapTo(root.get(), QPoint()), left->size());
    EXPECT_FALSE(row.intersects(root->undoBanner()->geometry()));
    EXPECT_GE(root->undoBanner()->y(), row.bottom());

    // Without the banner the room goes again.
    click(root->undoBanner()->undoButton());
    settle();
    EXPECT_FALSE(bannerShown());
    EXPECT_EQ(root->layout()->contentsMargins().bottom(), 0);
}
