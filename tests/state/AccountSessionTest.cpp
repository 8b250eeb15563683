#include "state/AccountSession.h"

#include "core/VirtualScheduler.h"
#include "core/WallClock.h"
#include "services/ScriptedTransport.h"
#include "services/SupabaseClient.h"
#include "state/PreferenceKeys.h"
#include "state/Preferences.h"
#include "state/PreferencesFile.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::state;

namespace {

const QString kToken = QStringLiteral("/auth/v1/token");
const QString kProfiles = QStringLiteral("/rest/v1/profiles");
const QString kUser = QStringLiteral("/auth/v1/user");
const QByteArray kExpired = R"({"code":"PGRST301","message":"JWT expired"})";
const QByteArray kInvalid = R"({"error":"invalid_grant","error_description":"Invalid login credentials"})";

QByteArray authAnswer(const QString &access, const QString &refresh, const QString &email = "pat@example.test")
{
    return QStringLiteral(R"({"access_token":"%1","refresh_token":"%2","user":{"id":"u1","email":"%3"}})")
        .arg(access, refresh, email)
        .toUtf8();
}

QByteArray profileRow(const char *email = nullptr)
{
    if (!email)
        return R"([{"id":"u1","email":null}])";
    return QStringLiteral(R"([{"id":"u1","email":"%1"}])").arg(QString::fromLatin1(email)).toUtf8();
}

SupabaseSession storedSession(const QString &access = "A0", const QString &refresh = "R0")
{
    return SupabaseSession{access, refresh, "u1", QStringLiteral("stored@example.test")};
}

struct AccountFixture : ::testing::Test {
    VirtualScheduler scheduler;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>(scheduler);
    SupabaseClient client{QUrl("http://127.0.0.1:54321"), "anon", SupabaseClient::defaultTimeout, transport};
    Preferences prefs;
    AccountSession account{client, prefs, scheduler};

