// The development backend's own rules, seen from a plain HTTP client.
#include "DevBackendFixture.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace qv;
using namespace qv::test;
using devbackend::DevBackendOptions;
using nlohmann::json;

namespace {

class DevBackendServerTest : public DevBackendTest {
protected:
    httplib::Client http() const
    {
        httplib::Client c("127.0.0.1", backend->port());
        c.set_read_timeout(2, 0);
        return c;
    }

    httplib::Headers keyed(const std::string &bearer = {}) const
    {
        httplib::Headers headers{{"apikey", options.anonKey}};
        if (!bearer.empty())
            headers.emplace("Authorization", "Bearer " + bearer);
        return headers;
    }

    json passwordGrant(const std::string &email = kEmail, const std::string &password = kPassword)
    {
        auto c = http();
        auto res = c.Post("/auth/v1/token?grant_type=password", keyed(),
                          json{{"email", email}, {"password", password}}.dump(), "application/json");
        if (!res || res->status != 200)
            throw std::runtime_error("sign-in failed");
        return json::parse(res->body);
    }
};

} // namespace

TEST_F(DevBackendServerTest, EveryBackendRouteWantsTheApiKey)
{
    auto c = http();
    const std::string invalidKey = R"({"message":"Invalid API key"})";
    for (const httplib::Headers &headers : {httplib::Headers{}, httplib::Headers{{"apikey", options.anonKey + "x"}}}) {
        const httplib::Result answers[] = {c.Post("/auth/v1/token?grant_type=password", headers,
                                                  R"({"email":"me@x.test","password":"secret-1"})", "application/json"),
                                           c.Put("/auth/v1/user", headers, R"({"password":"x"})", "application/json"),
                                           c.Get("/rest/v1/profiles?select=id", headers)};
        for (const auto &answer : answers) {
            ASSERT_TRUE(answer);
            EXPECT_EQ(answer->status, 401);
            EXPECT_EQ(answer->body, invalidKey);
        }
    }
}

TEST_F(DevBackendServerTest, ForgedMissingAndExpiredTokensAreRefusedEverywhere)
{
    const json session = passwordGrant();
    const std::string token = session["access_token"];
    EXPECT_EQ(session["expires_in"], options.accessTokenSeconds);
    auto c = http();
    // Same header and claims, signature of another key.
    const std::string forged = token.substr(0, token.rfind('.') + 1) + "c2lnbmVkLWJ5LXNvbWVvbmUtZWxzZS0xMjM0NTY3ODk";
    auto forgedRead = c.Get("/rest/v1/profiles", keyed(forged));
    EXPECT_EQ(forgedRead->status, 401);
    EXPECT_NE(forgedRead->body.find("Invalid JWT"), std::string::npos);
    auto garbage = c.Put("/auth/v1/user", keyed("garbage"), R"({"password":"another-1"})", "application/json");
    EXPECT_EQ(garbage->status, 401);
    EXPECT_NE(garbage->body.find("invalid JWT"), std::string::npos);
    auto missing = c.Put("/auth/v1/user", keyed(), R"({"password":"another-1"})", "application/json");
    EXPECT_EQ(missing->status, 401);

    backend->advanceClock(options.accessTokenSeconds);
    const std::string expired = R"({"code":"PGRST301","message":"JWT expired"})";
    const httplib::Result answers[] = {
        c.Put("/auth/v1/user", keyed(token), R"({"password":"another-1"})", "application/json"),
        c.Get("/rest/v1/profiles", keyed(token)), c.Post("/rest/v1/profiles", keyed(token), "{}", "application/json")};
    for (const auto &answer : answers) {
        EXPECT_EQ(answer->status, 401);
        EXPECT_EQ(answer->body, expired);
    }
}

