#include "state/AppState.h"

#include "TestAppEnvironment.h"

#include "model/Storage.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::state;

namespace {

// Input not granted; counts the reads.
class FakePermissions final : public test::GrantedPermissions {
public:
    bool input = false;
    int reads = 0;
    bool accessibilityReady() override { return ++reads, true; }
    bool inputSynthesisReady() override { return ++reads, input; }
};

struct AppStateFixture : ::testing::Test {
    QTemporaryDir dir;
    VirtualScheduler scheduler;
    FixedWallClock clock{QDateTime(QDate(2026, 12, 6), QTime(10, 15, 0), Qt::UTC), &scheduler};
    Preferences memory;
    test::FakeWorkspace workspace;
    FakePermissions permissions;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>(scheduler);
    std::shared_ptr<test::ScriptedFetcher> fetcher = std::make_shared<test::ScriptedFetcher>(scheduler);

    AppStateEnvironment environment()
    {
        auto env = test::testAppEnvironment(scheduler, clock, memory, workspace, permissions, dir, transport, fetcher);
        env.version = "1.2.0";
        return env;
    }
    std::unique_ptr<AppState> make() { return std::make_unique<AppState>(environment()); }
};

Project project(const QString &title, int minute)
{
    Project p;
    p.id = QUuid::createUuid();
    p.title = title;
    p.updatedAt = QDateTime(QDate(2026, 1, 1), QTime(0, minute), Qt::UTC);
    return p;
}

test::ScriptedFetcher::Answer feed(const char *version)
{
    return {QStringLiteral("<sparkle:shortVersionString>%1</sparkle:shortVersionString>"
                           "<enclosure url=\"https://example.test/q.zip\"/>")
                .arg(QLatin1String(version))
                .toUtf8()};
}

} // namespace

TEST_F(AppStateFixture, StoredPreferencesOrTheInitialValuesAreReadAtStart)
{
    auto app = make();
    EXPECT_EQ(app->statusText(), "Idle");
    EXPECT_FALSE(app->isAuthenticated());
    EXPECT_FALSE(app->showUpdatePrompt());
    EXPECT_EQ(app->updateURL(), std::nullopt);
    EXPECT_FALSE(app->suppressTopBar());

    memory.setBool("qv_autoUpdateEnabled", true);
    memory.setBool("qv_reduce_motion", true);
    memory.setString("qv_default_mode", "time");
    memory.setString("qv_profile_name", "Pat");
    memory.setData("qv_profile_image", QByteArray("\x89PNG", 4));
    app = make();
    EXPECT_TRUE(app->autoUpdateEnabled());
    EXPECT_TRUE(app->reduceMotionEnabled());
    EXPECT_TRUE(app->showSmartBrief());
    EXPECT_EQ(app->defaultMode(), "time");
    EXPECT_EQ(app->profileName(), "Pat");
    EXPECT_EQ(app->profileImageData(), QByteArray("\x89PNG", 4));

    memory.setBool("qv_show_smart_brief", false);
    EXPECT_FALSE(make()->showSmartBrief());
}

