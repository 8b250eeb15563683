#include "model/Storage.h"

#include "ModelFixtures.h"
#include "core/WallClock.h"
#include "model/RecordCoding.h"
#include "support/OddFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace qv;
using namespace qv::test;

namespace {

class StorageTest : public ::testing::Test {
protected:
    StorageTest() : clock(utc(2026, 12, 6, 10, 15, 0, 400)) {}

    QString desktop() const { return tmp.filePath(QStringLiteral("home/Desktop")); }
    QString share() const { return tmp.filePath(QStringLiteral("home/.local/share")); }
    AppConfig config() const { return AppConfig::inFolders(desktop(), share()); }

    std::unique_ptr<Storage> makeStorage()
    {
        auto s = std::make_unique<Storage>(config(), clock);
        s->setDiagnosticSink([this](const QString &line) { diagnostics << line; });
        return s;
    }

    QStringList folderEntries(const QString &folder) const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }

    QTemporaryDir tmp;
    FixedWallClock clock;
    QStringList diagnostics;
};

} // namespace

TEST_F(StorageTest, TheDataFolderIsNamedAndMadeBeforeAnySave)
{
    const AppConfig c = AppConfig::defaultConfig();
    EXPECT_TRUE(c.dataFolderPath.endsWith(u"/QuorvelData")) << c.dataFolderPath.toStdString();
    EXPECT_TRUE(c.fallbackFolderPath.endsWith(u"/QuorvelData")) << c.fallbackFolderPath.toStdString();
    EXPECT_TRUE(QDir::isAbsolutePath(c.dataFolderPath));
    EXPECT_TRUE(QDir::isAbsolutePath(c.fallbackFolderPath));
    EXPECT_EQ(config().dataFolderPath, desktop() + QStringLiteral("/QuorvelData"));

    // The folder and its parents are made before any save.
    auto storage = makeStorage();
    EXPECT_EQ(storage->folderPath(), config().dataFolderPath);
    EXPECT_TRUE(QFileInfo(config().dataFolderPath).isDir());
    EXPECT_TRUE(folderEntries(config().dataFolderPath).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(config().fallbackFolderPath));
    EXPECT_EQ(storage->projectsFilePath(), config().dataFolderPath + QStringLiteral("/projects.json"));
    EXPECT_EQ(storage->studyProjectsFilePath(), config().dataFolderPath + QStringLiteral("/study_projects.json"));
}

TEST_F(StorageTest, AFileInTheWayOfTheFolderSendsDataToTheFallback)
{
    ASSERT_TRUE(writeAll(config().dataFolderPath, "not a folder"));
    auto storage = makeStorage();
    EXPECT_EQ(storage->folderPath(), config().fallbackFolderPath);
    EXPECT_TRUE(storage->saveProjects({essayOne()}));
    EXPECT_EQ(readAll(config().fallbackFolderPath + QStringLiteral("/projects.json")),
              *coding::encodeProjects({essayOne()}));
    EXPECT_EQ(readAll(config().dataFolderPath), QByteArray("not a folder"));
}

TEST_F(StorageTest, WhenNeitherFolderCanBeMadeSavesFailAndLoadsAreEmpty)
{
    ASSERT_TRUE(writeAll(config().dataFolderPath, "x"));
    ASSERT_TRUE(writeAll(share(), "a file where the data folder's parent should be"));
    auto storage = makeStorage();
    EXPECT_EQ(storage->folderPath(), config().fallbackFolderPath);
    EXPECT_FALSE(storage->saveProjects({essayOne()}));
    EXPECT_FALSE(storage->saveStudyProjects({}));
    EXPECT_TRUE(storage->loadProjects().isEmpty());
}

TEST_F(StorageTest, SavesAndLoadsBothListsInFileOrder)
{
    auto storage = makeStorage();
    Project older = essayOne();
    older.id = QUuid::createUuid();
    older.updatedAt = utc(2024, 1, 1, 0, 0, 0);
    Project same = essayOne();
    same.id = QUuid::createUuid();
    // Loading does not sort: equal and older dates keep their file order.
    const QList<Project> projects{older, essayOne(), same};
    ASSERT_TRUE(storage->saveProjects(projects));
    ASSERT_TRUE(storage->saveStudyProjects({cellsSet()}));
    EXPECT_EQ(readAll(storage->projectsFilePath()), *coding::encodeProjects(projects));

    auto reopened = makeStorage();
    EXPECT_EQ(reopened->loadProjects(), projects);
    EXPECT_EQ(reopened->loadStudyProjects(), QList<StudyProject>{cellsSet()});
    EXPECT_TRUE(diagnostics.isEmpty());
}

