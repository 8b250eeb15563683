#include "DevBackend.h"

#include "AccountStore.h"
#include "PasswordHash.h"
#include "SitePages.h"
#include "TokenSigner.h"

#include <httplib.h>
#include <nlohmann/json.hpp>
#include <sodium.h>

#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <set>

namespace qv::devbackend {

namespace {

using json = nlohmann::ordered_json;
const char *kJsonType = "application/json; charset=utf-8";

void sendJson(httplib::Response &response, int status, const json &body)
{
    response.status = status;
    response.set_content(body.dump(), kJsonType);
}

void sendRaw(httplib::Response &response, int status, std::string body, const std::string &type = kJsonType)
{
    response.status = status;
    response.set_content(std::move(body), type);
}

std::string randomToken(std::size_t bytes)
{
    std::string raw(bytes, '\0');
    randombytes_buf(raw.data(), raw.size());
    return TokenSigner::base64Url(raw);
}

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// Resets accepted connections on `localPort` (from `remotePort` only, when
// given). The server library does not hand out its sockets, so find them by
// their ends' ports. A reset is what the client of a crashed server sees.
void resetConnections(int localPort, int remotePort = -1)
{
    DIR *dir = opendir("/proc/self/fd");
    if (!dir)
        return;
    while (dirent *entry = readdir(dir)) {
        const int fd = std::atoi(entry->d_name);
        if (fd <= 2)
            continue;
        sockaddr_storage local{}, peer{};
        socklen_t localLength = sizeof local, peerLength = sizeof peer;
        if (getsockname(fd, reinterpret_cast<sockaddr *>(&local), &localLength) != 0
            || getpeername(fd, reinterpret_cast<sockaddr *>(&peer), &peerLength) != 0 || local.ss_family != AF_INET
            || peer.ss_family != AF_INET)
            continue;
        const auto &l = reinterpret_cast<const sockaddr_in &>(local);
        const auto &p = reinterpret_cast<const sockaddr_in &>(peer);
        if (ntohs(l.sin_port) == localPort && (remotePort < 0 || ntohs(p.sin_port) == remotePort)) {
            linger hard{1, 0};
            setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
            shutdown(fd, SHUT_RDWR);
        }
    }
    closedir(dir);
}

// The folder and the database hold the accounts and the token signing key
// (a token could be forged from it): owner only, also for a folder or a
// database that already existed with looser modes. SQLite gives its journal
// files the database's mode.
bool prepareDataFolder(const std::string &folder, const std::string &database, std::string &error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder)) {
        error = "cannot create the data folder " + folder + (ec ? ": " + ec.message() : "");
        return false;
    }
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ec);
    if (ec) {
        error = "cannot make the data folder " + folder + " private: " + ec.message();
        return false;
    }
    const int fd = ::open(database.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 || ::fchmod(fd, 0600) != 0) {
        error = "cannot make " + database + " private: " + std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    ::close(fd);
    for (const char *suffix : {"-journal", "-wal", "-shm"}) {
        const std::string side = database + suffix;
        if (fs::exists(side, ec))
            fs::permissions(side, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace, ec);
    }
    return true;
}

json userJson(const User &user)
{
    return json{{"id", user.id},
                {"aud", "authenticated"},
                {"role", "authenticated"},
                {"email", user.email},
                {"app_metadata", {{"provider", "email"}, {"providers", {"email"}}}},
                {"user_metadata", json::object()}};
}

const json kInvalidLogin = {{"error", "invalid_grant"}, {"error_description", "Invalid login credentials"}};
const json kInvalidApiKey = {{"message", "Invalid API key"}};
const json kJwtExpired = {{"code", "PGRST301"}, {"message", "JWT expired"}};

enum class BearerState { Missing, Invalid, Expired, Valid };

struct Bearer {
    BearerState state = BearerState::Missing;
    nlohmann::json claims;
};

Bearer readBearer(const httplib::Request &request, const TokenSigner &signer, std::int64_t now)
{
    Bearer bearer;
    if (!request.has_header("Authorization"))
        return bearer;
    const std::string value = request.get_header_value("Authorization");
    if (value.size() < 7 || lower(value.substr(0, 7)) != "bearer ") {
        bearer.state = BearerState::Invalid;
        return bearer;
    }
    auto verified = signer.verify(value.substr(7), now);
    switch (verified.check) {
    case TokenSigner::Check::Valid:
        bearer.state = BearerState::Valid;
        bearer.claims = std::move(verified.claims);
        break;
    case TokenSigner::Check::Expired:
        bearer.state = BearerState::Expired;
        break;
    default:
        bearer.state = BearerState::Invalid;
    }
    return bearer;
}