TEST_F(AppStateFixture, PermissionsAreReadOnceAtStart)
{
    auto app = make();
    EXPECT_TRUE(app->accessibilityReady());
    EXPECT_FALSE(app->inputMonitoringReady());
    permissions.input = true;
    scheduler.advance(10'000);
    EXPECT_FALSE(app->inputMonitoringReady());
    EXPECT_EQ(permissions.reads, 2);
}

TEST_F(AppStateFixture, ListsFillInAfterTheInitialiserReturns)
{
    {
        Storage storage(environment().dataFolders, clock);
        ASSERT_TRUE(storage.saveProjects({project("old", 1), project("new", 2)}));
    }
    auto app = make();
    EXPECT_TRUE(app->projects().isEmpty());
    QSignalSpy spy(app.get(), &AppState::projectsChanged);
    scheduler.advance(1);
    ASSERT_EQ(app->projects().size(), 2);
    EXPECT_EQ(app->projects()[0].title, "new");
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(AppStateFixture, TheUpdateCheckStartsOnceTheInitialiserHasReturnedAndFollowsTheAutomaticSwitch)
{
    auto app = make();
    EXPECT_TRUE(fetcher->requests.isEmpty());
    fetcher->answers << feed("1.3");
    scheduler.advance(100);
    ASSERT_EQ(fetcher->requests.size(), 1);
    EXPECT_TRUE(app->showUpdatePrompt());
    EXPECT_EQ(app->updateVersion(), "1.3");
    EXPECT_EQ(app->updateURL(), QUrl("https://example.test/q.zip"));
    app->setShowUpdatePrompt(false);
    EXPECT_FALSE(app->showUpdatePrompt());

    // Automatic updates follow the published switch.
    app = make();
    app->setAutoUpdateEnabled(true);
    fetcher->answers << feed("2.0");
    scheduler.advance(100);
    EXPECT_EQ(workspace.opened, QList<QUrl>({QUrl("https://example.test/q.zip")}));
    EXPECT_FALSE(app->showUpdatePrompt());
}

TEST_F(AppStateFixture, AStoredSessionIsRestoredAtStart)
{
    memory.setData("qv_session", SupabaseSession{"A", "R", "u1", QStringLiteral("pat@example.test")}.toJson());
    transport->respond("GET", "/rest/v1/profiles", 200, R"([{"id":"u1","email":null}])");
    auto app = make();
    QSignalSpy spy(app.get(), &AppState::isAuthenticatedChanged);
    scheduler.advance(1);
    EXPECT_TRUE(app->isAuthenticated());
    EXPECT_EQ(app->authEmail(), "pat@example.test");
    EXPECT_EQ(spy.count(), 1);
    // The five-minute refresh runs from the start.
    const auto before = transport->requests().size();
    scheduler.advance(300'000);
    EXPECT_EQ(transport->requests().size(), before + 1);
}

TEST_F(AppStateFixture, SmartSuggestionsReadTheStoredDefaultsAtEveryCall)
{
    auto app = make();
    EXPECT_EQ(app->smartDefaults("").grade, "12");
    memory.setString("qv_default_grade", "10");
    memory.setString("qv_default_review", "light");
    memory.setString("qv_default_preset", "accurate");
    const SmartProfile p = app->smartDefaults(" ");
    EXPECT_EQ(p.grade, "10");
    EXPECT_EQ(p.review, "light");
    EXPECT_EQ(p.preset, "accurate");
    EXPECT_EQ(app->smartReason(""), "Defaults selected from your preferences.");
}

// Writing the store to disk is its own concern; here, that the state writes to it.
TEST_F(AppStateFixture, ProfileNameAndDefaultModeAreStoredForTheNextLaunch)
{
    auto app = make();
    app->setDefaultMode("time");
    app->updateProfileName("  Pat ");
    EXPECT_EQ(make()->defaultMode(), "time");
    EXPECT_EQ(make()->profileName(), "  Pat ");
    app->updateProfileName("");
    EXPECT_EQ(make()->profileName(), "");
    EXPECT_TRUE(memory.contains("qv_profile_name")); // an empty name is stored, not removed
}

TEST_F(AppStateFixture, ChangeSignalsFireOnlyOnChange)
{
    auto app = make();
    QSignalSpy spy(app.get(), &AppState::statusTextChanged);
    app->setStatusText("Idle");
    app->setStatusText("Waiting");
    app->setStatusText("Waiting");
    EXPECT_EQ(spy.count(), 1);
    QSignalSpy mode(app.get(), &AppState::defaultModeChanged);
    app->setDefaultMode("time");
    app->setDefaultMode("time");
    EXPECT_EQ(mode.count(), 1);
    QSignalSpy image(app.get(), &AppState::profileImageDataChanged);
    app->setProfileImageData(QByteArray());
    app->setProfileImageData(std::nullopt);
    EXPECT_EQ(image.count(), 2); // empty bytes and no picture are different values
}

TEST_F(AppStateFixture, GoingAwayWithFlowsInFlightIsSafe)
{
    const QByteArray auth = R"({"access_token":"A","refresh_token":"R","user":{"id":"u1","email":"p@x.test"}})";
    transport->respond("POST", "/auth/v1/token", 200, auth);
    transport->respond("GET", "/rest/v1/profiles", 200, R"([{"id":"u1","email":null}])");
    auto app = make();
    app->signIn("pat@example.test", "pw");
    scheduler.advance(1);
    ASSERT_TRUE(app->isAuthenticated());

    // A refresh, a gate, a password change and the update check, all still waiting.
    transport->respond("GET", "/rest/v1/profiles", 401, "expired", 100);
    transport->respond("POST", "/auth/v1/token", 200, auth, 100);
    transport->respond("POST", "/auth/v1/token", 200, auth, 100);
    transport->respond("POST", "/auth/v1/token", 200, auth, 100);
    fetcher->answers << test::ScriptedFetcher::Answer{QByteArray("<sparkle:shortVersionString>9<"), 100};
    bool completed = false;
    app->refreshProfile();
    app->enforceAuthGate();
    app->changePassword("a", "b", [&](auto) { completed = true; });
    app->checkForUpdates(true);
    app.reset();
    scheduler.advance(600'000);
    EXPECT_FALSE(completed); // not called once the object is gone
}
