#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qv::devbackend {

// One scripted answer for the next request(s) to a route.
struct ScriptedAnswer {
    std::string method; // "GET", "POST", …
    std::string path;   // "/auth/v1/token"
    int status = 0;     // 0: the real answer (after the delay)
    std::string body;
    std::string contentType = "application/json; charset=utf-8";
    int delayMs = 0;
    bool drop = false;                                        // close the connection without answering
    int times = 1;                                            // how many requests it answers
    std::vector<std::pair<std::string, std::string>> headers; // extra answer headers

    static ScriptedAnswer reply(std::string method, std::string path, int status, std::string body);
    // The real answer, `delayMs` late.
    static ScriptedAnswer late(std::string method, std::string path, int delayMs);
    static ScriptedAnswer dropped(std::string method, std::string path, int times = 1);
};

// A request as the server received it.
struct ReceivedRequest {
    std::string method;
    std::string path;
    std::string query; // raw, as sent ("a=1&b=2")
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
};

// The test hooks' state: scripted answers and the log of requests. Thread-safe.
class RouteScript {
public:
    void add(ScriptedAnswer answer);
    // The first answer scripted for this route, used up by one request.
    std::optional<ScriptedAnswer> take(const std::string &method, const std::string &path);
    void record(ReceivedRequest request);
    std::vector<ReceivedRequest> requests() const;
    void reset();

private:
    mutable std::mutex m_mutex;
    std::deque<ScriptedAnswer> m_answers;
    std::vector<ReceivedRequest> m_log;
};

} // namespace qv::devbackend