    void settle()
    {
        scheduler.runUntil([&] { return !scheduler.hasPending(); }, 100'000);
    }
    std::optional<SupabaseSession> onDisk() const
    {
        const auto data = prefs.dataValue(keys::session);
        return data ? SupabaseSession::fromJson(*data) : std::nullopt;
    }
    QStringList paths() const
    {
        QStringList out;
        for (const auto &r : transport->requests())
            out << QString::fromLatin1(r.method) + ' ' + r.url.path();
        return out;
    }
    QByteArray bearerOf(int index) const { return transport->requests().at(index).header("Authorization"); }
    void storeAndRestore(const SupabaseSession &s)
    {
        prefs.setData(keys::session, s.toJson());
        account.restoreSession();
    }
    // Signed in through the restore of a stored session.
    void restored(const SupabaseSession &s = storedSession())
    {
        transport->respond("GET", kProfiles, 200, profileRow());
        storeAndRestore(s);
        settle();
    }
    // Signed in with a password, holding A1/R1.
    void signedIn()
    {
        transport->respond("POST", kToken, 200, authAnswer("A1", "R1"));
        transport->respond("GET", kProfiles, 200, profileRow());
        account.signIn("pat@example.test", "pw");
        settle();
    }
    ::testing::AssertionResult signedOut() const
    {
        if (account.isAuthenticated() || account.session() || prefs.contains(keys::session))
            return ::testing::AssertionFailure() << "a session is still held or stored";
        return ::testing::AssertionSuccess();
    }
};

} // namespace

TEST_F(AccountFixture, SignInStoresTheSessionThenReadsTheProfile)
{
    transport->respond("POST", kToken, 200, authAnswer("A1", "R1", "token@example.test"));
    transport->respond("GET", kProfiles, 200, profileRow("row@example.test"));
    account.signIn("pat@example.test", "pw");
    EXPECT_TRUE(account.isAuthLoading());
    settle();
    EXPECT_TRUE(account.isAuthenticated());
    EXPECT_FALSE(account.isAuthLoading());
    EXPECT_EQ(account.authEmail(), "row@example.test"); // the profile's e-mail first
    EXPECT_EQ(account.authMessage(), "");
    EXPECT_EQ(onDisk()->accessToken, "A1");
    EXPECT_EQ(bearerOf(1), "Bearer A1");
}

TEST_F(AccountFixture, ARejectedProfileReadAfterSignInRefreshesOnceAndReadsAgain)
{
    transport->respond("POST", kToken, 200, authAnswer("A1", "R1", "token@example.test"));
    transport->respond("GET", kProfiles, 401, kExpired);
    transport->respond("POST", kToken, 200, authAnswer("A2", "R2", "refreshed@example.test"));
    transport->respond("GET", kProfiles, 200, profileRow());
    account.signIn("pat@example.test", "pw");
    settle();
    EXPECT_EQ(paths(), QStringList({"POST /auth/v1/token", "GET /rest/v1/profiles", "POST /auth/v1/token",
                                    "GET /rest/v1/profiles"}));
    EXPECT_TRUE(account.isAuthenticated());
    // No e-mail in the row: the e-mail of the session passed in, not the refreshed one.
    EXPECT_EQ(account.authEmail(), "token@example.test");
    EXPECT_EQ(account.session()->accessToken, "A2");
    EXPECT_EQ(onDisk()->refreshToken, "R2");
    EXPECT_EQ(bearerOf(3), "Bearer A2");

    // A second rejection ends the sign-in with its message.
    account.signOut();
    transport->clear();
    transport->respond("POST", kToken, 200, authAnswer("A1", "R1"));
    transport->respond("GET", kProfiles, 403, "forbidden once");
    transport->respond("POST", kToken, 200, authAnswer("A2", "R2"));
    transport->respond("GET", kProfiles, 401, kExpired);
    account.signIn("pat@example.test", "pw");
    settle();
    EXPECT_EQ(transport->requests().size(), 4); // never a second refresh
    EXPECT_FALSE(account.isAuthenticated());
    EXPECT_FALSE(account.isAuthLoading());
    EXPECT_EQ(account.authMessage(), "JWT expired");
    // The session is held and stored all the same.
    EXPECT_EQ(onDisk()->accessToken, "A2");
}

TEST_F(AccountFixture, SignInFailureMessages)
{
    transport->respond("POST", kToken, 400, kInvalid);
    account.signIn("pat@example.test", "wrong");
    settle();
    EXPECT_EQ(account.authMessage(), "Invalid login credentials");
    EXPECT_FALSE(onDisk());

    transport->respond("POST", kToken, 400, "");
    account.signIn("pat@example.test", "wrong");
    settle();
    EXPECT_EQ(account.authMessage(), "Sign in failed.");

    // A network failure of the profile read: its description, the session kept.
    transport->respond("POST", kToken, 200, authAnswer("A1", "R1"));
    transport->fail("GET", kProfiles, {TransportFailure::Reason::Network, "Connection refused"});
    account.signIn("pat@example.test", "pw");
    settle();
    EXPECT_EQ(account.authMessage(), "Connection refused");
    EXPECT_FALSE(account.isAuthenticated());
    EXPECT_EQ(onDisk()->accessToken, "A1");
}

TEST_F(AccountFixture, RestoreSignsInOrReportsAnExpiredSessionOrStaysSignedOutWithoutOne)
{
    account.restoreSession();
    prefs.setData(keys::session, "{not json");
    account.restoreSession();
    account.enforceAuthGate();
    settle();
    EXPECT_TRUE(transport->requests().isEmpty());
    EXPECT_FALSE(account.isAuthenticated());
    EXPECT_TRUE(prefs.contains(keys::session)); // left until a sign-in or sign-out

    // A usable one signs in, or reports that it expired.
    restored();
    EXPECT_TRUE(account.isAuthenticated());
    EXPECT_EQ(account.authEmail(), "stored@example.test");

    AccountSession second(client, prefs, scheduler);
    transport->respond("GET", kProfiles, 401, kExpired);
    transport->respond("POST", kToken, 400, R"({"error":"invalid_grant"})");
    second.restoreSession();
    settle();
    EXPECT_FALSE(second.isAuthenticated());
    EXPECT_EQ(second.authMessage(), "Session expired. Please sign in again.");
    EXPECT_TRUE(second.session().has_value());
}

TEST_F(AccountFixture, GateAlwaysRefreshesFirstAndSignsIn)
{
    storeAndRestore(storedSession());
    transport->clear();
    settle(); // the restore's read fails: no scripted answer
    transport->clear();
    transport->respond("POST", kToken, 200, authAnswer("A2", "R2", "gate@example.test"));
    transport->respond("GET", kProfiles, 200, profileRow());
    account.enforceAuthGate();
    settle();
    EXPECT_EQ(paths(), QStringList({"POST /auth/v1/token", "GET /rest/v1/profiles"}));
    EXPECT_TRUE(account.isAuthenticated());
    EXPECT_EQ(account.authEmail(), "gate@example.test");
    EXPECT_EQ(onDisk()->accessToken, "A2");

    // A 401 on the gate's profile read gets no second refresh.
    storeAndRestore(storedSession());
    settle();
    transport->clear();
    transport->respond("POST", kToken, 200, authAnswer("A2", "R2"));
    transport->respond("GET", kProfiles, 401, kExpired);
    account.enforceAuthGate();
    settle();
    EXPECT_EQ(transport->requests().size(), 2);
    EXPECT_TRUE(signedOut());
}

// Only the server's rejection of the session signs out; a server that can't
// be reached keeps the session, and the user where they were.
TEST_F(AccountFixture, GateSignsOutOnlyWhenTheServerRejectsTheSession)
{
    struct Case {
        const char *what;
        std::function<void(ScriptedTransport &)> script;
        bool rejected;
    };
    const auto refreshAnswers = [](int status, QByteArray body) {
        return [status, body](ScriptedTransport &t) { t.respond("POST", kToken, status, body); };
    };
    const auto profileAnswers = [](int status, QByteArray body) {
        return [status, body](ScriptedTransport &t) {
            t.respond("POST", kToken, 200, authAnswer("A2", "R2"));
            t.respond("GET", kProfiles, status, body);
        };
    };
    const std::vector<Case> cases = {
        {"refresh token refused",
         refreshAnswers(400, R"({"error":"invalid_grant","error_description":"Invalid Refresh Token"})"), true},
        {"refresh 401", refreshAnswers(401, kExpired), true},
        {"refresh 403", refreshAnswers(403, "{}"), true},
        {"profile 401", profileAnswers(401, kExpired), true},
        {"profile 403", profileAnswers(403, "{}"), true},
        {"no answer",
         [](ScriptedTransport &t) {
             t.fail("POST", kToken, {TransportFailure::Reason::Network, "Connection refused"});
         },
         false},
        {"time-out",
         [](ScriptedTransport &t) {
             t.fail("POST", kToken, {TransportFailure::Reason::TimedOut, "The request timed out."});
         },
         false},
        {"refresh 503", refreshAnswers(503, "down for maintenance"), false},
        {"refresh 500", refreshAnswers(500, ""), false},
        {"profile 502", profileAnswers(502, "bad gateway"), false},
        {"profile read offline",
         [](ScriptedTransport &t) {
             t.respond("POST", kToken, 200, authAnswer("A2", "R2"));
             t.fail("GET", kProfiles, {TransportFailure::Reason::Network, "Network unreachable"});
         },
         false},
        {"another 400", refreshAnswers(400, R"({"error":"unsupported_grant_type"})"), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        // Signed in, then an activation's gate fails.
        prefs.remove(keys::session);
        restored();
        ASSERT_TRUE(account.isAuthenticated());
        c.script(*transport);
        account.enforceAuthGate();
        settle();
        if (c.rejected) {
            EXPECT_TRUE(signedOut());
            EXPECT_EQ(account.authMessage(), "");
            continue;
        }
        EXPECT_TRUE(account.isAuthenticated());
        ASSERT_TRUE(onDisk());
        EXPECT_EQ(account.session(), onDisk());
        EXPECT_EQ(account.authMessage(), "");

        // At launch (held, not yet signed in): kept, and the sign-in view says why.
        AccountSession launch(client, prefs, scheduler);
        transport->fail("GET", kProfiles, {TransportFailure::Reason::Network, "Connection refused"});
        launch.restoreSession();
        c.script(*transport);
        launch.enforceAuthGate();
        settle();
        EXPECT_FALSE(launch.isAuthenticated());
        EXPECT_TRUE(launch.session().has_value());
        EXPECT_TRUE(prefs.contains(keys::session));
        // The connection sentence only where no answer came; a server in
        // trouble says so with its status.
        const QString what = QString::fromLatin1(c.what);
        if (what.contains(QLatin1String(" 50"))) {
            EXPECT_EQ(launch.authMessage(), QStringLiteral("The server is having trouble right now (status %1). "
                                                           "Please try again later.")
                                                .arg(what.right(3)));
        } else if (what != "another 400") {
            EXPECT_EQ(launch.authMessage(), AccountSession::unreachableMessage());
        }
    }
}

TEST_F(AccountFixture, ALaunchWithTheServerDownSignsInAtTheNextActivationOrTick)
{
    prefs.setData(keys::session, storedSession().toJson());
    transport->fail("GET", kProfiles, {TransportFailure::Reason::Network, "Connection refused"});
    transport->fail("POST", kToken, {TransportFailure::Reason::Network, "Connection refused"});
    account.restoreSession();
    account.enforceAuthGate();
    settle();
    EXPECT_FALSE(account.isAuthenticated());
    EXPECT_EQ(account.authMessage(), AccountSession::unreachableMessage());
    EXPECT_EQ(onDisk(), storedSession());

    // The activation's profile refresh fails the same way and says the same.
    transport->fail("GET", kProfiles, {TransportFailure::Reason::TimedOut, "The request timed out."});
    account.applicationStateChanged(Qt::ApplicationActive);
    settle();
    EXPECT_EQ(account.authMessage(), AccountSession::unreachableMessage());

    // The server is back: the next tick signs in.
    transport->respond("GET", kProfiles, 200, profileRow("back@example.test"));
    account.startProfileRefreshTimer();
    scheduler.advance(AccountSession::kProfileRefreshIntervalMs + 1);
    EXPECT_TRUE(account.isAuthenticated());
    EXPECT_EQ(account.authEmail(), "back@example.test");
    EXPECT_EQ(account.authMessage(), "");
}

// A server that answers with trouble was reached: the launch says what it
// answered, neither the connection sentence nor an expired session.
TEST_F(AccountFixture, ALaunchAnsweredWithServerTroubleSaysSo)
{
    prefs.setData(keys::session, storedSession().toJson());
    transport->respond("GET", kProfiles, 503, "<html>busy</html>");
    transport->respond("POST", kToken, 503, "<html>busy</html>");
    account.restoreSession();
    account.enforceAuthGate();
    settle();
    EXPECT_FALSE(account.isAuthenticated());
    EXPECT_EQ(account.authMessage(), "The server is having trouble right now (status 503). Please try again later.");
    EXPECT_EQ(onDisk(), storedSession());
}

TEST_F(AccountFixture, RefreshProfileOutcomes)
{
    account.refreshProfile(); // signed out: nothing is sent
    settle();
    EXPECT_TRUE(transport->requests().isEmpty());

    signedIn();

    transport->respond("GET", kProfiles, 401, kExpired);
    transport->respond("POST", kToken, 401, kExpired);
    account.refreshProfile();
    settle();
    EXPECT_EQ(account.authMessage(), "Session expired. Please sign in again.");
    EXPECT_TRUE(account.isAuthenticated()); // not signed out

    transport->fail("GET", kProfiles, {TransportFailure::Reason::Network, "offline"});
    account.refreshProfile();
    settle();
    EXPECT_EQ(account.authMessage(), AccountSession::unreachableMessage());
    EXPECT_TRUE(account.isAuthenticated());

    // An answer with an error status failed the refresh; the connection
    // sentence is for no answer at all.
    for (const int status : {404, 500, 503}) {
        transport->respond("GET", kProfiles, status, "no such table");
        account.refreshProfile();
        settle();
        EXPECT_EQ(account.authMessage(), "Failed to refresh profile.") << status;
    }
    transport->fail("GET", kProfiles, {TransportFailure::Reason::TimedOut, "timed out"});
    account.refreshProfile();
    settle();
    EXPECT_EQ(account.authMessage(), AccountSession::unreachableMessage());

    // A successful refresh keeps the refreshed session.
    transport->respond("GET", kProfiles, 403, "no");
    transport->respond("POST", kToken, 200, authAnswer("A9", "R9"));
    transport->respond("GET", kProfiles, 200, profileRow());
    account.refreshProfile();
    settle();
    EXPECT_EQ(onDisk()->accessToken, "A9");
}

TEST_F(AccountFixture, TimerAndActivationRefreshTheProfile)
{
    transport->setHandler([](const HttpRequest &) {
        return ScriptedTransport::Answer{HttpResponse{200, {}, profileRow()}, 0, {}, {}};
    });
    storeAndRestore(storedSession());
    account.startProfileRefreshTimer();
    account.startProfileRefreshTimer(); // restarting keeps one timer
    scheduler.advance(1);
    const auto afterRestore = transport->requests().size();
    scheduler.advance(299'000);
    EXPECT_EQ(transport->requests().size(), afterRestore);
    scheduler.advance(1'000);
    EXPECT_EQ(transport->requests().size(), afterRestore + 1);
    scheduler.advance(300'000);
    EXPECT_EQ(transport->requests().size(), afterRestore + 2);

    account.applicationStateChanged(Qt::ApplicationInactive);
    scheduler.advance(1);
    EXPECT_EQ(transport->requests().size(), afterRestore + 2);
    account.applicationStateChanged(Qt::ApplicationActive);
    scheduler.advance(1);
    EXPECT_EQ(transport->requests().size(), afterRestore + 3);

    // Signed out, the timer keeps ticking but sends nothing.
    account.signOut();
    scheduler.advance(600'000);
    EXPECT_EQ(transport->requests().size(), afterRestore + 3);
}

TEST_F(AccountFixture, PasswordChangeChecksAndMessages)
{
    std::vector<AccountSession::ChangePasswordResult> results;
    auto collect = [&](AccountSession::ChangePasswordResult r) { results.push_back(r); };
    account.changePassword("", "new", collect);
    account.changePassword("old", "new", collect);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(std::get<AppError>(results[0]).message, "Enter current and new password.");
    EXPECT_EQ(std::get<AppError>(results[1]).message, "Please sign in again.");

    // A held session but no e-mail yet (the restore has not finished).
    prefs.setData(keys::session, storedSession().toJson());
    transport->respond("GET", kProfiles, 200, profileRow(), 5'000);
    account.restoreSession();
    account.changePassword("old", "new", collect);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(std::get<AppError>(results[2]).message, "Missing account email.");
    EXPECT_EQ(transport->requests().size(), 1);
    settle();
    ASSERT_EQ(account.authEmail(), "stored@example.test");

    transport->clear();
    transport->respond("POST", kToken, 400, kInvalid);
    account.changePassword("wrong", "new", collect);
    settle();
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(std::get<AppError>(results[3]).message, "Invalid login credentials");
    EXPECT_EQ(paths(), QStringList({"POST /auth/v1/token"})); // no update sent
}

TEST_F(AccountFixture, PasswordChangeUsesTheFreshTokenOfItsReauthentication)
{
    restored(storedSession("EXPIRED", "R0"));
    transport->clear();
    transport->respond("POST", kToken, 200, authAnswer("FRESH", "R5"));
    transport->respond("PUT", kUser, 200, "{}");
    std::optional<AccountSession::ChangePasswordResult> result;
    account.changePassword("old", "new", [&](auto r) { result = r; });
    settle();
    ASSERT_TRUE(result);
    EXPECT_EQ(std::get<QString>(*result), "Password updated.");
    EXPECT_EQ(paths(), QStringList({"POST /auth/v1/token", "PUT /auth/v1/user"}));
    EXPECT_EQ(bearerOf(1), "Bearer FRESH");
    // The proving session is neither held nor stored.
    EXPECT_EQ(account.session()->accessToken, "EXPIRED");
    EXPECT_EQ(onDisk()->accessToken, "EXPIRED");

    transport->respond("POST", kToken, 200, authAnswer("FRESH", "R6"));
    transport->respond("PUT", kUser, 422, R"({"msg":"Password should be at least 6 characters"})");
    account.changePassword("old", "x", [&](auto r) { result = r; });
    settle();
    EXPECT_EQ(std::get<AppError>(*result).message, "Password should be at least 6 characters");
}

TEST_F(AccountFixture, SignOutDuringAnyInFlightFlowStaysSignedOut)
{
    transport->respond("GET", kProfiles, 401, kExpired, 100);
    transport->respond("POST", kToken, 200, authAnswer("A2", "R2"), 100);
    transport->respond("GET", kProfiles, 200, profileRow(), 100);
    storeAndRestore(storedSession());
    scheduler.advance(150); // the refresh is under way
    account.signOut();
    settle();
    EXPECT_TRUE(signedOut());
    EXPECT_EQ(account.authEmail(), "");

    // During a gate.
    restored();
    transport->respond("POST", kToken, 200, authAnswer("A2", "R2"), 100);
    transport->respond("GET", kProfiles, 200, profileRow(), 100);
    account.enforceAuthGate();
    scheduler.advance(50);
    account.signOut();
    settle();
    EXPECT_TRUE(signedOut());
    // The next activation's gate has nothing to sign back in with.
    account.enforceAuthGate();
    settle();
    EXPECT_FALSE(account.isAuthenticated());

    // During a profile refresh.
    signedIn();
    transport->respond("GET", kProfiles, 401, kExpired, 10);
    transport->respond("POST", kToken, 200, authAnswer("A2", "R2"), 100);
    transport->respond("GET", kProfiles, 200, profileRow(), 10);
    account.refreshProfile();
    scheduler.advance(50);
    account.signOut();
    settle();
    EXPECT_TRUE(signedOut());
}

TEST_F(AccountFixture, AStaleGateFailureDoesNotSignOutANewerSession)
{
    restored();
    transport->respond("POST", kToken, 400, R"({"error":"invalid_grant"})", 500);
    account.enforceAuthGate();
    scheduler.advance(10);
    transport->respond("POST", kToken, 200, authAnswer("NEW", "RN"));
    transport->respond("GET", kProfiles, 200, profileRow());
    account.signIn("pat@example.test", "pw");
    settle();
    EXPECT_TRUE(account.isAuthenticated());
    EXPECT_EQ(onDisk()->accessToken, "NEW");
}

// A rotated refresh token replaces one the server has already spent: it must
// be on disk before anything else happens, not after the store's quiet period.
TEST(AccountSessionStorage, ARotatedTokenReachesTheDiskAtOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    VirtualScheduler scheduler;
    FixedWallClock clock(QDateTime::fromSecsSinceEpoch(1'700'000'000, Qt::UTC));
    auto transport = std::make_shared<ScriptedTransport>(scheduler);
    SupabaseClient client{QUrl("http://127.0.0.1:1"), "anon", SupabaseClient::defaultTimeout, transport};
    const QString path = dir.filePath("preferences.json");
    PreferencesFile prefs(path, scheduler, clock);
    AccountSession account(client, prefs, scheduler);
    const auto fileSession = [&]() -> std::optional<SupabaseSession> {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        const QJsonObject stored = QJsonDocument::fromJson(file.readAll()).object();
        const auto data = Preferences::decodeData(stored.value(keys::session));
        return data ? SupabaseSession::fromJson(*data) : std::nullopt;
    };

    transport->respond("POST", kToken, 200, authAnswer("A1", "R1"));
    transport->respond("GET", kProfiles, 200, profileRow(), 1'000);
    account.signIn("pat@example.test", "pw");
    scheduler.advance(0);
    ASSERT_TRUE(fileSession());
    EXPECT_EQ(fileSession()->refreshToken, "R1");
    scheduler.advance(1'000);
    ASSERT_TRUE(account.isAuthenticated());

    transport->respond("POST", kToken, 200, authAnswer("A2", "R2"));
    transport->respond("GET", kProfiles, 200, profileRow(), 1'000);
    account.enforceAuthGate();
    scheduler.advance(0);
    EXPECT_EQ(fileSession()->refreshToken, "R2");

    // Signing out leaves nothing to restore after a crash.
    account.signOut();
    EXPECT_FALSE(fileSession());
    // The profile read of the check ends, and changes nothing.
    scheduler.advance(1'000);
    EXPECT_FALSE(fileSession());
}

// A launch with an expired access token: the restore reads the profile and
// refreshes on its 401, the gate refreshes first, the first activation reads
// and refreshes too. A backend that rotates refresh tokens refuses one that
// comes again; every flow must get the one refresh's session instead.
TEST_F(AccountFixture, ConcurrentRefreshesOfOneTokenShareOneRequestAndItsSession)
{
    struct Timing {
        const char *name;
        double refreshMs; // how long the refresh takes
        double profileMs; // how long a profile read takes
    };
    for (const Timing &t : {Timing{"the 401s come while the refresh is out", 100, 20},
                            Timing{"the 401s come after the refresh was answered", 10, 50}}) {
        SCOPED_TRACE(t.name);
        transport->clear();
        account.signOut();
        int refreshes = 0;
        transport->setHandler([&](const HttpRequest &r) {
            if (r.url.path() == kToken) {
                const bool first = ++refreshes == 1 && r.body.contains("R0");
                return ScriptedTransport::Answer{
                    HttpResponse{first ? 200 : 400, {}, first ? authAnswer("A1", "R1") : kInvalid}, t.refreshMs};
            }
            const bool fresh = r.header("Authorization") == "Bearer A1";
            return ScriptedTransport::Answer{HttpResponse{fresh ? 200 : 401, {}, fresh ? profileRow() : kExpired},
                                             t.profileMs};
        });
        storeAndRestore(storedSession("A0", "R0"));
        account.enforceAuthGate();
        account.applicationStateChanged(Qt::ApplicationActive);
        settle();
        EXPECT_EQ(refreshes, 1) << paths().join(", ").toStdString();
        EXPECT_TRUE(account.isAuthenticated());
        EXPECT_EQ(account.authMessage(), "") << paths().join(", ").toStdString();
        ASSERT_TRUE(onDisk());
        EXPECT_EQ(onDisk()->refreshToken, "R1");
    }
}

// A backend that keeps the refresh token: each refresh is asked anew.
TEST_F(AccountFixture, ARefreshTokenThatIsKeptIsSentAgainLater)
{
    transport->setHandler([](const HttpRequest &r) {
        if (r.url.path() == kToken)
            return ScriptedTransport::Answer{HttpResponse{200, {}, authAnswer("A1", "R0")}, 5};
        return ScriptedTransport::Answer{HttpResponse{200, {}, profileRow()}, 5};
    });
    storeAndRestore(storedSession("A0", "R0"));
    settle();
    account.enforceAuthGate();
    settle();
    account.enforceAuthGate();
    settle();
    EXPECT_EQ(paths().count("POST /auth/v1/token"), 2);
    EXPECT_TRUE(account.isAuthenticated());
}
