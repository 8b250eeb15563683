#include "services/SupabaseClient.h"
#include "services/ScriptedTransport.h"
#include "support/CoroTest.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace qv;
using namespace std::chrono_literals;

namespace {

const QString kKey = QStringLiteral("anon-key");
const QByteArray kTokenOk = R"({"access_token":"A1","refresh_token":"R1","user":{"id":"u-1","email":"server@x.test"}})";

class SupabaseClientTest : public ::testing::Test {
protected:
    VirtualScheduler scheduler;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>(scheduler);
    SupabaseClient client{QUrl(QStringLiteral("https://backend.test")), kKey, SupabaseClient::defaultTimeout,
                          transport};
    SupabaseSession session{QStringLiteral("AT"), QStringLiteral("RT"), QStringLiteral("u-1"),
                            QStringLiteral("me@x.test")};

    template <typename T>
    T run(QCoro::Task<T> task)
    {
        auto result = test::runTask(scheduler, std::move(task));
        if (!result)
            throw std::runtime_error("task did not finish");
        return std::move(*result);
    }

    SupabaseError signInError(int status, QByteArray body)
    {
        transport->respond("POST", "/auth/v1/token", status, std::move(body));
        auto result = run(client.signIn(QStringLiteral("me@x.test"), QStringLiteral("pw")));
        EXPECT_FALSE(result.ok());
        return result.ok() ? SupabaseError{} : result.error();
    }

    const HttpRequest &request(int i) const { return transport->requests().at(i); }
};

QJsonObject bodyOf(const HttpRequest &request) { return QJsonDocument::fromJson(request.body).object(); }

} // namespace

TEST_F(SupabaseClientTest, SignInAndRefreshSendTheirGrantsWithHeadersInOrder)
{
    transport->respond("POST", "/auth/v1/token", 200, kTokenOk);
    auto result = run(client.signIn(QStringLiteral("Typed@X.test"), QStringLiteral("p\"w")));
    ASSERT_TRUE(result.ok()) << result.error().message.toStdString();
    EXPECT_EQ(result.value(), (SupabaseSession{"A1", "R1", "u-1", QStringLiteral("server@x.test")}));

    const HttpRequest &r = request(0);
    EXPECT_EQ(r.method, "POST");
    EXPECT_EQ(r.url.toString(QUrl::FullyEncoded), "https://backend.test/auth/v1/token?grant_type=password");
    EXPECT_EQ(r.headers, (HttpHeaders{{"Content-Type", "application/json"}, {"apikey", "anon-key"}}));
    EXPECT_EQ(bodyOf(r), (QJsonObject{{"email", "Typed@X.test"}, {"password", "p\"w"}}));
    EXPECT_EQ(r.timeout, 60000ms);

    // The refresh grant, with the same headers.
    transport->respond("POST", "/auth/v1/token", 200, kTokenOk);
    ASSERT_TRUE(run(client.refreshSession(QStringLiteral("R0"))).ok());
    EXPECT_EQ(request(1).url.query(), "grant_type=refresh_token");
    EXPECT_EQ(bodyOf(request(1)), (QJsonObject{{"refresh_token", "R0"}}));
    EXPECT_EQ(request(1).headers, request(0).headers);
}

TEST_F(SupabaseClientTest, TokenAnswersWithMissingOrNullTokensFailButEmptyTokensCount)
{
    struct Case {
        QByteArray body;
        std::optional<SupabaseSession> session;
    };
    const Case cases[] = {
        {R"({"access_token":"A","user":{"id":"u"}})", std::nullopt},
        {R"({"access_token":"A","refresh_token":null,"user":{"id":"u"}})", std::nullopt},
        {R"({"refresh_token":"R","user":{"id":"u"}})", std::nullopt},
        {R"({"access_token":"","refresh_token":"","user":{"id":"u"}})", SupabaseSession{"", "", "u", std::nullopt}},
        // A user without e-mail: none, not the typed one.
        {R"({"access_token":"A","refresh_token":"R","user":{"id":"u","email":null}})",
         SupabaseSession{"A", "R", "u", std::nullopt}},
    };
    for (const auto &c : cases) {
        transport->respond("POST", "/auth/v1/token", 200, c.body);
        auto result = run(client.signIn(QStringLiteral("typed@x.test"), "p"));
        ASSERT_EQ(result.ok(), c.session.has_value()) << c.body.toStdString();
        if (c.session)
            EXPECT_EQ(result.value(), *c.session);
        else
            EXPECT_EQ(result.error(), SupabaseError::backend("Missing session tokens from server."));
    }
}

