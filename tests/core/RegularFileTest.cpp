// Reading the program's own files: only regular files, never past a limit,
// never waiting on what stands in a file's place.

#include "core/RegularFile.h"

#include "support/OddFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace qv;
using namespace qv::test;
using Outcome = RegularFileRead::Outcome;

namespace {

bool write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

TEST(RegularFile, OnlyARegularFileWithinTheLimitIsRead)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plain = dir.filePath("plain.json");
    ASSERT_TRUE(write(plain, "[1,2,3]"));
    ASSERT_TRUE(write(dir.filePath("exact.json"), QByteArray(16, 'x')));
    ASSERT_TRUE(write(dir.filePath("big.json"), QByteArray(17, 'x')));
    ASSERT_TRUE(makeLink(dir.filePath("link.json"), plain));
    ASSERT_TRUE(makeLink(dir.filePath("dangling.json"), dir.filePath("gone.json")));
    ASSERT_TRUE(makeLink(dir.filePath("zero.json"), "/dev/zero"));
    ASSERT_TRUE(makeFifo(dir.filePath("pipe.json")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.json"));

    struct Case {
        const char *name;
        QString path;
        Outcome outcome;
        QByteArray bytes;
        const char *reason;
    };
    const Case cases[] = {
        {"regular", plain, Outcome::read, "[1,2,3]", ""},
        {"link to a regular file", dir.filePath("link.json"), Outcome::read, "[1,2,3]", ""},
        {"exactly the limit", dir.filePath("exact.json"), Outcome::read, QByteArray(16, 'x'), ""},
        {"missing", dir.filePath("none.json"), Outcome::missing, {}, ""},
        {"dangling link", dir.filePath("dangling.json"), Outcome::refused, {}, "No such file"},
        {"larger than the limit", dir.filePath("big.json"), Outcome::refused, {}, "larger than"},
        {"named pipe", dir.filePath("pipe.json"), Outcome::refused, {}, "a named pipe, not a regular file"},
        {"link to a device", dir.filePath("zero.json"), Outcome::refused, {}, "a device, not a regular file"},
        {"folder", dir.filePath("folder.json"), Outcome::refused, {}, "a folder, not a regular file"},
        // Says it is empty and holds more than the limit: read no further.
        {"grows past its size", "/proc/self/maps", Outcome::refused, {}, "larger than"},
    };
    // A read that waits on the pipe is set free, and fails, after a while.
    PipeWatchdog watchdog({dir.filePath("pipe.json")}, std::chrono::seconds(20));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const RegularFileRead got = readRegularFile(c.path, 16);
        EXPECT_EQ(got.outcome, c.outcome);
        EXPECT_EQ(got.bytes, c.bytes);
        EXPECT_TRUE(got.reason.contains(QLatin1String(c.reason))) << got.reason.toStdString();
    }
    EXPECT_FALSE(watchdog.stop()) << "a read waited on the named pipe";
}

TEST(RegularFile, AFileThatCannotBeOpenedIsRefusedWithTheSystemsReason)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser reads anything";
    QTemporaryDir dir;
    const QString path = dir.filePath("locked.json");
    ASSERT_TRUE(write(path, "{}"));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
    const RegularFileRead got = readRegularFile(path, 1024);
    EXPECT_EQ(got.outcome, Outcome::refused);
    EXPECT_TRUE(got.reason.contains(QLatin1String("Permission denied"))) << got.reason.toStdString();
}
