#include "state/UpdateChecker.h"
#include "state/Appcast.h"

#include "FakeWorkspace.h"
#include "ScriptedFetcher.h"

#include "core/VirtualScheduler.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::state;
using qv::test::FakeWorkspace;
using qv::test::ScriptedFetcher;

namespace {

QByteArray feed(const QString &version, const QString &url = "https://example.test/Quorvel-2.0.zip")
{
    return QStringLiteral("<rss><channel><item><title>New</title>"
                          "<sparkle:shortVersionString>%1</sparkle:shortVersionString>"
                          "<enclosure length=\"1\" url=\"%2\" type=\"application/octet-stream\"/>"
                          "</item></channel></rss>")
        .arg(version, url)
        .toUtf8();
}

struct UpdateFixture : ::testing::Test {
    VirtualScheduler scheduler;
    ScriptedFetcher fetcher{scheduler};
    FakeWorkspace workspace;
    bool autoUpdate = false;
    QString current = "1.2";
    std::unique_ptr<UpdateChecker> checker;

    UpdateChecker &make(QUrl base = QUrl("http://127.0.0.1:54321"))
    {
        checker = std::make_unique<UpdateChecker>(fetcher, scheduler, workspace, base, current,
                                                  [this] { return autoUpdate; });
        return *checker;
    }
    void answer(std::optional<QByteArray> body, double delayMs = 10)
    {
        fetcher.answers << ScriptedFetcher::Answer{body, delayMs};
    }
    void settle()
    {
        scheduler.runUntil([&] { return !checker->inFlight(); }, 120'000);
    }
    // One whole check against the given answer.
    void check(std::optional<QByteArray> body, bool forced)
    {
        answer(std::move(body));
        checker->checkForUpdates(forced);
        settle();
    }
};

} // namespace

TEST(VersionCompare, TableOfCases)
{
    using appcast::isVersionNewer;
    EXPECT_TRUE(isVersionNewer("1.10", "1.9"));
    EXPECT_FALSE(isVersionNewer("1.9", "1.10"));
    EXPECT_FALSE(isVersionNewer("1.2", "1.2.0"));
    EXPECT_FALSE(isVersionNewer("1.2.0", "1.2"));
    EXPECT_TRUE(isVersionNewer("1.2.1", "1.2"));
    EXPECT_TRUE(isVersionNewer("2.0-beta", "1.9"));
    EXPECT_FALSE(isVersionNewer("1.2.0-beta", "1.2.0"));
    EXPECT_TRUE(isVersionNewer("1..3", "1.2"));
    EXPECT_FALSE(isVersionNewer("1.3 ", "1.2")); // the trailing blank makes the last piece 0
    EXPECT_TRUE(isVersionNewer("0.1", "0"));
    EXPECT_FALSE(isVersionNewer("", "0"));
    EXPECT_TRUE(isVersionNewer("+2", "1"));
    EXPECT_FALSE(isVersionNewer("-2", "1"));
    // Pieces beyond 64 bits, Arabic-Indic digits and blanks count as 0.
    EXPECT_FALSE(isVersionNewer("99999999999999999999", "1"));
    EXPECT_EQ(appcast::versionPiece("9223372036854775807"), 9223372036854775807LL);
    EXPECT_EQ(appcast::versionPiece(QString::fromUtf8("\xD9\xA3")), 0);
    EXPECT_EQ(appcast::versionPiece(" 3"), 0);
    EXPECT_EQ(appcast::versionPiece("-"), 0);
}

TEST(Appcast, FeedElementsAreMatchedAsWrittenAndOnlyWebAddressesMayBeOpened)
{
    EXPECT_EQ(appcast::feedVersion(QString::fromUtf8(feed("1.3 "))), QString("1.3 "));
    EXPECT_EQ(appcast::feedVersion(QString::fromUtf8("<sparkle:shortVersionString>\n \u2003"
                                                     "2.1</x>")),
              QString("2.1"));
    EXPECT_EQ(appcast::feedVersion("<sparkle:version>3</sparkle:version>"), std::nullopt);
    EXPECT_EQ(appcast::feedDownloadAddress(QString::fromUtf8(feed("1"))),
              QString("https://example.test/Quorvel-2.0.zip"));
    EXPECT_EQ(appcast::feedDownloadAddress("<enclosure length=\"3\">url=\"x\""), std::nullopt);

    EXPECT_TRUE(appcast::openableUrl("https://example.test/a.zip"));
    EXPECT_TRUE(appcast::openableUrl("HTTP://example.test/a.zip"));
    EXPECT_FALSE(appcast::openableUrl("file:///etc/passwd"));
    EXPECT_FALSE(appcast::openableUrl("javascript:alert(1)"));
    EXPECT_FALSE(appcast::openableUrl("smb://host/share"));
    EXPECT_FALSE(appcast::openableUrl("http:relative"));
    EXPECT_FALSE(appcast::openableUrl("/just/a/path"));
    EXPECT_FALSE(appcast::openableUrl("https://exa mple.test/"));
}

TEST_F(UpdateFixture, NewerVersionShowsThePromptAtTheFeedAddress)
{
    make();
    answer(feed("1.10"));
    checker->checkForUpdates(false);
    EXPECT_TRUE(checker->inFlight());
    settle();
    ASSERT_EQ(fetcher.requests.size(), 1);
    EXPECT_EQ(fetcher.requests[0], QUrl("http://127.0.0.1:54321/quorvel-site/appcast.xml"));
    EXPECT_EQ(checker->updateVersion(), "1.10");
    EXPECT_EQ(checker->updateUrl(), QUrl("https://example.test/Quorvel-2.0.zip"));
    EXPECT_TRUE(checker->showUpdatePrompt());
    EXPECT_FALSE(checker->showNoUpdatePrompt());
    EXPECT_TRUE(workspace.opened.isEmpty());
}

TEST_F(UpdateFixture, NotNewerShowsNoUpdateOnlyWhenForcedAndKeepsEarlierResults)
{
    make();
    check(feed("1.2.0"), false);
    EXPECT_FALSE(checker->showNoUpdatePrompt());
    EXPECT_FALSE(checker->showUpdatePrompt());
    check(feed("1.2.0"), true);
    EXPECT_TRUE(checker->showNoUpdatePrompt());
    EXPECT_FALSE(checker->showUpdatePrompt());
    EXPECT_EQ(checker->updateVersion(), "");

    // A check finding nothing newer keeps earlier results.
    check(feed("1.5"), false);
    check(feed("1.1"), false);
    EXPECT_EQ(checker->updateVersion(), "1.5");
    EXPECT_TRUE(checker->showUpdatePrompt());
}

TEST_F(UpdateFixture, AnErrorPageOrNoAnswerIsSilentEvenWhenForced)
{
    make();
    check(QByteArray("<html><body>404 Not Found</body></html>"), true);
    check(std::nullopt, true);
    check(QByteArray("\xff\xfe\x00<sparkle:shortVersionString>9<", 32), true);
    EXPECT_FALSE(checker->showNoUpdatePrompt());
    EXPECT_FALSE(checker->showUpdatePrompt());
    EXPECT_FALSE(checker->inFlight());
}

TEST_F(UpdateFixture, AHungServerEndsTheCheckAfterSixtySecondsAndItsLateAnswerIsIgnored)
{
    current = ""; // no version of its own counts as 0, so any answer would be newer
    make();
    answer(feed("0.0.1"), 70'000);
    checker->checkForUpdates(true);
    scheduler.advance(59'999);
    EXPECT_TRUE(checker->inFlight());
    scheduler.advance(1);
    EXPECT_FALSE(checker->inFlight());
    scheduler.advance(20'000);
    EXPECT_FALSE(checker->showNoUpdatePrompt());
    EXPECT_FALSE(checker->showUpdatePrompt());
    check(feed("0.0.1"), false);
    EXPECT_TRUE(checker->showUpdatePrompt());
}

TEST_F(UpdateFixture, ACheckWhileOneIsInFlightIsIgnoredEntirely)
{
    make();
    answer(feed("1.0"), 500);
    answer(feed("1.0"));
    checker->checkForUpdates(false);
    checker->checkForUpdates(true); // forced, but ignored: no no-update prompt of its own
    settle();
    EXPECT_EQ(fetcher.requests.size(), 1);
    EXPECT_FALSE(checker->showNoUpdatePrompt());
}

TEST_F(UpdateFixture, AutomaticUpdatesOpenTheDownloadUnlessForcedButNeverANonWebAddress)
{
    autoUpdate = true;
    make();
    check(feed("3.0", "file:///tmp/evil.sh"), false);
    check(feed("3.0", "x-help:open"), true);
    EXPECT_TRUE(workspace.opened.isEmpty());
    EXPECT_FALSE(checker->showUpdatePrompt());
    EXPECT_EQ(checker->updateVersion(), "");
    EXPECT_FALSE(checker->inFlight());

    // The launch check and the check of every dashboard showing: the page
    // opens once per run, even for a still newer feed.
    check(feed("3.0"), false);
    check(feed("3.0"), false);
    check(feed("3.1"), false);
    EXPECT_EQ(workspace.opened.size(), 1);
    EXPECT_FALSE(checker->showUpdatePrompt());
    check(feed("3.0"), true);
    EXPECT_EQ(workspace.opened.size(), 1);
    EXPECT_TRUE(checker->showUpdatePrompt());
}

TEST_F(UpdateFixture, AnUnusableSiteAddressEndsTheCheckAtOnce)
{
    make(QUrl("not a url"));
    checker->checkForUpdates(true);
    EXPECT_FALSE(checker->inFlight());
    EXPECT_TRUE(fetcher.requests.isEmpty());
    EXPECT_EQ(UpdateChecker::feedUrl(QUrl("https://site.test/base/")),
              QUrl("https://site.test/base/quorvel-site/appcast.xml"));
}