TEST_F(DevBackendServerTest, ProfilesFollowRowRules)
{
    const json session = passwordGrant();
    const std::string token = session["access_token"];
    const std::string id = session["user"]["id"];
    auto c = http();

    auto other = c.Post("/rest/v1/profiles", keyed(token), json{{"id", "someone-else"}, {"email", "x"}}.dump(),
                        "application/json");
    EXPECT_EQ(other->status, 403);
    auto plain = c.Post("/rest/v1/profiles", keyed(token), json{{"id", id}, {"email", nullptr}}.dump(),
                        "application/json");
    EXPECT_EQ(plain->status, 201);
    EXPECT_EQ(plain->body, "");

    auto anonymous = c.Get(("/rest/v1/profiles?id=eq." + id).c_str(), keyed());
    EXPECT_EQ(anonymous->status, 200);
    EXPECT_EQ(anonymous->body, "[]");
    auto own = c.Get(("/rest/v1/profiles?id=eq." + id + "&select=email,id").c_str(), keyed(token));
    EXPECT_EQ(own->body, R"([{"email":null,"id":")" + id + R"("}])");
    auto unknownColumn = c.Get("/rest/v1/profiles?select=id,name", keyed(token));
    EXPECT_EQ(unknownColumn->status, 400);
    EXPECT_NE(unknownColumn->body.find("42703"), std::string::npos);
}

// One request, one transaction: a batch that fails on any row keeps none.
TEST_F(DevBackendServerTest, AFailingBatchInsertKeepsNoRows)
{
    const json session = passwordGrant();
    const std::string token = session["access_token"];
    const std::string id = session["user"]["id"];
    auto c = http();
    const json mine = {{"id", id}, {"email", "me@x.test"}};
    const std::pair<json, int> batches[] = {
        {json::array({mine, {{"id", "someone-else"}, {"email", nullptr}}}), 403},
        {json::array({mine, mine}), 409},
        {json::array({mine, {{"id", id}, {"nickname", "x"}}}), 400},
    };
    for (const auto &[batch, status] : batches) {
        auto answer = c.Post("/rest/v1/profiles", keyed(token), batch.dump(), "application/json");
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, status) << batch.dump();
        auto rows = c.Get("/rest/v1/profiles", keyed(token));
        EXPECT_EQ(rows->body, "[]") << "after " << batch.dump();
    }
    auto single = c.Post("/rest/v1/profiles", keyed(token), mine.dump(), "application/json");
    EXPECT_EQ(single->status, 201);
    auto again = c.Post("/rest/v1/profiles", keyed(token), json::array({mine}).dump(), "application/json");
    EXPECT_EQ(again->status, 409);
    EXPECT_EQ(c.Get("/rest/v1/profiles", keyed(token))->body, R"([{"id":")" + id + R"(","email":"me@x.test"}])");
}

// Clients that connect and then dribble or fall silent each hold a worker
// only briefly, and there are workers to spare: a sign-in still goes through.
TEST_F(DevBackendServerTest, SlowClientsDoNotStarveOthers)
{
    std::vector<int> stalled;
    for (int i = 0; i < 40; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        ASSERT_GE(fd, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(std::uint16_t(backend->port()));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        const char partial[] = "POST /auth/v1/token?grant_type=password HTTP/1.1\r\nHost: x\r\n";
        ASSERT_GT(::send(fd, partial, sizeof partial - 1, MSG_NOSIGNAL), 0);
        stalled.push_back(fd);
    }
    EXPECT_NO_THROW(passwordGrant());
    for (const int fd : stalled)
        ::close(fd);
}

TEST_F(DevBackendServerTest, ABusyPortIsRefusedNotShared)
{
    DevBackendOptions second = options;
    second.port = backend->port();
    devbackend::DevBackend intruder(second);
    std::string error;
    EXPECT_FALSE(intruder.start(error));
    EXPECT_NE(error.find("in use"), std::string::npos) << error;
    // The first keeps every request.
    EXPECT_NO_THROW(passwordGrant());

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(QUORVEL_DEVBACKEND_EXE),
                  {"--port", QString::number(backend->port()), "--data", ":memory:"});
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAll().contains("the port is in use"));
}

