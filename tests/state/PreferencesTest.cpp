#include "state/Preferences.h"
#include "state/PreferencesFile.h"
#include "state/TerminationFlush.h"

#include "model/ModelFixtures.h"
#include "support/OddFiles.h"

#include "core/VirtualScheduler.h"
#include "core/WallClock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

using namespace qv;
using namespace qv::state;
using qv::test::readAll;
using qv::test::writeAll;

namespace {

// Every read, write and run bit of group and others.
constexpr int kGroupOrOther = 0x0077;

QByteArray bigPicture()
{
    QByteArray b;
    for (int i = 0; i < 20000; ++i)
        b.append(char(i * 7 % 256));
    return b;
}

struct FileFixture : ::testing::Test {
    QTemporaryDir dir;
    VirtualScheduler scheduler;
    FixedWallClock clock{QDateTime(QDate(2026, 12, 6), QTime(10, 15, 0), Qt::UTC)};
    QString path() const { return dir.filePath(QStringLiteral("cfg/Quorvel/preferences.json")); }
    QString folder() const { return QFileInfo(path()).absolutePath(); }
};

} // namespace

TEST(Preferences, TypedReadsGiveNoValueForOtherTypes)
{
    Preferences p;
    p.setBool("b", true);
    p.setInt("i", 42);
    p.setString("s", "wpm");
    p.setData("d", QByteArray("\x00\xff", 2));
    p.setIntDictionary("m", {{"A", 3}});

    EXPECT_EQ(p.boolValue("b"), true);
    EXPECT_EQ(p.intValue("b"), std::nullopt);
    EXPECT_EQ(p.stringValue("b"), std::nullopt);
    EXPECT_EQ(p.boolValue("i"), std::nullopt);
    EXPECT_EQ(p.intValue("i"), 42);
    EXPECT_EQ(p.stringValue("i"), std::nullopt);
    EXPECT_EQ(p.stringValue("s"), QString("wpm"));
    EXPECT_EQ(p.dataValue("s"), std::nullopt);
    EXPECT_EQ(p.dataValue("d"), QByteArray("\x00\xff", 2));
    // Bytes are stored as a tagged object but never read as a dictionary.
    EXPECT_EQ(p.dictionaryValue("d"), std::nullopt);
    EXPECT_EQ(p.dataValue("m"), std::nullopt);
    EXPECT_EQ(p.intDictionaryValue("m")->value("A"), 3);
    EXPECT_EQ(p.boolValue("absent"), std::nullopt);

    // Tagged bytes reject bad base64.
    EXPECT_EQ(Preferences::decodeData(QJsonObject{{"$data", "!!!"}}), std::nullopt);
    EXPECT_EQ(Preferences::decodeData(QJsonObject{{"$data", "AA=="}, {"x", 1}}), std::nullopt);
    EXPECT_EQ(Preferences::decodeData(QJsonObject{{"$data", ""}}), QByteArray());

    // An integer dictionary with any value that is not an integer reads as none.
    p.setDictionary("r", QJsonObject{{"A", 3}, {"B", "7"}});
    EXPECT_EQ(p.intDictionaryValue("r"), std::nullopt);
    p.setDictionary("r", QJsonObject{{"A", 3}, {"B", 2.5}});
    EXPECT_EQ(p.intDictionaryValue("r"), std::nullopt);
    p.setDictionary("r", QJsonObject{{"A", 3}, {"B", qint64(1) << 60}});
    ASSERT_TRUE(p.intDictionaryValue("r"));
    EXPECT_EQ(p.intDictionaryValue("r")->value("B"), qint64(1) << 60);
}

TEST(Preferences, ChangesAreAnnouncedAndRemoveForgets)
{
    Preferences p;
    QStringList seen;
    QObject::connect(&p, &Preferences::valueChanged, [&](const QString &k) { seen << k; });
    p.setString("a", "x");
    p.remove("a");
    p.remove("a");
    EXPECT_EQ(seen, QStringList({"a", "a"}));
    EXPECT_FALSE(p.contains("a"));
}

