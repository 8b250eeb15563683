// The state object against the local development backend over real loopback
// sockets: the flows end to end, with the client's real transport.
#include "state/AppState.h"

#include "TestAppEnvironment.h"

#include "LoopbackBackend.h"
#include "services/SupabaseSession.h"
#include "state/PreferenceKeys.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::state;

namespace {

struct DevBackendFixture : ::testing::Test {
    std::unique_ptr<devbackend::DevBackend> backend;
    QTemporaryDir dir;
    VirtualScheduler scheduler;
    FixedWallClock clock{QDateTime(QDate(2026, 12, 6), QTime(10, 0), Qt::UTC), &scheduler};
    Preferences prefs;
    test::FakeWorkspace workspace;
    test::GrantedPermissions permissions;
    std::unique_ptr<AppState> app;

    void SetUp() override
    {
        auto options = test::loopbackOptions("pat@example.test", "correct horse");
        options.appcastVersion = "9.1";
        std::string error;
        backend = test::startLoopbackBackend(options, error);
        ASSERT_TRUE(backend) << error;
    }
    void TearDown() override
    {
        app.reset();
        if (backend)
            backend->stop();
    }

    AppState &start()
    {
        // The client's real transport and the site's real fetcher.
        auto env = test::testAppEnvironment(scheduler, clock, prefs, workspace, permissions, dir, nullptr, nullptr);
        env.backendUrl = QUrl(QString::fromStdString(backend->baseUrl()));
        env.backendAnonKey = AppStateEnvironment::defaultBackendAnonKey();
        env.siteUrl = env.backendUrl;
        env.version = "1.0";
        app = std::make_unique<AppState>(env);
        return *app;
    }
    bool waitFor(const std::function<bool()> &done) { return test::waitOnSockets(scheduler, done); }
};

} // namespace

TEST_F(DevBackendFixture, TheGateKeepsASessionWhoseAccessTokenExpired)
{
    AppState &s = start();
    s.signIn("pat@example.test", "correct horse");
    ASSERT_TRUE(waitFor([&] { return s.isAuthenticated(); }));
    const auto before = SupabaseSession::fromJson(*prefs.dataValue(keys::session));
    backend->advanceClock(2 * 3600);
    s.enforceAuthGate();
    ASSERT_TRUE(waitFor([&] {
        const auto now = SupabaseSession::fromJson(prefs.dataValue(keys::session).value_or(QByteArray()));
        return now && now->accessToken != before->accessToken;
    }));
    EXPECT_TRUE(s.isAuthenticated());
}

TEST_F(DevBackendFixture, PasswordChangeWorksWithAnExpiredHeldToken)
{
    AppState &s = start();
    s.signIn("pat@example.test", "correct horse");
    ASSERT_TRUE(waitFor([&] { return s.isAuthenticated(); }));
    backend->advanceClock(2 * 3600); // the held access token has expired
    std::optional<AccountSession::ChangePasswordResult> result;
    s.changePassword("correct horse", "battery staple", [&](auto r) { result = r; });
    ASSERT_TRUE(waitFor([&] { return result.has_value(); }));
    ASSERT_TRUE(std::holds_alternative<QString>(*result)) << std::get<AppError>(*result).message.toStdString();
    EXPECT_EQ(std::get<QString>(*result), "Password updated.");

    s.signOut();
    s.signIn("pat@example.test", "battery staple");
    ASSERT_TRUE(waitFor([&] { return s.isAuthenticated(); }));
}

TEST_F(DevBackendFixture, TheUpdateCheckReadsTheSitesFeed)
{
    AppState &s = start();
    ASSERT_TRUE(waitFor([&] { return s.showUpdatePrompt(); }));
    EXPECT_EQ(s.updateVersion(), "9.1");
    ASSERT_TRUE(s.updateURL());
    EXPECT_EQ(s.updateURL()->host(), "127.0.0.1");
}
