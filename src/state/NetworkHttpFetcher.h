#pragma once

#include "state/HttpFetcher.h"

#include <QObject>

class QNetworkAccessManager;

namespace qv::state {

// HttpFetcher over QNetworkAccessManager, with a transfer time-out so a hung
// server ends the request.
class NetworkHttpFetcher final : public QObject, public HttpFetcher {
    Q_OBJECT
public:
    explicit NetworkHttpFetcher(int timeoutMs = 60'000, QObject *parent = nullptr);
    void get(const QUrl &url, Done done) override;

private:
    QNetworkAccessManager *m_manager;
    int m_timeoutMs;
};

} // namespace qv::state