// The accounts and the signing key are the owner's alone, also in a folder
// and a database that were there before with looser modes.
TEST_F(DevBackendServerTest, TheDataFolderIsPrivateEvenWhenItExisted)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = dir.filePath("data");
    const QString database = data + "/accounts.sqlite3";
    for (const bool existed : {false, true}) {
        SCOPED_TRACE(existed ? "existing" : "new");
        if (existed) {
            QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                            | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
            QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        }
        backend.reset();
        options.dataDir = data.toStdString();
        startBackend();
        EXPECT_NO_THROW(passwordGrant());
        struct stat folder {
        }, file{};
        ASSERT_EQ(::stat(data.toLocal8Bit().constData(), &folder), 0);
        ASSERT_EQ(::stat(database.toLocal8Bit().constData(), &file), 0);
        EXPECT_EQ(folder.st_mode & 0777, 0700u);
        EXPECT_EQ(file.st_mode & 0777, 0600u);
    }
}

TEST_F(DevBackendServerTest, PasswordRulesOfTheUserUpdate)
{
    const std::string token = passwordGrant()["access_token"];
    auto c = http();
    auto weak = c.Put("/auth/v1/user", keyed(token), R"({"password":"short"})", "application/json");
    EXPECT_EQ(weak->status, 422);
    auto same = c.Put("/auth/v1/user", keyed(token), json{{"password", kPassword}}.dump(), "application/json");
    EXPECT_EQ(same->status, 422);
    auto ok = c.Put("/auth/v1/user", keyed(token), R"({"password":"longer-one"})", "application/json");
    EXPECT_EQ(ok->status, 200);
    EXPECT_EQ(json::parse(ok->body)["email"], kEmail);
}

TEST_F(DevBackendServerTest, AccountsPersistWithHashedPasswordsAndTokensSurviveARestart)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    backend.reset();
    options.dataDir = dir.path().toStdString();
    startBackend();
    const json session = passwordGrant();

    backend.reset();
    options.addUsers.clear();
    startBackend();
    auto c = http();
    auto read = c.Get("/rest/v1/profiles", keyed(session["access_token"]));
    EXPECT_EQ(read->status, 200);
    EXPECT_NO_THROW(passwordGrant());

    QFile database(dir.filePath("accounts.sqlite3"));
    ASSERT_TRUE(database.open(QIODevice::ReadOnly));
    const QByteArray bytes = database.readAll();
    EXPECT_FALSE(bytes.contains(kPassword));
    EXPECT_TRUE(bytes.contains("$argon2id$"));
}

