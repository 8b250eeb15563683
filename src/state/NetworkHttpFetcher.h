#pragma once

#include "state/HttpFetcher.h"

#include <QObject>

class QNetworkAccessManager;

namespace qv::state {

// HttpFetcher over QNetworkAccessManager. The time-out bounds the whole
// exchange, the answer's size and the number of redirects are capped, so a
// hostile or broken server can neither hold the request nor fill memory.
// Redirects are followed here, one request per hop, rather than by the
// network layer: that layer may send a hop's request again on a new
// connection, past its own redirect limit.
class NetworkHttpFetcher final : public QObject, public HttpFetcher {
    Q_OBJECT
public:
    explicit NetworkHttpFetcher(int timeoutMs = 60'000, QObject *parent = nullptr);
    void get(const QUrl &url, Done done) override;

    static constexpr qsizetype kMaxAnswerBytes = 1024 * 1024;
    static constexpr int kMaxRedirects = 5;

private:
    struct Exchange;
    void request(const std::shared_ptr<Exchange> &exchange, const QUrl &url);

    QNetworkAccessManager *m_manager;
    int m_timeoutMs;
};

} // namespace qv::state
