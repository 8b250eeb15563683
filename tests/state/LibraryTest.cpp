#include "state/Library.h"

#include "core/VirtualScheduler.h"
#include "core/WallClock.h"
#include "model/ModelFixtures.h"
#include "model/Storage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace qv;
using namespace qv::state;

namespace {

QDateTime at(int minute) { return QDateTime(QDate(2026, 3, 1), QTime(14, minute, 0), Qt::UTC); }

Project project(const char *id, const char *title, int minute)
{
    Project p;
    p.id = QUuid(QString::fromLatin1(id));
    p.title = QString::fromLatin1(title);
    p.updatedAt = at(minute);
    return p;
}

StudyProject set(const char *id, const char *title, int minute)
{
    StudyProject s;
    s.id = QUuid(QString::fromLatin1(id));
    s.title = QString::fromLatin1(title);
    s.updatedAt = at(minute);
    return s;
}

const char *kA = "{3F2504E0-4F89-11D3-9A0C-0305E82C3301}";
const char *kB = "{6F9619FF-8B86-D011-B42D-00C04FC964FF}";
const char *kC = "{11111111-2222-3333-4444-555555555555}";

template <typename T>
QStringList titles(const QList<T> &list)
{
    QStringList out;
    for (const auto &p : list)
        out << p.title;
    return out;
}

struct LibraryFixture : ::testing::Test {
    QTemporaryDir dir;
    VirtualScheduler scheduler;
    FixedWallClock clock{QDateTime(QDate(2026, 12, 6), QTime(10, 15, 0), Qt::UTC)};
    AppConfig config = AppConfig::inFolders(dir.filePath("Desktop"), dir.filePath("share"));
    Storage storage{config, clock};

    std::unique_ptr<Library> loaded()
    {
        auto lib = std::make_unique<Library>(storage, scheduler, clock);
        lib->startInitialLoad();
        scheduler.runUntilIdle();
        return lib;
    }
    QList<Project> onDisk() { return Storage(config, clock).loadProjects(); }
};

} // namespace

TEST_F(LibraryFixture, ListsAreEmptyUntilTheLoadPublishesThemNewestFirst)
{
    ASSERT_TRUE(storage.saveProjects({project(kA, "old", 1), project(kB, "new", 9), project(kC, "mid", 5)}));
    Library lib(storage, scheduler, clock);
    int changes = 0;
    QObject::connect(&lib, &Library::projectsChanged, [&] { ++changes; });
    lib.startInitialLoad();
    EXPECT_TRUE(lib.projects().isEmpty());
    scheduler.runUntilIdle();
    EXPECT_EQ(titles(lib.projects()), QStringList({"new", "mid", "old"}));
    EXPECT_EQ(changes, 1);
}

TEST_F(LibraryFixture, SaveReplacesOrAppendsAndKeepsAStableNewestFirstOrder)
{
    auto lib = loaded();
    EXPECT_TRUE(lib->saveProject(project(kA, "a", 5)));
    EXPECT_TRUE(lib->saveProject(project(kB, "b", 5))); // same date: stays behind a
    EXPECT_EQ(titles(lib->projects()), QStringList({"a", "b"}));
    EXPECT_TRUE(lib->saveProject(project(kC, "c", 9))); // newest goes first
    EXPECT_EQ(titles(lib->projects()), QStringList({"c", "a", "b"}));
    // An edit with an older date replaces the whole record and moves it down.
    Project edited = project(kC, "c2", 1);
    edited.wpm = 99;
    EXPECT_TRUE(lib->saveProject(edited));
    EXPECT_EQ(titles(lib->projects()), QStringList({"a", "b", "c2"}));
    EXPECT_EQ(lib->projects().last().wpm, 99);
    EXPECT_EQ(titles(onDisk()), QStringList({"a", "b", "c2"}));
}