TEST_F(DevBackendServerTest, ServesTheAppcastAndHelpPages)
{
    // The update check reads the feed's version through the application; here,
    // that the download it names is served.
    auto c = http();
    auto feed = c.Get("/quorvel-site/appcast.xml");
    ASSERT_EQ(feed->status, 200);
    const auto enclosure =
        QRegularExpression(R"re(enclosure[^>]*url="([^"]+)")re").match(QString::fromStdString(feed->body));
    ASSERT_TRUE(enclosure.hasMatch());
    const QUrl download(enclosure.captured(1));
    EXPECT_EQ(download.port(), backend->port());
    EXPECT_EQ(c.Get(download.path().toStdString().c_str())->status, 200);

    const std::pair<const char *, const char *> pages[] = {
        {"/quorvel-site/support.html", "id=\"support-guides\""},
        {"/quorvel-site/download.html", "id=\"install-walkthrough\""},
        {"/quorvel-site/accessibility.html", "id=\"input-monitoring\""},
    };
    for (const auto &[path, anchor] : pages) {
        auto page = c.Get(path);
        ASSERT_EQ(page->status, 200) << path;
        EXPECT_NE(page->body.find(anchor), std::string::npos) << path;
    }
    EXPECT_EQ(c.Get("/quorvel-site/missing.html")->status, 404);
}

TEST_F(DevBackendServerTest, TestHooksAreOffUnlessAskedFor)
{
    auto c = http();
    EXPECT_EQ(c.Post("/__test/reset", "", "application/json")->status, 404);

    backend.reset();
    options.testHooks = true;
    startBackend();
    auto hooked = http();
    const json answer{{"method", "GET"},
                      {"path", "/quorvel-site/appcast.xml"},
                      {"status", 404},
                      {"body_base64", "/w=="},
                      {"times", 2}};
    EXPECT_EQ(hooked.Post("/__test/script", answer.dump(), "application/json")->status, 204);
    for (int i = 0; i < 2; ++i) {
        auto scripted = hooked.Get("/quorvel-site/appcast.xml");
        EXPECT_EQ(scripted->status, 404);
        EXPECT_EQ(scripted->body, "\xff");
    }
    EXPECT_EQ(hooked.Get("/quorvel-site/appcast.xml")->status, 200);
    const json log = json::parse(hooked.Get("/__test/requests")->body);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0]["path"], "/quorvel-site/appcast.xml");
    EXPECT_EQ(hooked.Post("/__test/clock", R"({"advance_seconds":30})", "application/json")->status, 204);
    EXPECT_EQ(hooked.Post("/__test/script", "{}", "application/json")->status, 400);
}

TEST(DevBackendOptions, ParsesTheCommandLine)
{
    std::string error;
    bool help = false;
    auto parsed = devbackend::parseOptions({"--port", "0", "--add-user", "a@b.c", "pw-123456", "--appcast-version",
                                            "2.0", "--data", ":memory:", "--test-hooks"},
                                           error, help);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->port, 0);
    ASSERT_EQ(parsed->addUsers.size(), 1u);
    EXPECT_EQ(parsed->addUsers[0].second, "pw-123456");
    EXPECT_EQ(parsed->appcastVersion, "2.0");
    EXPECT_TRUE(parsed->testHooks);
    EXPECT_EQ(parsed->anonKey, DevBackendOptions::defaults().anonKey);
    EXPECT_EQ(parsed->anonKey, SupabaseConfig::anonKey().toStdString());

    for (const std::vector<std::string> &bad : std::vector<std::vector<std::string>>{
             {"--port", "70000"}, {"--port"}, {"--add-user", "a@b.c"}, {"--bogus"}, {"--anon-key", ""}}) {
        EXPECT_FALSE(devbackend::parseOptions(bad, error, help)) << bad[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(DevBackendProgram, StartsOnAFreePortPrintsItsAddressAndStopsOnTerm)
{
    QProcess process;
    process.start(QStringLiteral(QUORVEL_DEVBACKEND_EXE),
                  {"--port", "0", "--data", ":memory:", "--add-user", kEmail, kPassword});
    ASSERT_TRUE(process.waitForStarted(2000));
    QString url, key;
    while (key.isEmpty() && process.waitForReadyRead(3000)) {
        while (process.canReadLine()) {
            const QString line = QString::fromUtf8(process.readLine()).trimmed();
            if (line.startsWith("quorvel-devbackend listening on "))
                url = line.section(' ', -1);
            else if (line.startsWith("anon key: "))
                key = line.section(' ', -1);
        }
    }
    ASSERT_TRUE(url.startsWith("http://127.0.0.1:")) << url.toStdString();
    EXPECT_EQ(key, SupabaseConfig::anonKey());

    VirtualScheduler scheduler;
    SupabaseClient client{QUrl(url), key};
    auto session = runTask(scheduler, client.signIn(kEmail, kPassword));
    ASSERT_TRUE(session && session->ok());

    process.terminate();
    ASSERT_TRUE(process.waitForFinished(3000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
}
