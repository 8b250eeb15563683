#pragma once

#include "services/HttpTransport.h"

#include <memory>

class QNetworkAccessManager;

namespace qv {

// HttpTransport over one QNetworkAccessManager on the GUI thread. Uses the
// protocol's own caching rules and never asks the user for credentials: a 401
// is an answer like any other. It trusts no server: an answer larger than
// kMaxAnswerBytes fails, the request's timeout bounds the whole exchange
// (not only a silence), and a redirect is followed only within the request's
// own origin (scheme, host and port), so keys, tokens and passwords never
// reach another server.
class NetworkTransport final : public HttpTransport {
public:
    // Far above any answer of the account backend, far below what a
    // runaway server could make the application hold.
    static constexpr qsizetype kMaxAnswerBytes = 4 * 1024 * 1024;

    NetworkTransport();
    ~NetworkTransport() override;

    static QString tooLargeMessage();
    static QString redirectRefusedMessage();

    QCoro::Task<HttpOutcome> send(HttpRequest request) override;

private:
    std::unique_ptr<QNetworkAccessManager> m_manager;
};

} // namespace qv