TEST_F(StorageTest, AMissingFileIsAnEmptyListAndMissingDatesTakeTheClocksNow)
{
    auto storage = makeStorage();
    ASSERT_TRUE(storage->saveProjects({essayOne()}));
    EXPECT_EQ(storage->loadProjects().size(), 1);
    EXPECT_TRUE(storage->loadStudyProjects().isEmpty());
    EXPECT_TRUE(storage->saveStudyProjects({}));
    EXPECT_EQ(readAll(storage->studyProjectsFilePath()), QByteArray("[\n\n]"));
    EXPECT_EQ(folderEntries(storage->folderPath()), QStringList({"projects.json", "study_projects.json"}));
    EXPECT_TRUE(diagnostics.isEmpty());

    ASSERT_TRUE(writeAll(storage->studyProjectsFilePath(),
                         R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","title":"Bio","grade":"11"}])"));
    const QList<StudyProject> sets = storage->loadStudyProjects();
    ASSERT_EQ(sets.size(), 1);
    EXPECT_EQ(sets[0].updatedAt, utc(2026, 12, 6, 10, 15, 0, 400));
}

TEST_F(StorageTest, AnUndecodableFileIsMovedAsideAtTheNextSave)
{
    auto storage = makeStorage();
    // Three good projects and one without a title.
    QByteArray broken = *coding::encodeProjects({essayOne(), essayOne(), essayOne(), essayOne()});
    broken.replace(broken.lastIndexOf("\"title\""), 7, "\"name\" ");
    ASSERT_TRUE(writeAll(storage->projectsFilePath(), broken));

    EXPECT_TRUE(storage->loadProjects().isEmpty());
    EXPECT_TRUE(diagnostics.isEmpty()); // loading stays quiet
    EXPECT_EQ(readAll(storage->projectsFilePath()), broken);
    // The file is kept where it is until a save of the projects.
    ASSERT_TRUE(storage->keptProjectsFile());
    EXPECT_EQ(storage->keptProjectsFile()->path, storage->projectsFilePath());
    EXPECT_FALSE(storage->keptProjectsFile()->reason.isEmpty());

    // The study file is fine and is not touched by the projects' trouble.
    ASSERT_TRUE(storage->saveStudyProjects({cellsSet()}));
    EXPECT_TRUE(storage->loadStudyProjects().size() == 1);

    EXPECT_FALSE(storage->keptStudyProjectsFile());

    ASSERT_TRUE(storage->saveProjects({essayOne()}));
    const QString aside = storage->projectsFilePath() + QStringLiteral(".unreadable-20261206T101500Z");
    EXPECT_EQ(readAll(aside), broken);
    ASSERT_TRUE(storage->keptProjectsFile());
    EXPECT_EQ(storage->keptProjectsFile()->path, aside);
    EXPECT_EQ(readAll(storage->projectsFilePath()), *coding::encodeProjects({essayOne()}));
    ASSERT_EQ(diagnostics.size(), 1);
    EXPECT_TRUE(diagnostics[0].contains(aside)) << diagnostics[0].toStdString();
    EXPECT_TRUE(diagnostics[0].contains(u"[3].title")) << diagnostics[0].toStdString();

    // Moved once: later saves just write.
    clock.advanceMs(5000);
    ASSERT_TRUE(storage->saveProjects({}));
    EXPECT_EQ(folderEntries(storage->folderPath()),
              QStringList({"projects.json", "projects.json.unreadable-20261206T101500Z", "study_projects.json"}));
    EXPECT_EQ(diagnostics.size(), 1);
}

TEST_F(StorageTest, AnAsideNameAlreadyTakenGetsANumber)
{
    auto storage = makeStorage();
    ASSERT_TRUE(writeAll(storage->projectsFilePath(), "{ garbage"));
    const QString aside = storage->projectsFilePath() + QStringLiteral(".unreadable-20261206T101500Z");
    ASSERT_TRUE(writeAll(aside, "earlier"));
    EXPECT_TRUE(storage->loadProjects().isEmpty());
    ASSERT_TRUE(storage->saveProjects({}));
    EXPECT_EQ(readAll(aside), QByteArray("earlier"));
    EXPECT_EQ(readAll(aside + QStringLiteral("-2")), QByteArray("{ garbage"));
}

