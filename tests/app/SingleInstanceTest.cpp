#include "app/SingleInstance.h"

#include "app/ProcessLauncher.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>

using qv::app::SingleInstance;

namespace {

// A later launch, as the other process would run it: its blocking claim on
// a thread of its own while this thread's event loop lets the first answer.
SingleInstance::Claim launchAgain(const QString &folder, QString *why, const QString &lockFolder = {},
                                  qint64 predecessor = 0, const std::function<void()> &meanwhile = {})
{
    std::atomic<bool> done = false;
    SingleInstance::Claim claim = SingleInstance::Claim::Unguarded;
    std::thread second([&] {
        SingleInstance later(folder, lockFolder);
        later.setPredecessor(predecessor);
        claim = later.claim(why);
        done = true;
    });
    if (meanwhile)
        meanwhile();
    QElapsedTimer waited;
    waited.start();
    while (!done && waited.elapsed() < 15000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    second.join();
    QCoreApplication::processEvents();
    return claim;
}

// What a crash leaves behind: the lock of a process that has gone, and the
// socket file it listened on.
void leaveCrashedCopy(const SingleInstance &instance)
{
    const pid_t child = fork();
    if (child == 0) {
        QLockFile lock(instance.lockPath());
        lock.tryLock(0);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = instance.serverName().toLocal8Bit();
        std::memcpy(address.sun_path, path.constData(), std::min<size_t>(path.size(), sizeof address.sun_path - 1));
        ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
        ::listen(fd, 1);
        _exit(0); // no clean-up, as in a crash
    }
    int status = 0;
    waitpid(child, &status, 0);
}

} // namespace

TEST(SingleInstanceTest, ASecondLaunchBringsTheFirstForwardAndIsToldToExit)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath("QuorvelData");
    SingleInstance first(folder);
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    QString why;
    ASSERT_EQ(first.claim(&why), SingleInstance::Claim::First) << why.toStdString();

    for (int launch = 1; launch <= 2; ++launch) {
        QString secondWhy;
        EXPECT_EQ(launchAgain(folder, &secondWhy), SingleInstance::Claim::Handed);
        EXPECT_EQ(secondWhy,
                  QStringLiteral("Quorvel is already running (process %1)").arg(QCoreApplication::applicationPid()));
        EXPECT_EQ(activations.count(), launch);
    }

    // Another data folder is another user's copy.
    SingleInstance elsewhere(dir.filePath("other"));
    EXPECT_EQ(elsewhere.claim(), SingleInstance::Claim::First);
    EXPECT_NE(elsewhere.serverName(), first.serverName());
}

TEST(SingleInstanceTest, ACrashedCopysLockNeverBlocksALaunch)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath("QuorvelData");
    {
        SingleInstance probe(folder);
        ASSERT_TRUE(QDir().mkpath(folder));
        leaveCrashedCopy(probe);
        ASSERT_TRUE(QFile::exists(probe.lockPath()));
    }
    SingleInstance next(folder);
    QSignalSpy activations(&next, &SingleInstance::activationRequested);
    QString why;
    ASSERT_EQ(next.claim(&why), SingleInstance::Claim::First);
    EXPECT_TRUE(why.isEmpty()) << why.toStdString(); // the old socket file was replaced
    // And it is the copy later launches reach.
    EXPECT_EQ(launchAgain(folder, &why), SingleInstance::Claim::Handed);
    EXPECT_EQ(activations.count(), 1);
}

// A regular file where a folder should be: no folder can be made under it,
// whoever runs the test (the superuser included).
QString underAFile(const QTemporaryDir &dir, const QString &name)
{
    QFile file(dir.filePath(QStringLiteral("file")));
    file.open(QIODevice::WriteOnly);
    return dir.filePath(QStringLiteral("file/") + name);
}