TEST_F(FileFixture, ValuesPersistAcrossInstancesWithTheirTypes)
{
    {
        PreferencesFile p(path(), scheduler, clock);
        p.setBool("qv_reduce_motion", true);
        p.setInt("n", -5);
        p.setString("qv_default_mode", "time");
        p.setData("qv_profile_image", QByteArray("\x89PNG\0", 5));
        p.setIntDictionary("qv_resume_progress", {{"3F2504E0-4F89-11D3-9A0C-0305E82C3301", 17}});
    }
    PreferencesFile q(path(), scheduler, clock);
    EXPECT_EQ(q.boolValue("qv_reduce_motion"), true);
    EXPECT_EQ(q.intValue("n"), -5);
    EXPECT_EQ(q.stringValue("qv_default_mode"), QString("time"));
    EXPECT_EQ(q.dataValue("qv_profile_image"), QByteArray("\x89PNG\0", 5));
    EXPECT_EQ(q.intDictionaryValue("qv_resume_progress")->value("3F2504E0-4F89-11D3-9A0C-0305E82C3301"), 17);
    const auto doc = QJsonDocument::fromJson(readAll(path()));
    EXPECT_TRUE(doc.object().value("qv_reduce_motion").isBool());
    EXPECT_TRUE(doc.object().value("qv_profile_image").toObject().contains("$data"));
}

TEST_F(FileFixture, WritesAreDebouncedOnTheSchedulerAndFlushWritesAtOnce)
{
    PreferencesFile p(path(), scheduler, clock);
    p.setString("k", "1");
    EXPECT_FALSE(QFile::exists(path()));
    scheduler.advance(300);
    p.setString("k", "2"); // within the quiet period: still one write pending
    EXPECT_FALSE(QFile::exists(path()));
    scheduler.advance(250);
    EXPECT_TRUE(QFile::exists(path()));
    EXPECT_EQ(QJsonDocument::fromJson(readAll(path())).object().value("k").toString(), "2");

    p.setString("k", "3");
    EXPECT_TRUE(p.hasPendingWrite());
    EXPECT_TRUE(p.flush());
    EXPECT_FALSE(p.hasPendingWrite());
    EXPECT_EQ(QJsonDocument::fromJson(readAll(path())).object().value("k").toString(), "3");
}

TEST_F(FileFixture, FileIsOwnerOnlyInAnOwnerOnlyFolder)
{
    const mode_t old = ::umask(0);
    {
        PreferencesFile p(path(), scheduler, clock);
        p.setString("qv_session", "tokens");
    }
    ::umask(old);
    const QFile::Permissions file = QFileInfo(path()).permissions();
    EXPECT_EQ(file & kGroupOrOther, 0);
    EXPECT_TRUE(file & QFileDevice::ReadOwner);
    EXPECT_TRUE(file & QFileDevice::WriteOwner);
    EXPECT_EQ(QFileInfo(folder()).permissions() & kGroupOrOther, 0);
}

TEST_F(FileFixture, UnparsableFileIsMovedAsideAndTheStoreStartsEmpty)
{
    ASSERT_TRUE(writeAll(path(), "{\"qv_default_mode\": \"time\","));
    PreferencesFile p(path(), scheduler, clock);
    EXPECT_FALSE(p.contains("qv_default_mode"));
    EXPECT_EQ(p.movedAsidePath(), path() + ".unreadable-20261206T101500Z");
    EXPECT_EQ(readAll(p.movedAsidePath()), QByteArray("{\"qv_default_mode\": \"time\","));
    p.setBool("x", true);
    EXPECT_TRUE(p.flush());
    EXPECT_EQ(readAll(p.movedAsidePath()), QByteArray("{\"qv_default_mode\": \"time\","));

    // A top-level array is not a store either.
    ASSERT_TRUE(writeAll(dir.filePath("arr.json"), "[1,2]"));
    PreferencesFile r(dir.filePath("arr.json"), scheduler, clock);
    EXPECT_FALSE(r.movedAsidePath().isEmpty());
}

