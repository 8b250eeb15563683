#include "DashboardTestSupport.h"

#include "dashboard/OverlayHost.h"
#include "dashboard/ProjectRow.h"
#include "dashboard/UndoBanner.h"
#include "dashboard/UndoOffer.h"
#include "dashboard/WriterWorkspace.h"
#include "model/Storage.h"
#include "state/Library.h"
#include "theme/NoticeBanner.h"
#include "theme/QVButton.h"

#include <QDir>
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
        ProjectRow *row = view->workspace()->writer()->row(p.id);
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
    EXPECT_FALSE(view->workspace()->writer()->activeProjectId());
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
    EXPECT_FALSE(view->overlays().undoBanner()->isVisible());

    // Delete offers an undo, which restores the project and the file.
    askToDelete(second);
    answerDelete("Delete");
    EXPECT_FALSE(view->pendingDelete());
    EXPECT_EQ(titles(), (QStringList{"Third", "First"}));
    EXPECT_FALSE(file().contains(idText(second)));
    ASSERT_TRUE(view->overlays().undoBanner()->isVisible());
    EXPECT_EQ(view->overlays().undoBanner()->textLabel()->text(), "Deleted \"Second\"");
    // The banner sits at the bottom and is the layer that takes clicks there.
    const QPoint inBanner = view->overlays().undoBanner()->geometry().center();
    EXPECT_EQ(view->overlayHost()->layerAt(inBanner), view->overlays().undoBanner());
    // Centred at its minimum width, which a short title does not reach.
    EXPECT_GE(view->overlays().undoBanner()->width(), view->overlays().undoBanner()->minimumWidth());
    EXPECT_NEAR(inBanner.x(), view->width() / 2, 1);

    settle(4999);
    click(view->overlays().undoBanner()->undoButton());
    EXPECT_EQ(titles(), (QStringList{"Third", "Second", "First"}));
    EXPECT_TRUE(file().contains(idText(second)));
    // The banner takes no more clicks at once and fades out.
    EXPECT_TRUE(view->overlays().undoBanner()->testAttribute(Qt::WA_TransparentForMouseEvents));
    settle(250);
    EXPECT_FALSE(view->overlays().undoBanner()->isVisible());
    settle(10000);
    EXPECT_EQ(titles(), (QStringList{"Third", "Second", "First"}));
}

TEST_F(DeleteTest, TheOfferEndsAfterFiveSecondsAndTheDeletionStaysAndAProjectAlreadyGoneIsNotDeletedAgain)
{
    askToDelete(third);
    answerDelete("Delete");
    settle(4999);
    EXPECT_TRUE(view->overlays().undoBanner()->isVisible());
    settle(1);
    settle(250); // the fade out
    EXPECT_FALSE(view->overlays().undoBanner()->isVisible());
    view->undoDelete();
    EXPECT_EQ(titles(), (QStringList{"Second", "First"}));

    askToDelete(first);
    EXPECT_TRUE(app->deleteProject(first)); // gone meanwhile (another window)
    answerDelete("Delete");
    EXPECT_FALSE(view->overlays().undoBanner()->isVisible());
    EXPECT_EQ(titles(), QStringList{"Second"});
}

TEST_F(DeleteTest, ADeleteAndAnUndoThatCannotBeWrittenSayWhyAndTheNextSaveWritesTheWholeList)
{
    // A file stands where the data folder was: no save can write.
    const QString folder = app->storage().folderPath();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    NoticeBanner *notice = view->workspace()->writer()->saveNotice();
    EXPECT_FALSE(notice->isVisible());
    askToDelete(second);
    answerDelete("Delete");
    ASSERT_TRUE(notice->isVisible());
    const QString expected =
        QStringLiteral("Could not save your projects: a file is in the place of the data folder (%1). The change is "
                       "kept while Quorvel stays open and is written with the next save that succeeds.")
            .arg(folder);
    EXPECT_EQ(notice->text(), expected);
    EXPECT_EQ(titles(), (QStringList{"Third", "First"})); // the change stays in memory
    notice->dismissButton()->click();
    EXPECT_FALSE(notice->isVisible());

    // The undo cannot be written either, and says so again.
    click(view->overlays().undoBanner()->undoButton());
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->text(), expected);
    EXPECT_EQ(titles(), (QStringList{"Third", "Second", "First"}));

    // With the way clear, the next save makes the folder and writes every
    // change since the failure; the notice goes.
    ASSERT_TRUE(QFile::remove(folder));
    askToDelete(first);
    answerDelete("Delete");
    EXPECT_FALSE(notice->isVisible());
    Storage reread(AppConfig::inFolders(dir.filePath("Desktop"), dir.filePath("share")), clock);
    QStringList stored;
    for (const Project &p : reread.loadProjects())
        stored << p.title;
    EXPECT_EQ(stored, (QStringList{"Third", "Second"}));
}