TEST_F(LibraryFixture, DeleteKeepsTheOrderWritesEvenWithoutAMatchAndUndoesAsASave)
{
    auto lib = loaded();
    EXPECT_TRUE(lib->saveProject(project(kA, "a", 5)));
    EXPECT_TRUE(lib->saveProject(project(kB, "b", 3)));
    QFile::remove(storage.projectsFilePath());
    int changes = 0;
    QObject::connect(lib.get(), &Library::projectsChanged, [&] { ++changes; });
    EXPECT_TRUE(lib->deleteProject(project(kC, "nobody", 0)));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(QFile::exists(storage.projectsFilePath()));
    EXPECT_EQ(titles(onDisk()), QStringList({"a", "b"}));
    EXPECT_TRUE(lib->deleteProject(project(kA, "ignored title", 0)));
    EXPECT_EQ(titles(lib->projects()), QStringList({"b"}));

    // Undoing a delete is a save that restores its place.
    EXPECT_TRUE(lib->saveProject(project(kA, "a", 9)));
    EXPECT_TRUE(lib->saveProject(project(kB, "b", 5)));
    EXPECT_TRUE(lib->saveProject(project(kC, "c", 1)));
    const Project removed = lib->projects()[1];
    EXPECT_TRUE(lib->deleteProject(removed));
    EXPECT_TRUE(lib->saveProject(removed));
    EXPECT_EQ(titles(lib->projects()), QStringList({"a", "b", "c"}));
}

TEST_F(LibraryFixture, ResetClearsCountersStampsNowAndMovesTheSetToTheTop)
{
    auto lib = loaded();
    EXPECT_TRUE(lib->saveStudyProject(set(kA, "newer", 30)));
    StudyProject s = set(kB, "bio", 1);
    StudyItem card;
    card.id = QUuid(QString::fromLatin1(kC));
    card.term = "cell";
    card.definition = "unit";
    card.correctCount = 3;
    card.incorrectCount = 1;
    card.lastReviewedAt = at(2);
    card.isStarred = true;
    s.items = {card};
    EXPECT_TRUE(lib->saveStudyProject(s));
    ASSERT_EQ(lib->studyProjects().last().title, "bio");

    EXPECT_TRUE(lib->resetStudyProgress(s));
    const StudyProject &top = lib->studyProjects().first();
    EXPECT_EQ(top.title, "bio");
    EXPECT_EQ(top.updatedAt, clock.nowUtc());
    ASSERT_EQ(top.items.size(), 1);
    EXPECT_EQ(top.items[0].correctCount, 0);
    EXPECT_EQ(top.items[0].incorrectCount, 0);
    EXPECT_FALSE(top.items[0].lastReviewedAt.has_value());
    EXPECT_TRUE(top.items[0].isStarred);
    EXPECT_EQ(top.items[0].term, "cell");

    // A set deleted meanwhile comes back.
    EXPECT_TRUE(lib->deleteStudyProject(s));
    EXPECT_EQ(lib->studyProjects().size(), 1);
    EXPECT_TRUE(lib->resetStudyProgress(s));
    EXPECT_EQ(lib->studyProjects().size(), 2);
}

TEST_F(LibraryFixture, ASaveBeforeTheLoadKeepsEverything)
{
    ASSERT_TRUE(storage.saveProjects({project(kA, "a", 1), project(kB, "b", 2)}));
    Library lib(storage, scheduler, clock);
    lib.startInitialLoad();
    // The editor saves before the load has published.
    EXPECT_TRUE(lib.saveProject(project(kC, "c", 3)));
    EXPECT_EQ(titles(lib.projects()), QStringList({"c", "b", "a"}));
    EXPECT_FALSE(lib.loadPending());
    scheduler.runUntilIdle(); // the scheduled load must not publish over it
    EXPECT_EQ(titles(lib.projects()), QStringList({"c", "b", "a"}));
    EXPECT_EQ(titles(onDisk()), QStringList({"c", "b", "a"}));
}

TEST_F(LibraryFixture, ADeleteBeforeTheLoadDoesNotWipeTheStudyFile)
{
    ASSERT_TRUE(storage.saveStudyProjects({set(kA, "a", 1), set(kB, "b", 2)}));
    Library lib(storage, scheduler, clock);
    lib.startInitialLoad();
    EXPECT_TRUE(lib.deleteStudyProject(set(kA, "", 0)));
    scheduler.runUntilIdle();
    ASSERT_EQ(lib.studyProjects().size(), 1);
    EXPECT_EQ(Storage(config, clock).loadStudyProjects().size(), 1);
}