TEST_F(FileFixture, APipeADeviceOrAnOversizedFileIsMovedAsideUnreadAndTheStoreStartsEmpty)
{
    struct Case {
        const char *name;
        std::function<bool(const QString &)> make;
    };
    const Case cases[] = {
        {"named pipe", [](const QString &p) { return qv::test::makeFifo(p); }},
        {"link to a device", [](const QString &p) { return qv::test::makeLink(p, QStringLiteral("/dev/zero")); }},
        {"larger than the limit",
         [](const QString &p) {
             QFile big(p);
             return big.open(QIODevice::WriteOnly) && big.resize(PreferencesFile::kMaxFileBytes + 1);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = dir.filePath(QStringLiteral("%1/preferences.json").arg(QLatin1String(c.name)));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
        ASSERT_TRUE(c.make(file));
        qv::test::PipeWatchdog watchdog({file}, std::chrono::seconds(20));
        PreferencesFile p(file, scheduler, clock);
        EXPECT_FALSE(watchdog.stop()) << "the load waited on the named pipe";
        EXPECT_EQ(p.movedAsidePath(), file + ".unreadable-20261206T101500Z");
        EXPECT_TRUE(QFileInfo(p.movedAsidePath()).exists() || QFileInfo(p.movedAsidePath()).isSymLink());
        p.setBool("x", true);
        EXPECT_TRUE(p.flush());
        EXPECT_EQ(PreferencesFile(file, scheduler, clock).boolValue("x"), true);
    }
}

TEST_F(FileFixture, APipeInPlaceOfASideFileReadsAsAbsent)
{
    {
        PreferencesFile p(path(), scheduler, clock);
        p.setData("qv_profile_image", bigPicture());
        p.setString("qv_default_mode", "time");
        ASSERT_TRUE(p.flush());
    }
    const QString side = PreferencesFile(path(), scheduler, clock).sideFilePath("qv_profile_image");
    ASSERT_FALSE(side.isEmpty());
    ASSERT_TRUE(QFile::remove(side));
    ASSERT_TRUE(qv::test::makeFifo(side));
    qv::test::PipeWatchdog watchdog({side}, std::chrono::seconds(20));
    PreferencesFile p(path(), scheduler, clock);
    EXPECT_FALSE(watchdog.stop()) << "the load waited on the named pipe";
    EXPECT_FALSE(p.contains("qv_profile_image"));
    EXPECT_EQ(p.stringValue("qv_default_mode"), "time");
}

TEST_F(FileFixture, TemporaryFilesOfAnInterruptedSaveGoAtTheNextStartAndNothingElse)
{
    ASSERT_TRUE(QDir().mkpath(folder()));
    const QStringList leftovers{"preferences.json.a8Kq2Z", "preferences.qv_profile_image.bin.Xy12ab",
                                "preferences.qv_resume-1a2b3c4d.bin.000000"};
    const QStringList others{
        "notes.json.a8Kq2Z",                            // not a file of the store
        "preferences.json.backup",                      // a word a person added
        "preferences.json.a8Kq2",                       // not six characters
        "preferences.json.unreadable-20261206T101500Z", // a file kept for the user
        "preferences.qv_profile_image.bin",             // a side file in use
    };
    for (const QString &name : leftovers + others)
        ASSERT_TRUE(writeAll(QDir(folder()).filePath(name), "x"));
    // A link of the right name points elsewhere: not ours to remove.
    ASSERT_TRUE(writeAll(dir.filePath("elsewhere"), "x"));
    ASSERT_TRUE(qv::test::makeLink(QDir(folder()).filePath("preferences.json.L1nk00"), dir.filePath("elsewhere")));

    PreferencesFile p(path(), scheduler, clock);
    QStringList expected = others + QStringList{"preferences.json.L1nk00"};
    expected.sort();
    EXPECT_EQ(QDir(folder()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name), expected);
}

TEST_F(FileFixture, TerminationFlushWritesPendingChanges)
{
    PreferencesFile p(path(), scheduler, clock);
    TerminationFlush flush([&] { EXPECT_TRUE(p.flush()); });
    ASSERT_TRUE(flush.installSignalHandlers());
    int seen = 0;
    QObject::connect(&flush, &TerminationFlush::terminationRequested, [&](int s) { seen = s; });
    p.setString("k", "v");
    ::raise(SIGHUP);
    // The handler only wakes the loop; the write happens there.
    scheduler.runUntil([&] { return seen != 0; }, 10, 2000);
    EXPECT_EQ(seen, SIGHUP);
    EXPECT_FALSE(p.hasPendingWrite());
    EXPECT_EQ(QJsonDocument::fromJson(readAll(path())).object().value("k").toString(), "v");
}

TEST_F(FileFixture, LargeBytesLiveBesideTheFileAndReadBackUnchanged)
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
    EXPECT_EQ(QFileInfo(side).permissions() & kGroupOrOther, 0);
    const QByteArray json = readAll(path());
    EXPECT_LT(json.size(), 1000);
    EXPECT_FALSE(json.contains(picture.toBase64().left(64)));

    PreferencesFile q(path(), scheduler, clock);
    EXPECT_EQ(q.dataValue("qv_profile_image"), picture);
    EXPECT_EQ(q.dataValue("qv_session"), QByteArray("small token bytes"));
    EXPECT_EQ(q.stringValue("qv_profile_name"), "Ann");
}

TEST_F(FileFixture, TheSideFileIsWrittenOnlyWhenItsValueChanges)
{
    PreferencesFile p(path(), scheduler, clock);
    p.setData("qv_profile_image", bigPicture());
    ASSERT_TRUE(p.flush());
    const QString side = p.sideFilePath("qv_profile_image");
    // Mark the file: a rewrite would replace the mark.
    ASSERT_TRUE(writeAll(side, "mark"));
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

TEST_F(FileFixture, AMissingOrStrayReferenceReadsAsAbsentAndTheRestLoads)
{
    ASSERT_TRUE(writeAll(path(), R"({"qv_profile_image": {"$file": "preferences.qv_profile_image.bin"},
                         "stray": {"$file": "../../elsewhere.bin"},
                         "qv_profile_name": "Ann"})"));
    writeAll(dir.filePath("cfg/elsewhere.bin"), "outside");
    PreferencesFile p(path(), scheduler, clock);
    EXPECT_TRUE(p.movedAsidePath().isEmpty());
    EXPECT_FALSE(p.contains("qv_profile_image"));
    EXPECT_FALSE(p.contains("stray"));
    EXPECT_EQ(p.stringValue("qv_profile_name"), "Ann");
}

#include "state/PreferenceKeys.h"

TEST(PreferenceKeys, EveryKeyFallsBackToItsOwnDefaultAlsoForValuesOfTheWrongType)
{
    Preferences p;
    const auto expectDefaults = [&] {
        EXPECT_FALSE(prefs::autoUpdateEnabled(p));
        EXPECT_FALSE(prefs::reduceMotion(p));
        EXPECT_TRUE(prefs::showSmartBrief(p));
        EXPECT_EQ(prefs::defaultMode(p), "wpm");
        EXPECT_EQ(prefs::defaultGrade(p), "12");
        EXPECT_EQ(prefs::defaultReview(p), "medium");
        EXPECT_EQ(prefs::defaultPreset(p), "balanced");
        EXPECT_EQ(prefs::profileName(p), "");
        EXPECT_EQ(prefs::profileImage(p), std::nullopt);
        EXPECT_TRUE(prefs::resumeProgress(p).isEmpty());
    };
    expectDefaults();
    p.setString(keys::autoUpdateEnabled, "true");
    p.setInt(keys::reduceMotion, 1);
    p.setString(keys::showSmartBrief, "no");
    p.setBool(keys::defaultMode, true);
    p.setInt(keys::defaultGrade, 9);
    p.setString(keys::profileImage, "abc");
    p.setDictionary(keys::resumeProgress, QJsonObject{{"A", 1}, {"B", true}});
    expectDefaults();

    p.setBool(keys::showSmartBrief, false);
    p.setString(keys::defaultPreset, "turbo"); // taken as it is
    EXPECT_FALSE(prefs::showSmartBrief(p));
    EXPECT_EQ(prefs::defaultPreset(p), "turbo");
}

TEST_F(FileFixture, AFailedWriteSaysWhyAndTheNextWriteStoresEverything)
{
    PreferencesFile p(path(), scheduler, clock);
    QStringList failures;
    QObject::connect(&p, &Preferences::saveFailed, [&](const QString &reason) { failures << reason; });
    p.setString("a", "1");
    ASSERT_TRUE(p.flush());

    // A folder where the file goes: the debounced write and a flush fail.
    ASSERT_TRUE(QFile::remove(path()));
    ASSERT_TRUE(QDir().mkpath(path()));
    p.setString("b", "2");
    scheduler.advance(PreferencesFile::kDebounceMs);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].endsWith(QStringLiteral("(%1)").arg(path()))) << failures[0].toStdString();
    // Whose values did not reach the disk: the window that changed them says so.
    EXPECT_EQ(p.unsavedKeys(), QSet<QString>({"b"}));
    p.setString("c", "3");
    const SaveResult flushed = p.flush();
    ASSERT_FALSE(flushed);
    EXPECT_EQ(flushed.reason(), failures.value(1));
    EXPECT_EQ(p.unsavedKeys(), QSet<QString>({"b", "c"}));

    // Once the way is clear (here the whole folder went), nothing was lost.
    ASSERT_TRUE(QDir(folder()).removeRecursively());
    ASSERT_TRUE(p.flush());
    EXPECT_TRUE(p.unsavedKeys().isEmpty());
    EXPECT_EQ(failures.size(), 2);
    PreferencesFile reread(path(), scheduler, clock);
    EXPECT_EQ(reread.toJson(), QJsonObject({{"a", "1"}, {"b", "2"}, {"c", "3"}}));
}