TEST(SingleInstanceTest, ADataFolderThatTakesNoFilesIsGuardedByTheSecondLock)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = underAFile(dir, QStringLiteral("QuorvelData"));
    const QString locks = dir.filePath(QStringLiteral("config"));
    SingleInstance first(folder, locks);
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    QString why;
    ASSERT_EQ(first.claim(&why), SingleInstance::Claim::First) << why.toStdString();
    EXPECT_TRUE(QFile::exists(first.secondLockPath()));

    EXPECT_EQ(launchAgain(folder, &why, locks), SingleInstance::Claim::Handed) << why.toStdString();
    EXPECT_EQ(activations.count(), 1);

    // The data folder takes files again: a later launch takes its lock but
    // still meets the running copy at the second one.
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("file"))));
    EXPECT_EQ(launchAgain(folder, &why, locks), SingleInstance::Claim::Handed) << why.toStdString();
    EXPECT_EQ(activations.count(), 2);
    EXPECT_FALSE(QFile::exists(first.lockPath())) << "the launch that handed over kept its lock";
}

TEST(SingleInstanceTest, WithoutAnyLockALaunchStillHandsOverToTheCopyThatRuns)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = underAFile(dir, QStringLiteral("QuorvelData"));
    const QString locks = underAFile(dir, QStringLiteral("config"));
    SingleInstance first(folder, locks);
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    QString why;
    ASSERT_EQ(first.claim(&why), SingleInstance::Claim::Unguarded);
    EXPECT_TRUE(why.contains(folder) && why.contains(locks)) << why.toStdString();

    EXPECT_EQ(launchAgain(folder, &why, locks), SingleInstance::Claim::Handed);
    EXPECT_EQ(why, QStringLiteral("Quorvel is already running"));
    EXPECT_EQ(activations.count(), 1);
}

// A restart starts the new copy while the old one is still quitting: the new
// one waits for the old one's locks instead of handing over to it and going.
TEST(SingleInstanceTest, ARestartedCopyWaitsForTheCopyItReplaces)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath("QuorvelData");
    const QString locks = dir.filePath("config");
    auto old = std::make_unique<SingleInstance>(folder, locks);
    ASSERT_EQ(old->claim(), SingleInstance::Claim::First);

    // Another process's restart is not this one's: hand over as ever.
    QString why;
    EXPECT_EQ(launchAgain(folder, &why, locks, QCoreApplication::applicationPid() + 1), SingleInstance::Claim::Handed);

    // The old copy quits while the new one waits (it finds the locks held).
    const auto quitSoon = [&] {
        QThread::msleep(300);
        old.reset();
    };
    EXPECT_EQ(launchAgain(folder, &why, locks, QCoreApplication::applicationPid(), quitSoon),
              SingleInstance::Claim::First)
        << why.toStdString();
}

TEST(SingleInstanceTest, ThePredecessorIsReadOnceFromTheEnvironment)
{
    qputenv(SingleInstance::kReplacesVariable, "4242");
    EXPECT_EQ(SingleInstance::takePredecessorFromEnvironment(), 4242);
    EXPECT_FALSE(qEnvironmentVariableIsSet(SingleInstance::kReplacesVariable));
    EXPECT_EQ(SingleInstance::takePredecessorFromEnvironment(), 0);
}

// A restart hands the new copy its predecessor through the new copy's own
// environment; this process's stays as it was.
TEST(SingleInstanceTest, TheLauncherGivesTheWordToTheNewProcessOnly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("replaces"));
    qv::app::DetachedProcessLauncher launcher;
    ASSERT_TRUE(launcher.startDetached(QStringLiteral("/bin/sh"),
                                       {QStringLiteral("-c"),
                                        QStringLiteral("printf %s \"$%1\" > \"$1.part\" && mv \"$1.part\" \"$1\"")
                                            .arg(QLatin1String(SingleInstance::kReplacesVariable)),
                                        QStringLiteral("sh"), out},
                                       {{QLatin1String(SingleInstance::kReplacesVariable), QStringLiteral("4242")}}));
    EXPECT_FALSE(qEnvironmentVariableIsSet(SingleInstance::kReplacesVariable));
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(out) && waited.elapsed() < 20000)
        QThread::msleep(10);
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the started process wrote nothing";
    EXPECT_EQ(file.readAll(), QByteArray("4242"));
}