TEST_F(StorageTest, ASaveThatCannotMoveTheFileAsideWritesNothing)
{
    auto storage = makeStorage();
    ASSERT_TRUE(writeAll(storage->studyProjectsFilePath(), "[{\"id\":1}]"));
    EXPECT_TRUE(storage->loadStudyProjects().isEmpty());

    QStringList moves;
    storage->setFileMover([&moves](const QString &from, const QString &) {
        moves << from;
        return false;
    });
    const SaveResult refused = storage->saveStudyProjects({cellsSet()});
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.reason().contains(u"could not be moved aside")) << refused.reason().toStdString();
    EXPECT_EQ(moves, QStringList{storage->studyProjectsFilePath()});
    EXPECT_EQ(readAll(storage->studyProjectsFilePath()), QByteArray("[{\"id\":1}]"));
    EXPECT_EQ(folderEntries(storage->folderPath()), QStringList{"study_projects.json"});
    ASSERT_EQ(diagnostics.size(), 1);
    EXPECT_TRUE(diagnostics[0].contains(u"not saving")) << diagnostics[0].toStdString();

    // Still remembered: once moving works, the next save keeps the file and writes.
    storage->setFileMover([](const QString &from, const QString &to) { return QDir().rename(from, to); });
    EXPECT_TRUE(storage->saveStudyProjects({cellsSet()}));
    EXPECT_EQ(readAll(storage->studyProjectsFilePath() + QStringLiteral(".unreadable-20261206T101500Z")),
              QByteArray("[{\"id\":1}]"));
    EXPECT_EQ(storage->loadStudyProjects(), QList<StudyProject>{cellsSet()});
}

TEST_F(StorageTest, AFileRepairedOrGoneBeforeTheSaveIsNotMoved)
{
    auto storage = makeStorage();
    ASSERT_TRUE(writeAll(storage->projectsFilePath(), "[1]"));
    EXPECT_TRUE(storage->loadProjects().isEmpty());
    ASSERT_TRUE(writeAll(storage->projectsFilePath(), *coding::encodeProjects({essayOne()})));
    EXPECT_EQ(storage->loadProjects().size(), 1);
    ASSERT_TRUE(storage->saveProjects({essayOne()}));
    EXPECT_EQ(folderEntries(storage->folderPath()), QStringList{"projects.json"});

    // An unreadable file that vanished before the save is simply written.
    ASSERT_TRUE(writeAll(storage->projectsFilePath(), "nonsense"));
    EXPECT_TRUE(storage->loadProjects().isEmpty());
    ASSERT_TRUE(QFile::remove(storage->projectsFilePath()));
    ASSERT_TRUE(storage->saveProjects({essayOne()}));
    EXPECT_EQ(folderEntries(storage->folderPath()), QStringList{"projects.json"});
    EXPECT_TRUE(diagnostics.isEmpty());
}

TEST_F(StorageTest, AFolderInPlaceOfTheFileIsUnreadableAndMovedAside)
{
    auto storage = makeStorage();
    ASSERT_TRUE(QDir().mkpath(storage->projectsFilePath() + QStringLiteral("/inside")));
    EXPECT_TRUE(storage->loadProjects().isEmpty());
    ASSERT_TRUE(storage->saveProjects({essayOne()}));
    EXPECT_TRUE(QFileInfo(storage->projectsFilePath() + QStringLiteral(".unreadable-20261206T101500Z/inside")).isDir());
    EXPECT_EQ(storage->loadProjects(), QList<Project>{essayOne()});
}

TEST_F(StorageTest, APipeOrAnEndlessFileInPlaceOfAFileIsUnreadableNotWaitedOnAndMovedAside)
{
    auto storage = makeStorage();
    ASSERT_TRUE(makeFifo(storage->projectsFilePath()));
    ASSERT_TRUE(makeLink(storage->studyProjectsFilePath(), QStringLiteral("/dev/zero")));
    PipeWatchdog watchdog({storage->projectsFilePath()}, std::chrono::seconds(20));
    EXPECT_TRUE(storage->loadProjects().isEmpty());
    EXPECT_TRUE(storage->loadStudyProjects().isEmpty());
    EXPECT_FALSE(watchdog.stop()) << "the load waited on the named pipe";

    // Named in the notice of unreadable files, with what is wrong.
    ASSERT_TRUE(storage->keptProjectsFile());
    EXPECT_EQ(storage->keptProjectsFile()->path, storage->projectsFilePath());
    EXPECT_EQ(storage->keptProjectsFile()->reason, QStringLiteral("it is a named pipe, not a regular file"));
    ASSERT_TRUE(storage->keptStudyProjectsFile());
    EXPECT_EQ(storage->keptStudyProjectsFile()->reason, QStringLiteral("it is a device, not a regular file"));

    // Moved by name, never opened; the lists are saved in their place.
    ASSERT_TRUE(storage->saveProjects({essayOne()}));
    ASSERT_TRUE(storage->saveStudyProjects({cellsSet()}));
    const QString suffix = QStringLiteral(".unreadable-20261206T101500Z");
    EXPECT_EQ(QFileInfo(storage->projectsFilePath() + suffix).isFile(), false);
    EXPECT_TRUE(QFileInfo(storage->projectsFilePath() + suffix).exists());
    EXPECT_EQ(QFileInfo(storage->studyProjectsFilePath() + suffix).symLinkTarget(), QStringLiteral("/dev/zero"));
    EXPECT_EQ(storage->loadProjects(), QList<Project>{essayOne()});
    EXPECT_EQ(storage->loadStudyProjects().size(), 1);
}

