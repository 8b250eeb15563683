#include "state/PreferencesFile.h"

#include "core/VirtualScheduler.h"
#include "core/WallClock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::state;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray bigPicture()
{
    QByteArray b;
    for (int i = 0; i < 20000; ++i)
        b.append(char(i * 7 % 256));
    return b;
}

struct SideFileFixture : ::testing::Test {
    QTemporaryDir dir;
    VirtualScheduler scheduler;
    FixedWallClock clock{QDateTime(QDate(2026, 12, 6), QTime(10, 15, 0), Qt::UTC)};
    QString path() const { return dir.filePath(QStringLiteral("cfg/Quorvel/preferences.json")); }
    QString folder() const { return QFileInfo(path()).absolutePath(); }
};

} // namespace

TEST_F(SideFileFixture, LargeBytesLiveBesideTheFileAndReadBackUnchanged)
{
    const QByteArray picture = bigPicture();
    QString side;
    {
        PreferencesFile p(path(), scheduler, clock);
        p.setData("qv_profile_image", picture);
        p.setData("qv_session", QByteArray("small token bytes"));
        p.setString("qv_profile_name", "Ann");
        ASSERT_TRUE(p.flush());
        side = p.sideFilePath("qv_profile_image");
        EXPECT_TRUE(p.sideFilePath("qv_session").isEmpty());
    }
    ASSERT_FALSE(side.isEmpty());
    EXPECT_EQ(QFileInfo(side).absolutePath(), folder());
    EXPECT_EQ(readAll(side), picture);
    EXPECT_EQ(QFileInfo(side).permissions() & 0x0077, 0); // owner only
    const QByteArray json = readAll(path());
    EXPECT_LT(json.size(), 1000);
    EXPECT_FALSE(json.contains(picture.toBase64().left(64)));

    PreferencesFile q(path(), scheduler, clock);
    EXPECT_EQ(q.dataValue("qv_profile_image"), picture);
    EXPECT_EQ(q.dataValue("qv_session"), QByteArray("small token bytes"));
    EXPECT_EQ(q.stringValue("qv_profile_name"), "Ann");
}

TEST_F(SideFileFixture, TheSideFileIsWrittenOnlyWhenItsValueChanges)
{
    PreferencesFile p(path(), scheduler, clock);
    p.setData("qv_profile_image", bigPicture());
    ASSERT_TRUE(p.flush());
    const QString side = p.sideFilePath("qv_profile_image");
    // Mark the file: a rewrite would replace the mark.
    writeAll(side, "mark");
    p.setInt("counter", 1);
    p.setString("qv_profile_name", "Bo");
    ASSERT_TRUE(p.flush());
    EXPECT_EQ(readAll(side), QByteArray("mark"));

    QByteArray other = bigPicture();
    other[10] = 'x';
    p.setData("qv_profile_image", other);
    ASSERT_TRUE(p.flush());
    EXPECT_EQ(readAll(side), other);

    // A value that shrinks or goes takes its side file with it.
    p.remove("qv_profile_image");
    ASSERT_TRUE(p.flush());
    EXPECT_FALSE(QFileInfo::exists(side));
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList{"preferences.json"});
}

TEST_F(SideFileFixture, AMissingOrStrayReferenceReadsAsAbsentAndTheRestLoads)
{
    writeAll(path(), R"({"qv_profile_image": {"$file": "preferences.qv_profile_image.bin"},
                         "stray": {"$file": "../../elsewhere.bin"},
                         "qv_profile_name": "Ann"})");
    writeAll(dir.filePath("cfg/elsewhere.bin"), "outside");
    PreferencesFile p(path(), scheduler, clock);
    EXPECT_TRUE(p.movedAsidePath().isEmpty());
    EXPECT_FALSE(p.contains("qv_profile_image"));
    EXPECT_FALSE(p.contains("stray"));
    EXPECT_EQ(p.stringValue("qv_profile_name"), "Ann");
}