TEST_F(SupabaseClientTest, TokenAnswersOfTheWrongShapeAreDecodingErrors)
{
    const QByteArray bodies[] = {
        R"({"access_token":"A","refresh_token":"R"})",                      // no user
        R"({"access_token":"A","refresh_token":"R","user":{"email":"e"}})", // user without id
        R"({"access_token":5,"refresh_token":"R","user":{"id":"u"}})",      // wrong type
        R"({"access_token":"A","refresh_token":"R","user":{"id":"u","email":7}})",
        "not json",
        "",
        R"([])",
    };
    for (const auto &body : bodies) {
        transport->respond("POST", "/auth/v1/token", 200, body);
        auto result = run(client.signIn("e", "p"));
        ASSERT_FALSE(result.ok()) << body.toStdString();
        EXPECT_EQ(result.error().kind, SupabaseError::Kind::Decoding) << body.toStdString();
        EXPECT_FALSE(result.error().statusCode.has_value());
        EXPECT_FALSE(result.error().message.isEmpty());
    }
}

TEST_F(SupabaseClientTest, ValidationTurnsRefusalsIntoBackendErrorsWithReadableText)
{
    const QString refused400 = "The server turned the request down (status 400). Please try again.";
    EXPECT_EQ(signInError(400, R"({"error":"invalid_grant"})"),
              SupabaseError::backend(refused400, 400, "invalid_grant"));
    EXPECT_EQ(signInError(401, R"({"message":"Invalid JWT"})"), SupabaseError::backend("Invalid session (401).", 401));
    EXPECT_EQ(signInError(401, "bad jwt? INVALID jwt!"), SupabaseError::backend("Invalid session (401).", 401));

    // A body without a readable JSON text is never shown: a sentence with
    // the status stands for it.
    const struct {
        int status;
        QByteArray body;
    } unreadable[] = {
        {401, "token expired"},
        {403, "invalid JWT"},
        {502, QByteArray("\xff\xfe bad", 6)},
        {302, "moved"},
        {503, "Überlastet"},
        {502, "<html><head><title>502 Bad Gateway</title></head><body><center><h1>502 Bad Gateway</h1></center>"
              "</body></html>"},
        {503, R"({"code":503,"details":"upstream connect error","hint":null})"},
        {500, R"({"message":""})"},
        {500, "[1,2]"},
    };
    for (const auto &row : unreadable) {
        const SupabaseError error = signInError(row.status, row.body);
        const QString status = QString::number(row.status);
        EXPECT_TRUE(error.message.contains("(status " + status + ")")) << error.message.toStdString();
        EXPECT_TRUE(error.message.endsWith('.')) << error.message.toStdString();
        for (const char *raw : {"<", "{", "[", "moved", "expired", "Überlastet"})
            EXPECT_FALSE(error.message.contains(QString::fromUtf8(raw))) << error.message.toStdString();
        EXPECT_EQ(error.statusCode, row.status);
    }
    EXPECT_TRUE(signInError(503, "x").message.contains("try again later"));
    // An empty body leaves the caller's own fallback ("Sign in failed.").
    EXPECT_EQ(signInError(500, " \n"), SupabaseError::backend("", 500));

    // A JSON body's own text: error_description, then msg, then message.
    EXPECT_EQ(signInError(400, R"({"error":"invalid_grant","error_description":"Invalid login credentials"})"),
              SupabaseError::backend("Invalid login credentials", 400, "invalid_grant"));
    EXPECT_EQ(
        signInError(422,
                    R"({"code":422,"error_code":"weak_password","msg":"Password should be at least 6 characters."})"),
        SupabaseError::backend("Password should be at least 6 characters.", 422, "weak_password"));
    EXPECT_EQ(signInError(404, R"({"message":"m","msg":"g"})"), SupabaseError::backend("g", 404));
    EXPECT_EQ(signInError(404, R"({"message":"m","error_description":"d","msg":"g"})"),
              SupabaseError::backend("d", 404));
    // No usable text: the sentence with the status.
    for (const QByteArray &body : {QByteArray(R"({"error_description":42,"message":""})"), QByteArray(R"(["message"])"),
                                   QByteArray(R"({"hint":"x"})"), QByteArray("message: plain text")})
        EXPECT_EQ(signInError(409, body).message, QString(refused400).replace("400", "409")) << body.toStdString();
    EXPECT_EQ(signInError(401, R"({"message":"Invalid JWT"})").message, "Invalid session (401).");

    // An answer without a status is no response.
    transport->enqueue(ScriptedTransport::Answer(HttpResponse{std::nullopt, {}, kTokenOk}));
    auto result = run(client.signIn("e", "p"));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error(), SupabaseError::backend("No response from server."));
}

