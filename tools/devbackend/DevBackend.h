#pragma once

#include "DevBackendOptions.h"
#include "RouteScript.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace qv::devbackend {

class AccountStore;
class TokenSigner;

// A local stand-in for the account backend and the product web site,
// listening on 127.0.0.1 only. Its answers, error bodies included, follow the
// hosted service's, because the application shows some of them verbatim.
class DevBackend {
public:
    // A client may stay silent this long inside a request before it is cut off.
    static constexpr int kReadTimeoutSeconds = 2;
    // An idle kept-alive connection is closed after this, and after this many requests.
    static constexpr int kKeepAliveSeconds = 2;
    static constexpr int kKeepAliveRequests = 20;
    // Workers: far more than the connections one client opens at once, so a
    // crowd of slow clients still leaves room for everyone else.
    static constexpr int kWorkers = 64;

    explicit DevBackend(DevBackendOptions options);
    ~DevBackend();
    DevBackend(const DevBackend &) = delete;
    DevBackend &operator=(const DevBackend &) = delete;

    // Opens the store, adds the option's accounts and binds the port.
    bool start(std::string &error);
    // Serves until stop(); blocking.
    void serve();
    // Serves on a thread of its own until stop() or destruction.
    void serveInBackground();
    void stop();

    int port() const { return m_port; }
    std::string baseUrl() const;
    const DevBackendOptions &options() const { return m_options; }

    // Creates the account or sets its password.
    bool addUser(const std::string &email, const std::string &password, std::string &error);
    // The test hooks, also reachable over HTTP with --test-hooks.
    RouteScript &script() { return m_script; }
    // Moves the server's clock (token expiry, the reuse window).
    void advanceClock(std::int64_t seconds) { m_clockOffset += seconds; }
    std::int64_t now() const;

private:
    void installRoutes();
    void installTestHooks();
    bool answerFromScript(const httplib::Request &request, httplib::Response &response);
    bool checkApiKey(const httplib::Request &request, httplib::Response &response) const;
    void tokenGrant(const httplib::Request &request, httplib::Response &response);
    void updateUser(const httplib::Request &request, httplib::Response &response);
    void readProfiles(const httplib::Request &request, httplib::Response &response);
    void createProfiles(const httplib::Request &request, httplib::Response &response);
    void appcast(const httplib::Request &request, httplib::Response &response);
    void sitePage(const httplib::Request &request, httplib::Response &response);

    DevBackendOptions m_options;
    std::unique_ptr<httplib::Server> m_server;
    std::unique_ptr<AccountStore> m_store;
    std::unique_ptr<TokenSigner> m_signer;
    RouteScript m_script;
    std::atomic<std::int64_t> m_clockOffset{0};
    int m_port = -1;
    std::thread m_thread;
};

} // namespace qv::devbackend
