#pragma once

#include "services/HttpTransport.h"

#include <memory>

class QNetworkAccessManager;

namespace qv {

// HttpTransport over one QNetworkAccessManager on the GUI thread. Uses the
// protocol's own caching rules, follows redirects the way the platform does,
// and never asks the user for credentials: a 401 is an answer like any other.
class NetworkTransport final : public HttpTransport {
public:
    NetworkTransport();
    ~NetworkTransport() override;

    QCoro::Task<HttpOutcome> send(HttpRequest request) override;

private:
    std::unique_ptr<QNetworkAccessManager> m_manager;
};

} // namespace qv
