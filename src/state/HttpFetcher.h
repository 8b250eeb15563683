#pragma once

#include <QByteArray>
#include <QUrl>

#include <functional>
#include <optional>

namespace qv::state {

// One plain GET. The answer is the body of any HTTP answer, error pages
// included, or nothing when no answer came (transport failure, time-out).
// `done` is called at most once, on the GUI thread, never inside get().
class HttpFetcher {
public:
    using Done = std::function<void(std::optional<QByteArray>)>;
    virtual ~HttpFetcher() = default;
    virtual void get(const QUrl &url, Done done) = 0;
};

} // namespace qv::state