TEST_F(SupabaseClientTest, PasswordChangeAcceptsAny2xxWithoutReadingTheBody)
{
    for (int status : {200, 201, 204, 299}) {
        transport->respond("PUT", "/auth/v1/user", status, "this is not json");
        auto result = run(client.updatePassword(QStringLiteral("AT"), QStringLiteral("new secret")));
        EXPECT_TRUE(result.ok()) << status;
    }
    const HttpRequest &r = request(0);
    EXPECT_EQ(r.method, "PUT");
    EXPECT_EQ(r.url.toString(), "https://backend.test/auth/v1/user");
    EXPECT_EQ(
        r.headers,
        (HttpHeaders{{"Content-Type", "application/json"}, {"apikey", "anon-key"}, {"Authorization", "Bearer AT"}}));
    EXPECT_EQ(bodyOf(r), (QJsonObject{{"password", "new secret"}}));

    transport->respond("PUT", "/auth/v1/user", 300, "nope");
    auto refused = run(client.updatePassword("AT", "x"));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().statusCode, 300);
}

TEST_F(SupabaseClientTest, ProfileReadTakesOneRequestAndTheFirstRowAndAFailedReadCreatesNothing)
{
    transport->respond("GET", "/rest/v1/profiles", 200,
                       R"([{"id":"u-1","email":null},{"id":"u-2","email":"two@x.test"}])");
    auto result = run(client.fetchProfile(session));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.value(), (SupabaseProfile{"u-1", std::nullopt}));
    ASSERT_EQ(transport->requests().size(), 1);
    const HttpRequest &r = request(0);
    EXPECT_EQ(r.method, "GET");
    EXPECT_EQ(r.url.toString(QUrl::FullyEncoded), "https://backend.test/rest/v1/profiles?id=eq.u-1&select=id,email");
    EXPECT_EQ(r.headers, (HttpHeaders{{"apikey", "anon-key"}, {"Authorization", "Bearer AT"}}));
    EXPECT_TRUE(r.body.isEmpty());

    transport->respond("GET", "/rest/v1/profiles", 401, R"({"code":"PGRST301","message":"JWT expired"})");
    auto expired = run(client.fetchProfile(session));
    ASSERT_FALSE(expired.ok());
    EXPECT_TRUE(expired.error().isAuthorizationFailure());
    EXPECT_EQ(expired.error().message, "JWT expired");

    for (const QByteArray body : {R"({"id":"u-1"})", R"([{"email":"x"}])"}) { // not an array; a row without id
        transport->respond("GET", "/rest/v1/profiles", 200, body);
        auto undecodable = run(client.fetchProfile(session));
        ASSERT_FALSE(undecodable.ok());
        EXPECT_EQ(undecodable.error().kind, SupabaseError::Kind::Decoding);
    }
    EXPECT_EQ(transport->requests().size(), 4);
}

TEST_F(SupabaseClientTest, ProfileWithoutARowCreatesItAndReadsAgain)
{
    transport->respond("GET", "/rest/v1/profiles", 200, "[]");
    transport->respond("POST", "/rest/v1/profiles", 201, R"([{"id":"u-1"}])");
    transport->respond("GET", "/rest/v1/profiles", 200, R"([{"id":"u-1","email":"me@x.test"}])");
    session.email.reset();
    auto result = run(client.fetchProfile(session));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.value(), (SupabaseProfile{"u-1", QStringLiteral("me@x.test")}));

    ASSERT_EQ(transport->requests().size(), 3);
    const HttpRequest &create = request(1);
    EXPECT_EQ(create.method, "POST");
    EXPECT_EQ(create.url.toString(), "https://backend.test/rest/v1/profiles");
    EXPECT_EQ(create.headers, (HttpHeaders{{"Content-Type", "application/json"},
                                           {"apikey", "anon-key"},
                                           {"Authorization", "Bearer AT"},
                                           {"Prefer", "return=representation"}}));
    // Exactly two entries; no e-mail is sent as the empty string.
    EXPECT_EQ(bodyOf(create), (QJsonObject{{"id", "u-1"}, {"email", ""}}));
    EXPECT_EQ(request(2).url, request(0).url);
    EXPECT_EQ(request(2).headers, request(0).headers);
}

TEST_F(SupabaseClientTest, ACreationThatFailsOrFindsNoRowIsAnError)
{
    transport->respond("GET", "/rest/v1/profiles", 200, "[]");
    transport->respond("POST", "/rest/v1/profiles", 201, "");
    transport->respond("GET", "/rest/v1/profiles", 200, "[]");
    auto missing = run(client.fetchProfile(session));
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error(), SupabaseError::backend("Profile not found. Did you run the SQL setup?"));

    // A refused creation is returned without a second read.
    transport->respond("GET", "/rest/v1/profiles", 200, "[]");
    transport->respond("POST", "/rest/v1/profiles", 409, R"({"code":"23505"})");
    auto refused = run(client.fetchProfile(session));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(),
              SupabaseError::backend("The server turned the request down (status 409). Please try again.", 409));
    EXPECT_EQ(transport->requests().size(), 5);
}