TEST_F(DeleteTest, TheFailureNoticeGoesWhenALaterSaveFromAnotherWindowWritesTheProjects)
{
    // Only the projects file cannot be written: a folder holds its name.
    const QString projectsFile = app->storage().projectsFilePath();
    QFile::remove(projectsFile);
    ASSERT_TRUE(QDir().mkpath(projectsFile));
    NoticeBanner *notice = view->workspace()->writer()->saveNotice();
    askToDelete(second);
    answerDelete("Delete");
    ASSERT_TRUE(notice->isVisible());

    // A study set saved meanwhile writes its own list only: still failing.
    StudyProject set;
    set.id = QUuid::createUuid();
    set.title = QStringLiteral("Set");
    set.updatedAt = clock.nowUtc();
    EXPECT_FALSE(app->saveStudyProject(set));
    EXPECT_TRUE(notice->isVisible());

    // The editor saves once the way is clear: the list is on disk whole.
    ASSERT_TRUE(QDir(projectsFile).removeRecursively());
    EXPECT_TRUE(app->saveProject(test::makeProject("From the editor", 9)));
    EXPECT_FALSE(notice->isVisible());
}

TEST_F(DeleteTest, APreferenceThatCannotBeWrittenIsSaidAboveTheUndoBanner)
{
    askToDelete(second);
    answerDelete("Delete");
    NoticeBanner *notice = view->overlays().preferencesNotice();
    EXPECT_FALSE(notice->isVisible());
    emit prefs.saveFailed(QStringLiteral("Permission denied (/cfg/preferences.json)"));
    settle();
    ASSERT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().startsWith(
        u"Could not save your settings: Permission denied (/cfg/preferences.json). The change is kept"))
        << notice->text().toStdString();
    EXPECT_LE(notice->geometry().bottom(), view->overlays().undoBanner()->geometry().top());
    EXPECT_EQ(view->overlayHost()->layerAt(notice->geometry().center()), notice);
}

namespace {
class UnreadableProjectsTest : public test::DashboardFixture {};
} // namespace

TEST_F(UnreadableProjectsTest, TheKeptFileIsNamedUntilDismissedAndAgainWhenItIsMovedAside)
{
    const AppConfig folders = AppConfig::inFolders(dir.filePath("Desktop"), dir.filePath("share"));
    ASSERT_TRUE(QDir().mkpath(folders.dataFolderPath));
    const QString path = QDir(folders.dataFolderPath).filePath("projects.json");
    QFile broken(path);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("{ not a list");
    broken.close();

    openWriter();
    NoticeBanner *notice = view->workspace()->writer()->keptFileNotice();
    ASSERT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().startsWith(u"Your projects file could not be read (")) << notice->text().toStdString();
    EXPECT_TRUE(notice->text().endsWith(QStringLiteral("the file is kept as %1.").arg(path)));
    notice->dismissButton()->click();
    EXPECT_FALSE(notice->isVisible());
    // Other changes do not bring it back.
    emit app->library().keptFilesChanged();
    EXPECT_FALSE(notice->isVisible());

    // The first save moves the file aside: the notice names its new place.
    EXPECT_TRUE(app->saveProject(test::makeProject("New", 1)));
    settle();
    ASSERT_TRUE(notice->isVisible());
    const std::optional<Storage::KeptFile> kept = app->library().keptProjectsFile();
    ASSERT_TRUE(kept);
    EXPECT_TRUE(kept->path.startsWith(path + ".unreadable-")) << kept->path.toStdString();
    EXPECT_TRUE(QFile::exists(kept->path));
    EXPECT_TRUE(notice->text().endsWith(QStringLiteral("the file is kept as %1.").arg(kept->path)));
    EXPECT_FALSE(view->workspace()->writer()->saveNotice()->isVisible());
}

TEST_F(DeleteTest, ALongTitleIsShortenedInsideTheQuotesAndAShortOneShowsWhole)
{
    const struct {
        QString title;
        bool whole;
    } cases[] = {
        {"Second", true},
        {QString("An essay on the rivers and the towns that grew beside them ").repeated(3).trimmed(), false},
        {QString("Supercalifragilistic").repeated(8), false},
    };
    for (const auto &c : cases) {
        Project p = test::makeProject(c.title, 9);
        ASSERT_TRUE(app->saveProject(p));
        settle(300);
        askToDelete(p);
        answerDelete("Delete");
        settle(300);
        UndoBanner *banner = view->overlays().undoBanner();
        QLabel *label = banner->textLabel();
        const QString text = label->text();
        EXPECT_TRUE(text.startsWith("Deleted \"")) << text.toStdString();
        EXPECT_TRUE(text.endsWith('"')) << text.toStdString();
        EXPECT_EQ(text == "Deleted \"" + c.title + "\"", c.whole) << text.toStdString();
        if (!c.whole) {
            EXPECT_TRUE(text.endsWith(QString::fromUtf8("\u2026\""))) << text.toStdString();
        }
        // The whole text fits beside the Undo button, inside the banner.
        EXPECT_LE(label->fontMetrics().horizontalAdvance(text), label->width());
        EXPECT_LE(label->geometry().right(), banner->undoButton()->geometry().left());
        EXPECT_LE(banner->width(), banner->maximumWidth());
        click(banner->undoButton());
        settle(300);
    }
}
