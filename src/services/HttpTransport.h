#pragma once

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <QList>
#include <QString>
#include <QUrl>

#include <chrono>
#include <optional>
#include <utility>
#include <variant>

namespace qv {

using HttpHeaders = QList<std::pair<QByteArray, QByteArray>>;

// One request as the backend client builds it. Headers are sent in order.
struct HttpRequest {
    QByteArray method;
    QUrl url;
    HttpHeaders headers;
    QByteArray body;
    // Longest time for the whole exchange before it fails as timed out.
    std::chrono::milliseconds timeout{60000};

    QByteArray header(const QByteArray &name) const;
};

// An answer that arrived. `status` is empty when the answer is not an HTTP
// response (a non-HTTP address).
struct HttpResponse {
    std::optional<int> status;
    HttpHeaders headers;
    QByteArray body;
};

// The transfer failed before an answer arrived.
struct TransportFailure {
    enum class Reason { Network, TimedOut, Cancelled };
    Reason reason = Reason::Network;
    QString message; // shown to the user as it is
};

using HttpOutcome = std::variant<HttpResponse, TransportFailure>;

// Sends one request and waits for its answer. The real one is
// NetworkTransport; tests put a scripted one in its place.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    virtual QCoro::Task<HttpOutcome> send(HttpRequest request) = 0;

    static QString timedOutMessage();
};

} // namespace qv