TEST_F(SupabaseClientTest, QueryValuesAreEncodedAndPathsAppendedToABaseWithAPath)
{
    transport->respond("GET", "/rest/v1/profiles", 200, R"([{"id":"x"}])");
    session.userId = QStringLiteral("a&b=c+d #é");
    auto result = run(client.fetchProfile(session));
    ASSERT_TRUE(result.ok());
    const QUrl url = request(0).url;
    EXPECT_EQ(url.query(QUrl::FullyEncoded), "id=eq.a%26b%3Dc%2Bd%20%23%C3%A9&select=id,email");
    EXPECT_TRUE(url.fragment().isEmpty());

    for (const char *base : {"https://backend.test/base", "https://backend.test/base/"}) {
        SupabaseClient withPath(QUrl(QString::fromLatin1(base)), kKey, 5s, transport);
        transport->respond("POST", "/base/auth/v1/token", 200, kTokenOk);
        auto result = run(withPath.signIn("e", "p"));
        EXPECT_TRUE(result.ok()) << base;
        EXPECT_EQ(transport->requests().last().url.toString(),
                  "https://backend.test/base/auth/v1/token?grant_type=password");
        EXPECT_EQ(transport->requests().last().timeout, 5000ms);
    }
}

TEST_F(SupabaseClientTest, TransportFailuresPassThroughWithoutStatus)
{
    transport->fail("POST", "/auth/v1/token", {TransportFailure::Reason::Network, "Connection refused"});
    auto refused = run(client.signIn("e", "p"));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(), SupabaseError::transport("Connection refused"));
    EXPECT_FALSE(refused.error().isAuthorizationFailure());

    // A profile read that never answers fails after the timeout, on the clock.
    transport->respond("GET", "/rest/v1/profiles", 200, "[]", 90'000);
    const double start = scheduler.nowMs();
    auto slow = run(client.fetchProfile(session));
    ASSERT_FALSE(slow.ok());
    EXPECT_EQ(slow.error(), SupabaseError::transport("The request timed out."));
    EXPECT_DOUBLE_EQ(scheduler.nowMs() - start, 60'000.0);
    EXPECT_EQ(transport->requests().size(), 2); // no row creation after a failed read
}

TEST_F(SupabaseClientTest, CallsOutliveTheClientThatStartedThem)
{
    transport->respond("POST", "/auth/v1/token", 200, kTokenOk, 500);
    std::optional<QCoro::Task<SupabaseResult<SupabaseSession>>> pending;
    {
        SupabaseClient shortLived(QUrl(QStringLiteral("https://backend.test")), kKey, 60s, transport);
        pending.emplace(shortLived.signIn("e", "p"));
    }
    auto result = run(std::move(*pending));
    EXPECT_TRUE(result.ok());
}

TEST(SupabaseError, DescriptionIsTheMessageAndOnlyBackendStatusesAreAuthorizationFailures)
{
    EXPECT_EQ(SupabaseError::backend("Nope", 500).localizedDescription(), "Nope");
    for (auto [error, want] : {std::pair{SupabaseError::backend("x", 401), true},
                               {SupabaseError::backend("x", 403), true},
                               {SupabaseError::backend("x", 404), false},
                               {SupabaseError::backend("x"), false},
                               {SupabaseError::transport("x"), false}})
        EXPECT_EQ(error.isAuthorizationFailure(), want) << describe(error);
}

// What each failure says about the session: only the server's word that its
// tokens are no good rejects it; no answer or a failing server says nothing.
TEST(SupabaseErrorTest, RejectedSessionsAndUnreachableServers)
{
    struct Case {
        SupabaseError error;
        bool rejected;
        bool unreachable;
    };
    const Case cases[] = {
        {SupabaseError::backend("Invalid Refresh Token", 400, "invalid_grant"), true, false},
        {SupabaseError::backend("bad", 400), false, false},
        {SupabaseError::backend("bad", 400, "validation_failed"), false, false},
        {SupabaseError::backend("JWT expired", 401), true, false},
        {SupabaseError::backend("no", 403), true, false},
        {SupabaseError::backend("slow down", 429), false, false},
        {SupabaseError::backend("", 500), false, true},
        {SupabaseError::backend("bad gateway", 502), false, true},
        {SupabaseError::backend("Missing session tokens from server."), false, false},
        {SupabaseError::transport("Connection refused"), false, true},
        {SupabaseError::transport("The request timed out."), false, true},
        {SupabaseError::decoding("not JSON"), false, false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.error.isSessionRejected(), c.rejected) << describe(c.error);
        EXPECT_EQ(c.error.isUnreachable(), c.unreachable) << describe(c.error);
    }
}
