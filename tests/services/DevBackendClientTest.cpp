// The backend client against the development backend, over real loopback
// sockets: what the server receives, what the client makes of its answers.
#include "DevBackendFixture.h"

#include <QTcpServer>

using namespace qv;
using namespace qv::test;
using devbackend::ScriptedAnswer;

// What is sent is checked against the scripted transport; here, what the
// server makes of it over the real network stack.
TEST_F(DevBackendTest, SignInTakesTheServersEmail)
{
    auto result = run(client->signIn(QStringLiteral("ME@x.test"), kPassword));
    ASSERT_TRUE(result.ok()) << result.error().message.toStdString();
    const SupabaseSession &session = result.value();
    EXPECT_FALSE(session.accessToken.isEmpty());
    EXPECT_FALSE(session.refreshToken.isEmpty());
    EXPECT_EQ(session.email, QStringLiteral("me@x.test"));
    EXPECT_EQ(session.userId.size(), 36);
    ASSERT_EQ(received().size(), 1u);
    EXPECT_EQ(header(received()[0], "Authorization"), "<none>");
}

TEST_F(DevBackendTest, AWrongPasswordOrApiKeyShowsTheServersBody)
{
    auto result = run(client->signIn(kEmail, QStringLiteral("wrong")));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error(), SupabaseError::backend("Invalid login credentials", 400, "invalid_grant"));

    auto unknown = run(client->signIn(QStringLiteral("nobody@x.test"), kPassword));
    ASSERT_FALSE(unknown.ok());
    EXPECT_EQ(unknown.error(), result.error());

    SupabaseClient wrongKey(QUrl(QString::fromStdString(backend->baseUrl())), QStringLiteral("not-the-key"));
    auto refused = run(wrongKey.signIn(kEmail, kPassword));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(), SupabaseError::backend("Invalid API key", 401));
}

TEST_F(DevBackendTest, RefreshRotatesAndToleratesTheSameTokenOnlyWithinTheReuseWindow)
{
    const SupabaseSession first = signIn();
    auto refreshed = run(client->refreshSession(first.refreshToken));
    ASSERT_TRUE(refreshed.ok()) << refreshed.error().message.toStdString();
    EXPECT_NE(refreshed.value().refreshToken, first.refreshToken);
    EXPECT_EQ(refreshed.value().userId, first.userId);
    EXPECT_EQ(refreshed.value().email, first.email);

    // A second flow refreshing with the same token at once gets the same line.
    auto again = run(client->refreshSession(first.refreshToken));
    ASSERT_TRUE(again.ok()) << again.error().message.toStdString();
    EXPECT_EQ(again.value().refreshToken, refreshed.value().refreshToken);

    backend->advanceClock(options.refreshReuseSeconds + 1);
    auto late = run(client->refreshSession(first.refreshToken));
    ASSERT_FALSE(late.ok());
    EXPECT_EQ(late.error().statusCode, 400);
    EXPECT_TRUE(late.error().message.contains("Already Used"));
    // Reuse after the window ends the whole session.
    auto newest = run(client->refreshSession(refreshed.value().refreshToken));
    EXPECT_FALSE(newest.ok());

    auto unknown = run(client->refreshSession(QStringLiteral("made-up")));
    ASSERT_FALSE(unknown.ok());
    EXPECT_EQ(unknown.error().statusCode, 400);
}

TEST_F(DevBackendTest, ProfileIsCreatedOnceThenReadInOneRequest)
{
    const SupabaseSession session = signIn();
    backend->script().reset();

    auto first = run(client->fetchProfile(session));
    ASSERT_TRUE(first.ok()) << first.error().message.toStdString();
    EXPECT_EQ(first.value(), (SupabaseProfile{session.userId, QStringLiteral("me@x.test")}));

    std::vector<std::string> methods;
    for (const auto &r : received())
        methods.push_back(r.method);
    EXPECT_EQ(methods, (std::vector<std::string>{"GET", "POST", "GET"}));

    backend->script().reset();
    auto second = run(client->fetchProfile(session));
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(second.value(), first.value());
    EXPECT_EQ(received().size(), 1u);
}

TEST_F(DevBackendTest, AnExpiredTokenKeepsTheServersBodyAndARefreshMendsIt)
{
    const SupabaseSession session = signIn();
    backend->advanceClock(options.accessTokenSeconds + 1);
    auto expired = run(client->fetchProfile(session));
    ASSERT_FALSE(expired.ok());
    EXPECT_EQ(expired.error(), SupabaseError::backend("JWT expired", 401));
    EXPECT_TRUE(expired.error().isAuthorizationFailure());

    // The refresh the application answers this with makes the read work again.
    auto fresh = run(client->refreshSession(session.refreshToken));
    ASSERT_TRUE(fresh.ok());
    EXPECT_TRUE(run(client->fetchProfile(fresh.value())).ok());
}

TEST_F(DevBackendTest, PasswordChangeTakesEffect)
{
    const SupabaseSession session = signIn();
    auto changed = run(client->updatePassword(session.accessToken, QStringLiteral("secret-2")));
    ASSERT_TRUE(changed.ok()) << changed.error().message.toStdString();
    EXPECT_FALSE(run(client->signIn(kEmail, kPassword)).ok());
    EXPECT_TRUE(run(client->signIn(kEmail, QStringLiteral("secret-2"))).ok());
}

TEST_F(DevBackendTest, AnEmptySuccessAndAChallengeReachTheClientAsAnswers)
{
    const SupabaseSession session = signIn();
    script(ScriptedAnswer::reply("PUT", "/auth/v1/user", 204, ""));
    EXPECT_TRUE(run(client->updatePassword(session.accessToken, QStringLiteral("whatever-2"))).ok());

    // A challenge on 401 is an answer, not a credentials prompt.
    const auto before = received().size();
    auto challenge = ScriptedAnswer::reply("POST", "/auth/v1/token", 401, R"({"message":"who are you"})");
    challenge.headers = {{"WWW-Authenticate", R"(Basic realm="accounts")"}};
    script(challenge);
    auto result = run(client->signIn(kEmail, kPassword));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error(), SupabaseError::backend("who are you", 401));
    EXPECT_EQ(received().size(), before + 1);
}

TEST_F(DevBackendTest, AnAnswerSlowerThanTheTimeoutFailsAsTimedOut)
{
    const SupabaseSession session = signIn();
    auto quick = makeClient(std::chrono::milliseconds(100));
    script(ScriptedAnswer::late("GET", "/rest/v1/profiles", 300));
    auto result = run(quick->fetchProfile(session));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error(), SupabaseError::transport("The request timed out."));
}

TEST_F(DevBackendTest, ADroppedConnectionOrNobodyListeningIsATransportFailure)
{
    // The network stack may resend a request whose connection closed before
    // any answer, so the drop is scripted for every attempt.
    script(ScriptedAnswer::dropped("POST", "/auth/v1/token", 5));
    auto result = run(client->signIn(kEmail, kPassword));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().kind, SupabaseError::Kind::Transport);
    EXPECT_FALSE(result.error().statusCode.has_value());
    EXPECT_FALSE(result.error().message.isEmpty());

    // Nobody listening.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    SupabaseClient nowhere(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port)), QStringLiteral("k"));
    auto nobody = run(nowhere.signIn(kEmail, kPassword));
    ASSERT_FALSE(nobody.ok());
    EXPECT_EQ(nobody.error().kind, SupabaseError::Kind::Transport);
    EXPECT_FALSE(nobody.error().statusCode.has_value());
}
