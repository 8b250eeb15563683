#include "DashboardTestSupport.h"

#include "dashboard/OverlayHost.h"
#include "dashboard/ProjectRow.h"
#include "dashboard/UndoBanner.h"
#include "dashboard/UndoOffer.h"
#include "dashboard/WriterWorkspace.h"
#include "model/Storage.h"
#include "theme/QVButton.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>

using namespace qv;
using namespace qv::dashboard;

namespace {
class DeleteTest : public test::DashboardFixture {
protected:
    void SetUp() override
    {
        first = test::makeProject("First", 1);
        second = test::makeProject("Second", 2);
        third = test::makeProject("Third", 3);
        openWriter({first, second, third});
    }

    void askToDelete(const Project &p)
    {
        ProjectRow *row = view->writerWorkspace()->row(p.id);
        ASSERT_NE(row, nullptr);
        click(row->deleteButton());
        ASSERT_NE(view->deleteAlert(), nullptr);
    }
    QStringList titles() const
    {
        QStringList out;
        for (const Project &p : app->projects())
            out << p.title;
        return out;
    }
    QByteArray file() const
    {
        QFile f(app->storage().projectsFilePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QByteArray idText(const Project &p) { return p.id.toString(QUuid::WithoutBraces).toUpper().toUtf8(); }

    Project first, second, third;
};
} // namespace

TEST_F(DeleteTest, TheAlertUsesItsOwnWordsEscapeCancelsAndUndoRestoresTheProjectAndTheFile)
{
    askToDelete(second);
    EXPECT_EQ(view->pendingDelete()->title, "Second");
    EXPECT_FALSE(view->writerWorkspace()->activeProjectId());
    QMessageBox *alert = view->deleteAlert();
    EXPECT_TRUE(alert->isVisible());
    EXPECT_EQ(alert->text(), "Delete Project?");
    EXPECT_EQ(alert->informativeText(), "Are you sure you want to delete this project?");
    QStringList buttons;
    for (QAbstractButton *b : alert->buttons())
        buttons << b->text();
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{"Cancel", "Delete"}));
    QTest::keyClick(alert, Qt::Key_Escape);
    settle();
    EXPECT_FALSE(view->pendingDelete());
    EXPECT_EQ(titles(), (QStringList{"Third", "Second", "First"}));
    EXPECT_FALSE(view->undoBanner()->isVisible());

    // Delete offers an undo, which restores the project and the file.
    askToDelete(second);
    answerDelete("Delete");
    EXPECT_FALSE(view->pendingDelete());
    EXPECT_EQ(titles(), (QStringList{"Third", "First"}));
    EXPECT_FALSE(file().contains(idText(second)));
    ASSERT_TRUE(view->undoBanner()->isVisible());
    EXPECT_EQ(view->undoBanner()->textLabel()->text(), "Deleted \"Second\"");
    // The banner sits at the bottom and is the layer that takes clicks there.
    const QPoint inBanner = view->undoBanner()->geometry().center();
    EXPECT_EQ(view->overlayHost()->layerAt(inBanner), view->undoBanner());
    // Centred at its minimum width, which a short title does not reach.
    EXPECT_GE(view->undoBanner()->width(), view->undoBanner()->minimumWidth());
    EXPECT_NEAR(inBanner.x(), view->width() / 2, 1);

    settle(4999);
    click(view->undoBanner()->undoButton());
    EXPECT_EQ(titles(), (QStringList{"Third", "Second", "First"}));
    EXPECT_TRUE(file().contains(idText(second)));
    // The banner takes no more clicks at once and fades out.
    EXPECT_TRUE(view->undoBanner()->testAttribute(Qt::WA_TransparentForMouseEvents));
    settle(250);
    EXPECT_FALSE(view->undoBanner()->isVisible());
    settle(10000);
    EXPECT_EQ(titles(), (QStringList{"Third", "Second", "First"}));
}

TEST_F(DeleteTest, TheOfferEndsAfterFiveSecondsAndTheDeletionStaysAndAProjectAlreadyGoneIsNotDeletedAgain)
{
    askToDelete(third);
    answerDelete("Delete");
    settle(4999);
    EXPECT_TRUE(view->undoBanner()->isVisible());
    settle(1);
    settle(250); // the fade out
    EXPECT_FALSE(view->undoBanner()->isVisible());
    view->undoDelete();
    EXPECT_EQ(titles(), (QStringList{"Second", "First"}));

    askToDelete(first);
    app->deleteProject(first); // gone meanwhile (another window)
    answerDelete("Delete");
    EXPECT_FALSE(view->undoBanner()->isVisible());
    EXPECT_EQ(titles(), QStringList{"Second"});
}