json profileJson(const Profile &profile, const std::vector<std::string> &columns)
{
    json row = json::object();
    for (const auto &column : columns) {
        if (column == "id")
            row["id"] = profile.id;
        else if (profile.email)
            row["email"] = *profile.email;
        else
            row["email"] = nullptr;
    }
    return row;
}

json columnMissing(const std::string &column)
{
    return {{"code", "42703"},
            {"details", nullptr},
            {"hint", nullptr},
            {"message", "column profiles." + column + " does not exist"}};
}

json rowLevelSecurity()
{
    return {{"code", "42501"},
            {"details", nullptr},
            {"hint", nullptr},
            {"message", "new row violates row-level security policy for table \"profiles\""}};
}

} // namespace

DevBackend::DevBackend(DevBackendOptions options)
    : m_options(std::move(options)), m_server(std::make_unique<httplib::Server>())
{
    // Answers go out in several writes; without this each waits for the
    // client's delayed acknowledgement.
    m_server->set_tcp_nodelay(true);
    // Every body this server reads is a small JSON object.
    m_server->set_payload_max_length(1 << 20);
    // A port held by another server is refused, never shared: the library's
    // default also sets SO_REUSEPORT, which splits the traffic between both.
    m_server->set_socket_options([](int socket) {
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    // Slow or idle clients must not starve the others: each holds a worker
    // for at most a short silence, and there are workers to spare.
    m_server->set_read_timeout(kReadTimeoutSeconds, 0);
    m_server->set_write_timeout(kReadTimeoutSeconds, 0);
    m_server->set_keep_alive_timeout(kKeepAliveSeconds);
    m_server->set_keep_alive_max_count(kKeepAliveRequests);
    m_server->new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
}

DevBackend::~DevBackend() { stop(); }

std::int64_t DevBackend::now() const
{
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count() + m_clockOffset.load();
}

std::string DevBackend::baseUrl() const { return "http://127.0.0.1:" + std::to_string(m_port); }

bool DevBackend::start(std::string &error)
{
    // A client that hangs up must not end the server.
    std::signal(SIGPIPE, SIG_IGN);

    std::string path = ":memory:";
    if (m_options.dataDir != ":memory:") {
        path = m_options.dataDir + "/accounts.sqlite3";
        if (!prepareDataFolder(m_options.dataDir, path, error))
            return false;
    }
    m_store = AccountStore::open(path, error);
    if (!m_store)
        return false;
    try {
        m_signer = std::make_unique<TokenSigner>(m_store->signingKey());
    } catch (const std::exception &e) {
        error = e.what();
        return false;
    }
    for (const auto &[email, password] : m_options.addUsers) {
        if (!addUser(email, password, error))
            return false;
    }

    installRoutes();
    if (m_options.testHooks)
        installTestHooks();

    // Loopback only: this server has development accounts and test hooks.
    if (m_options.port == 0) {
        m_port = m_server->bind_to_any_port("127.0.0.1");
    } else if (m_server->bind_to_port("127.0.0.1", m_options.port)) {
        m_port = m_options.port;
    }
    if (m_port <= 0) {
        error = "cannot listen on 127.0.0.1:" + std::to_string(m_options.port)
                + ": the port is in use (another backend, or another program, listens there); "
                  "stop it or choose another port with --port";
        return false;
    }
    return true;
}

void DevBackend::serve() { m_server->listen_after_bind(); }

void DevBackend::serveInBackground()
{
    m_thread = std::thread([this] { serve(); });
    // stop() only reaches a server that has begun accepting; until then the
    // bound socket queues connections, so this wait is short.
    for (int i = 0; i < 5000 && !m_server->is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
}

void DevBackend::stop()
{
    m_server->stop();
    // Idle keep-alive connections would hold the workers for seconds.
    if (m_port > 0 && m_thread.joinable())
        resetConnections(m_port);
    if (m_thread.joinable())
        m_thread.join();
}

bool DevBackend::addUser(const std::string &email, const std::string &password, std::string &error)
{
    if (email.empty() || email.find('@') == std::string::npos) {
        error = "\"" + email + "\" is not an e-mail address";
        return false;
    }
    if (password.size() < 6) {
        error = "the password for " + email + " must have at least 6 characters";
        return false;
    }
    try {
        m_store->putUser(email, PasswordHash::hash(password, m_options.fastPasswordHash));
    } catch (const std::exception &e) {
        error = e.what();
        return false;
    }
    return true;
}

bool DevBackend::checkApiKey(const httplib::Request &request, httplib::Response &response) const
{
    const std::string key = request.get_header_value("apikey");
    const std::string &expected = m_options.anonKey;
    if (key.size() == expected.size() && sodium_memcmp(key.data(), expected.data(), key.size()) == 0)
        return true;
    sendJson(response, 401, kInvalidApiKey);
    return false;
}

void DevBackend::installRoutes()
{
    auto &server = *m_server;

    auto guarded = [this](void (DevBackend::*handler)(const httplib::Request &, httplib::Response &)) {
        return [this, handler](const httplib::Request &request, httplib::Response &response) {
            if (answerFromScript(request, response))
                return;
            try {
                (this->*handler)(request, response);
            } catch (const std::exception &e) {
                sendJson(response, 500, json{{"message", std::string("internal error: ") + e.what()}});
            }
        };
    };
    server.Post("/auth/v1/token", guarded(&DevBackend::tokenGrant));
    server.Put("/auth/v1/user", guarded(&DevBackend::updateUser));
    server.Get("/rest/v1/profiles", guarded(&DevBackend::readProfiles));
    server.Post("/rest/v1/profiles", guarded(&DevBackend::createProfiles));

    server.Get("/quorvel-site/appcast.xml", guarded(&DevBackend::appcast));
    server.Get(R"(/quorvel-site/[a-z-]+\.html)", guarded(&DevBackend::sitePage));
}

void DevBackend::appcast(const httplib::Request &, httplib::Response &response)
{
    sendRaw(response, 200, SitePages::appcast(m_options.appcastVersion, baseUrl()), "application/xml; charset=utf-8");
}

void DevBackend::sitePage(const httplib::Request &request, httplib::Response &response)
{
    if (auto page = SitePages::page(request.path))
        sendRaw(response, 200, *page, "text/html; charset=utf-8");
    else
        sendRaw(response, 404, "<!DOCTYPE html><title>Not found</title><p>No such page.</p>",
                "text/html; charset=utf-8");
}

// Records the request; answers it from the test script when one is queued
// for its route (true), after the scripted delay.
bool DevBackend::answerFromScript(const httplib::Request &request, httplib::Response &response)
{
    ReceivedRequest received{request.method, request.path, {}, {}, request.body};
    if (const auto mark = request.target.find('?'); mark != std::string::npos)
        received.query = request.target.substr(mark + 1);
    for (const auto &[name, value] : request.headers) {
        // The server library files the peer's addresses among the headers.
        if (name != "REMOTE_ADDR" && name != "REMOTE_PORT" && name != "LOCAL_ADDR" && name != "LOCAL_PORT")
            received.headers.emplace_back(name, value);
    }
    m_script.record(std::move(received));

    auto scripted = m_script.take(request.method, request.path);
    if (!scripted)
        return false;
    if (scripted->delayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(scripted->delayMs));
    if (scripted->drop) {
        resetConnections(request.local_port, request.remote_port);
        return true;
    }
    if (scripted->status == 0)
        return false;
    for (const auto &[name, value] : scripted->headers)
        response.set_header(name.c_str(), value);
    sendRaw(response, scripted->status, scripted->body, scripted->contentType);
    return true;
}

void DevBackend::tokenGrant(const httplib::Request &request, httplib::Response &response)
{
    if (!checkApiKey(request, response))
        return;
    const auto body = nlohmann::json::parse(request.body, nullptr, false);
    if (!body.is_object()) {
        sendJson(response, 400,
                 json{{"error", "invalid_request"}, {"error_description", "Could not read the request body as JSON"}});
        return;
    }
    auto stringMember = [&](const char *name) {
        auto it = body.find(name);
        return it != body.end() && it->is_string() ? it->get<std::string>() : std::string();
    };
    const std::int64_t issuedAt = now();

    auto issue = [&](const User &user, const RefreshToken &refresh) {
        const std::int64_t expiresAt = issuedAt + m_options.accessTokenSeconds;
        const std::string access = m_signer->sign(nlohmann::json{{"aud", "authenticated"},
                                                                 {"exp", expiresAt},
                                                                 {"iat", issuedAt},
                                                                 {"sub", user.id},
                                                                 {"email", user.email},
                                                                 {"role", "authenticated"},
                                                                 {"session_id", refresh.sessionId}});
        sendJson(response, 200,
                 json{{"access_token", access},
                      {"token_type", "bearer"},
                      {"expires_in", m_options.accessTokenSeconds},
                      {"expires_at", expiresAt},
                      {"refresh_token", refresh.token},
                      {"user", userJson(user)}});
    };

    const std::string grant = request.get_param_value("grant_type");
    if (grant == "password") {
        const std::string email = stringMember("email");
        const std::string password = stringMember("password");
        if (email.empty()) {
            sendJson(response, 400,
                     json{{"error", "invalid_request"}, {"error_description", "missing email or phone"}});
            return;
        }
        const auto user = m_store->userByEmail(email);
        // Verify even without an account, so timing does not tell which
        // addresses exist.
        static const std::string decoy = PasswordHash::hash("decoy password", true);
        const bool matches = PasswordHash::verify(user ? user->passwordHash : decoy, password);
        if (!user || !matches) {
            sendJson(response, 400, kInvalidLogin);
            return;
        }
        RefreshToken refresh{randomToken(16), user->id, randomToken(12), issuedAt, std::nullopt};
        m_store->addRefreshToken(refresh, {});
        issue(*user, refresh);
    } else if (grant == "refresh_token") {
        const std::string token = stringMember("refresh_token");
        if (token.empty()) {
            sendJson(response, 400,
                     json{{"error", "invalid_request"}, {"error_description", "refresh_token required"}});
            return;
        }
        const auto outcome = m_store->rotate(token, issuedAt, m_options.refreshReuseSeconds,
                                             [] { return randomToken(16); });
        if (outcome.rotation == AccountStore::Rotation::NotFound) {
            sendJson(response, 400,
                     json{{"error", "invalid_grant"},
                          {"error_description", "Invalid Refresh Token: Refresh Token Not Found"}});
            return;
        }
        if (outcome.rotation == AccountStore::Rotation::Reused) {
            sendJson(response, 400,
                     json{{"error", "invalid_grant"}, {"error_description", "Invalid Refresh Token: Already Used"}});
            return;
        }
        const auto user = m_store->userById(outcome.next.userId);
        if (!user) {
            sendJson(response, 400,
                     json{{"error", "invalid_grant"}, {"error_description", "Invalid Refresh Token: User Not Found"}});
            return;
        }
        issue(*user, outcome.next);
    } else {
        sendJson(response, 400,
                 json{{"error", "unsupported_grant_type"}, {"error_description", "unsupported_grant_type"}});
    }
}

void DevBackend::updateUser(const httplib::Request &request, httplib::Response &response)
{
    if (!checkApiKey(request, response))
        return;
    const Bearer bearer = readBearer(request, *m_signer, now());
    switch (bearer.state) {
    case BearerState::Missing:
        sendJson(
            response, 401,
            json{{"code", 401}, {"error_code", "no_authorization"}, {"msg", "This endpoint requires a Bearer token"}});
        return;
    case BearerState::Invalid:
        sendJson(response, 401,
                 json{{"code", 401},
                      {"error_code", "bad_jwt"},
                      {"msg", "invalid JWT: unable to parse or verify signature"}});
        return;
    case BearerState::Expired:
        sendJson(response, 401, kJwtExpired);
        return;
    case BearerState::Valid:
        break;
    }
    const auto user = m_store->userById(bearer.claims["sub"].get<std::string>());
    if (!user) {
        sendJson(response, 404,
                 json{{"code", 404},
                      {"error_code", "user_not_found"},
                      {"msg", "User from sub claim in JWT does not exist"}});
        return;
    }
    const auto body = nlohmann::json::parse(request.body, nullptr, false);
    if (!body.is_object()) {
        sendJson(response, 400,
                 json{{"code", 400}, {"error_code", "bad_json"}, {"msg", "Could not read the request body as JSON"}});
        return;
    }
    if (auto it = body.find("password"); it != body.end() && it->is_string()) {
        const std::string password = it->get<std::string>();
        if (password.size() < 6) {
            sendJson(response, 422,
                     json{{"code", 422},
                          {"error_code", "weak_password"},
                          {"msg", "Password should be at least 6 characters."}});
            return;
        }
        if (PasswordHash::verify(user->passwordHash, password)) {
            sendJson(response, 422,
                     json{{"code", 422},
                          {"error_code", "same_password"},
                          {"msg", "New password should be different from the old password."}});
            return;
        }
        m_store->setPasswordHash(user->id, PasswordHash::hash(password, m_options.fastPasswordHash));
    }
    sendJson(response, 200, userJson(*user));
}

void DevBackend::readProfiles(const httplib::Request &request, httplib::Response &response)
{
    if (!checkApiKey(request, response))
        return;
    const Bearer bearer = readBearer(request, *m_signer, now());
    if (bearer.state == BearerState::Invalid) {
        sendJson(response, 401, json{{"message", "Invalid JWT"}});
        return;
    }
    if (bearer.state == BearerState::Expired) {
        sendJson(response, 401, kJwtExpired);
        return;
    }

    std::vector<std::string> columns{"id", "email"};
    std::vector<std::pair<std::string, std::string>> filters;
    for (const auto &[name, value] : request.params) {
        if (name == "select") {
            if (value == "*")
                continue;
            columns.clear();
            std::size_t start = 0;
            while (start <= value.size()) {
                const auto comma = value.find(',', start);
                const std::string column = value.substr(start,
                                                        comma == std::string::npos ? std::string::npos : comma - start);
                if (column != "id" && column != "email") {
                    sendJson(response, 400, columnMissing(column));
                    return;
                }
                columns.push_back(column);
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
        } else if (name == "id" || name == "email") {
            if (value.rfind("eq.", 0) != 0) {
                sendJson(response, 400,
                         json{{"code", "PGRST100"},
                              {"details", "unexpected filter " + value},
                              {"hint", nullptr},
                              {"message", "\"failed to parse filter (" + value + ")\""}});
                return;
            }
            filters.emplace_back(name, value.substr(3));
        } else {
            sendJson(response, 400, columnMissing(name));
            return;
        }
    }

    // Row-level security: a signed-in user sees their own row; nobody else
    // sees any.
    json rows = json::array();
    if (bearer.state == BearerState::Valid) {
        const std::string self = bearer.claims["sub"].get<std::string>();
        for (const auto &profile : m_store->profiles()) {
            if (profile.id != self)
                continue;
            const bool matches = std::all_of(filters.begin(), filters.end(), [&](const auto &filter) {
                return filter.first == "id" ? profile.id == filter.second
                                            : profile.email.value_or(std::string()) == filter.second;
            });
            if (matches)
                rows.push_back(profileJson(profile, columns));
        }
    }
    sendJson(response, 200, rows);
}

void DevBackend::createProfiles(const httplib::Request &request, httplib::Response &response)
{
    if (!checkApiKey(request, response))
        return;
    const Bearer bearer = readBearer(request, *m_signer, now());
    switch (bearer.state) {
    case BearerState::Missing:
        sendJson(response, 401, rowLevelSecurity());
        return;
    case BearerState::Invalid:
        sendJson(response, 401, json{{"message", "Invalid JWT"}});
        return;
    case BearerState::Expired:
        sendJson(response, 401, kJwtExpired);
        return;
    case BearerState::Valid:
        break;
    }
    auto body = nlohmann::json::parse(request.body, nullptr, false);
    if (body.is_object())
        body = nlohmann::json::array({body});
    if (!body.is_array() || body.empty()) {
        sendJson(
            response, 400,
            json{{"code", "PGRST102"}, {"details", nullptr}, {"hint", nullptr}, {"message", "Empty or invalid json"}});
        return;
    }
    const std::string self = bearer.claims["sub"].get<std::string>();
    std::vector<Profile> created;
    for (const auto &item : body) {
        if (!item.is_object()) {
            sendJson(response, 400,
                     json{{"code", "PGRST102"},
                          {"details", nullptr},
                          {"hint", nullptr},
                          {"message", "All object keys must match"}});
            return;
        }
        Profile profile;
        for (const auto &[key, value] : item.items()) {
            if (key == "id" && value.is_string()) {
                profile.id = value.get<std::string>();
            } else if (key == "email" && (value.is_string() || value.is_null())) {
                if (value.is_string())
                    profile.email = value.get<std::string>();
            } else if (key == "id" || key == "email") {
                sendJson(response, 400,
                         json{{"code", "22P02"},
                              {"details", nullptr},
                              {"hint", nullptr},
                              {"message", "invalid input syntax for type text"}});
                return;
            } else {
                sendJson(response, 400,
                         json{{"code", "PGRST204"},
                              {"details", nullptr},
                              {"hint", nullptr},
                              {"message",
                               "Could not find the '" + key + "' column of 'profiles' in the schema cache"}});
                return;
            }
        }
        if (profile.id != self) {
            sendJson(response, 403, rowLevelSecurity());
            return;
        }
        created.push_back(profile);
    }
    // The whole batch or nothing, like the one statement it stands for.
    if (const auto existing = m_store->insertProfiles(created)) {
        sendJson(response, 409,
                 json{{"code", "23505"},
                      {"details", "Key (id)=(" + *existing + ") already exists."},
                      {"hint", nullptr},
                      {"message", "duplicate key value violates unique constraint \"profiles_pkey\""}});
        return;
    }
    if (lower(request.get_header_value("Prefer")).find("return=representation") != std::string::npos) {
        json rows = json::array();
        for (const auto &profile : created)
            rows.push_back(profileJson(profile, {"id", "email"}));
        sendJson(response, 201, rows);
    } else {
        response.status = 201;
    }
}

void DevBackend::installTestHooks()
{
    auto &server = *m_server;
    // {"method", "path", "status", "body" | "body_base64", "content_type",
    //  "delay_ms", "drop", "times", "headers": {name: value}}
    server.Post("/__test/script", [this](const httplib::Request &request, httplib::Response &response) {
        const auto body = nlohmann::json::parse(request.body, nullptr, false);
        if (!body.is_object() || !body.contains("method") || !body.contains("path")) {
            sendJson(response, 400, json{{"message", "give at least \"method\" and \"path\""}});
            return;
        }
        try {
            ScriptedAnswer answer;
            answer.method = body.at("method").get<std::string>();
            answer.path = body.at("path").get<std::string>();
            answer.status = body.value("status", 0);
            answer.body = body.value("body", std::string());
            if (body.contains("body_base64")) {
                std::string decoded;
                const std::string text = body.at("body_base64").get<std::string>();
                std::vector<unsigned char> out(text.size() + 1);
                std::size_t length = 0;
                if (sodium_base642bin(out.data(), out.size(), text.data(), text.size(), nullptr, &length, nullptr,
                                      sodium_base64_VARIANT_ORIGINAL)
                    != 0)
                    throw std::invalid_argument("body_base64 is not base64");
                answer.body.assign(reinterpret_cast<const char *>(out.data()), length);
            }
            answer.contentType = body.value("content_type", answer.contentType);
            answer.delayMs = body.value("delay_ms", 0);
            answer.drop = body.value("drop", false);
            answer.times = body.value("times", 1);
            if (auto headers = body.find("headers"); headers != body.end()) {
                for (const auto &[name, value] : headers->items())
                    answer.headers.emplace_back(name, value.get<std::string>());
            }
            m_script.add(std::move(answer));
            response.status = 204;
        } catch (const std::exception &e) {
            sendJson(response, 400, json{{"message", e.what()}});
        }
    });
    server.Get("/__test/requests", [this](const httplib::Request &, httplib::Response &response) {
        json log = json::array();
        for (const auto &request : m_script.requests()) {
            json headers = json::array();
            for (const auto &[name, value] : request.headers)
                headers.push_back(json::array({name, value}));
            log.push_back(json{{"method", request.method},
                               {"path", request.path},
                               {"query", request.query},
                               {"headers", headers},
                               {"body", request.body}});
        }
        sendJson(response, 200, log);
    });
    server.Post("/__test/reset", [this](const httplib::Request &, httplib::Response &response) {
        m_script.reset();
        response.status = 204;
    });
    server.Post("/__test/clock", [this](const httplib::Request &request, httplib::Response &response) {
        const auto body = nlohmann::json::parse(request.body, nullptr, false);
        if (!body.is_object() || !body.contains("advance_seconds") || !body["advance_seconds"].is_number_integer()) {
            sendJson(response, 400, json{{"message", "give \"advance_seconds\""}});
            return;
        }
        advanceClock(body["advance_seconds"].get<std::int64_t>());
        response.status = 204;
    });
}

} // namespace qv::devbackend
