#include "state/NetworkHttpFetcher.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace qv::state {

NetworkHttpFetcher::NetworkHttpFetcher(int timeoutMs, QObject *parent)
    : QObject(parent), m_manager(new QNetworkAccessManager(this)), m_timeoutMs(timeoutMs)
{
}

void NetworkHttpFetcher::get(const QUrl &url, Done done)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(m_timeoutMs);
    QNetworkReply *reply = m_manager->get(request);
    connect(reply, &QNetworkReply::finished, this, [reply, done = std::move(done)] {
        reply->deleteLater();
        // Any HTTP answer counts, whatever its status; no answer gives nothing.
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (!status.isValid())
            done(std::nullopt);
        else
            done(reply->readAll());
    });
}

} // namespace qv::state