TEST_F(StorageTest, AFileLargerThanTheLimitIsUnreadableAndKeptWhole)
{
    auto storage = makeStorage();
    {
        QFile big(storage->projectsFilePath());
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(Storage::kMaxFileBytes + 1)); // sparse: no disk used
    }
    EXPECT_TRUE(storage->loadProjects().isEmpty());
    ASSERT_TRUE(storage->keptProjectsFile());
    EXPECT_EQ(storage->keptProjectsFile()->reason, QStringLiteral("it is larger than 512 MB"));
    ASSERT_TRUE(storage->saveProjects({essayOne()}));
    EXPECT_EQ(QFileInfo(storage->projectsFilePath() + QStringLiteral(".unreadable-20261206T101500Z")).size(),
              Storage::kMaxFileBytes + 1);
}

TEST_F(StorageTest, TemporaryFilesOfAnInterruptedSaveGoAtTheNextStart)
{
    const QString folder = config().dataFolderPath;
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const char *name : {"projects.json.Qw3rTy", "study_projects.json.9aZ0bX", "projects.json.backup",
                             "essay.txt.Qw3rTy", "projects.json"})
        ASSERT_TRUE(writeAll(QDir(folder).filePath(QString::fromLatin1(name)), "[]"));
    auto storage = makeStorage();
    EXPECT_EQ(folderEntries(folder), QStringList({"essay.txt.Qw3rTy", "projects.json", "projects.json.backup"}));
}

TEST_F(StorageTest, FailedSavesLeaveTheOldFileAndSayWhy)
{
    auto storage = makeStorage();
    ASSERT_TRUE(storage->saveProjects({essayOne()}));
    const QByteArray before = readAll(storage->projectsFilePath());
    const QString folder = storage->folderPath();
    const QString kept = folder + QStringLiteral(".kept");

    Project undated = essayOne();
    undated.updatedAt = QDateTime();
    struct Case {
        const char *name;
        std::function<void()> breakIt;
        QList<Project> projects;
        QString reason;
    };
    const QList<Case> cases{
        {"an unencodable list", [] {}, {undated}, QStringLiteral("could not be encoded")},
        {"a folder in place of the file",
         [&] {
             EXPECT_EQ(readAll(storage->projectsFilePath()), before); // untouched by the failure above
             ASSERT_TRUE(QFile::rename(storage->projectsFilePath(), kept));
             ASSERT_TRUE(QDir().mkpath(storage->projectsFilePath()));
         },
         {essayOne()},
         storage->projectsFilePath()},
        {"a file in place of the data folder",
         [&] {
             ASSERT_TRUE(QDir(folder).removeRecursively());
             ASSERT_TRUE(writeAll(folder, "in the way"));
         },
         {essayOne()},
         QStringLiteral("a file is in the place of the data folder (%1)").arg(folder)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        c.breakIt();
        const SaveResult result = storage->saveProjects(c.projects);
        ASSERT_FALSE(result);
        EXPECT_TRUE(result.reason().contains(c.reason)) << result.reason().toStdString();
    }
    EXPECT_EQ(readAll(folder), QByteArray("in the way"));
}

TEST_F(StorageTest, AVanishedDataFolderIsMadeAgainAtTheNextSave)
{
    auto storage = makeStorage();
    const QString folder = storage->folderPath();
    const QFile::Permissions firstUse = QFileInfo(folder).permissions();
    ASSERT_TRUE(storage->saveProjects({essayOne()}));
    ASSERT_TRUE(storage->folderExists());

    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_FALSE(storage->folderExists());
    EXPECT_TRUE(storage->saveStudyProjects({cellsSet()}));
    EXPECT_TRUE(storage->folderExists());
    EXPECT_EQ(QFileInfo(folder).permissions(), firstUse);
    EXPECT_EQ(storage->loadStudyProjects(), QList<StudyProject>{cellsSet()});
    // Only the list saved is back; the library rewrites the other one.
    EXPECT_EQ(folderEntries(folder), QStringList{"study_projects.json"});
}