TEST_F(LibraryFixture, AListWhoseSaveFailedIsWrittenWholeByTheNextSaveThatSucceeds)
{
    auto lib = loaded();
    ASSERT_TRUE(lib->saveProject(project(kA, "a", 1)));
    ASSERT_TRUE(lib->saveStudyProject(set(kA, "s", 1)));

    // Each list in turn cannot be written (a folder where its file goes);
    // the other list's saves then still report the one that is due.
    struct Case {
        const char *name;
        QString blocked;
        std::function<SaveResult()> change;
        std::function<SaveResult()> otherChange;
    };
    const QList<Case> cases{
        {"projects", storage.projectsFilePath(), [&] { return lib->saveProject(project(kB, "b", 2)); },
         [&] { return lib->saveStudyProject(set(kB, "t", 2)); }},
        {"study sets", storage.studyProjectsFilePath(), [&] { return lib->deleteStudyProject(set(kA, "", 0)); },
         [&] { return lib->deleteProject(project(kA, "", 0)); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(QFile::remove(c.blocked));
        ASSERT_TRUE(QDir().mkpath(c.blocked));
        const SaveResult failed = c.change(); // the list in memory keeps the change
        ASSERT_FALSE(failed);
        EXPECT_TRUE(failed.reason().contains(c.blocked)) << failed.reason().toStdString();
        const SaveResult stillDue = c.otherChange();
        ASSERT_FALSE(stillDue);
        EXPECT_TRUE(stillDue.reason().contains(c.blocked));

        ASSERT_TRUE(QDir(c.blocked).removeRecursively());
        // The next save of either list writes everything in memory.
        EXPECT_TRUE(c.otherChange());
        EXPECT_EQ(titles(onDisk()), titles(lib->projects()));
        EXPECT_EQ(titles(Storage(config, clock).loadStudyProjects()), titles(lib->studyProjects()));
    }
    EXPECT_EQ(titles(lib->projects()), QStringList({"b"}));
    EXPECT_EQ(titles(lib->studyProjects()), QStringList({"t"}));
}

TEST_F(LibraryFixture, AVanishedDataFolderIsMadeAgainWithBothLists)
{
    auto lib = loaded();
    ASSERT_TRUE(lib->saveProject(project(kA, "a", 1)));
    ASSERT_TRUE(lib->saveStudyProject(set(kA, "s", 1)));
    const QString folder = storage.folderPath();

    // First a file stands in the folder's place: every save fails and says so.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(qv::test::writeAll(folder, "in the way"));
    const SaveResult blocked = lib->saveProject(project(kB, "b", 2));
    ASSERT_FALSE(blocked);
    EXPECT_EQ(blocked.reason(), QStringLiteral("a file is in the place of the data folder (%1)").arg(folder));
    EXPECT_FALSE(lib->resetStudyProgress(set(kA, "s", 1)));
    EXPECT_EQ(qv::test::readAll(folder), QByteArray("in the way"));

    // Then it is simply gone: the next save makes it and writes both lists.
    ASSERT_TRUE(QFile::remove(folder));
    EXPECT_TRUE(lib->deleteProject(project(kA, "", 0)));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(titles(onDisk()), QStringList({"b"}));
    const QList<StudyProject> sets = Storage(config, clock).loadStudyProjects();
    ASSERT_EQ(sets.size(), 1);
    EXPECT_EQ(sets.first().updatedAt, clock.nowUtc()); // the reset made while it failed
}

TEST_F(LibraryFixture, AnUnreadableFileIsNamedWhereItIsKept)
{
    ASSERT_TRUE(qv::test::writeAll(storage.studyProjectsFilePath(), "{ not a list"));
    Library lib(storage, scheduler, clock);
    int announced = 0;
    QObject::connect(&lib, &Library::keptFilesChanged, [&] { ++announced; });
    lib.startInitialLoad();
    scheduler.runUntilIdle();
    EXPECT_EQ(announced, 1);
    EXPECT_FALSE(lib.keptProjectsFile());
    ASSERT_TRUE(lib.keptStudyProjectsFile());
    EXPECT_EQ(lib.keptStudyProjectsFile()->path, storage.studyProjectsFilePath());

    // A save of the other list leaves it; a save of its own moves it aside.
    ASSERT_TRUE(lib.saveProject(project(kA, "a", 1)));
    EXPECT_EQ(announced, 1);
    ASSERT_TRUE(lib.saveStudyProject(set(kA, "s", 1)));
    EXPECT_EQ(announced, 2);
    const QString aside = storage.studyProjectsFilePath() + QStringLiteral(".unreadable-20261206T101500Z");
    ASSERT_TRUE(lib.keptStudyProjectsFile());
    EXPECT_EQ(lib.keptStudyProjectsFile()->path, aside);
    EXPECT_EQ(qv::test::readAll(aside), QByteArray("{ not a list"));
    const QString text = Library::keptFileText(lib.keptStudyProjectsFile(), QStringLiteral("study sets file"));
    EXPECT_TRUE(text.startsWith(u"Your study sets file could not be read (")) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("the file is kept as %1.").arg(aside))) << text.toStdString();
}
