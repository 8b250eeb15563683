#include "state/NetworkHttpFetcher.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace qv::state {

NetworkHttpFetcher::NetworkHttpFetcher(int timeoutMs, QObject *parent)
    : QObject(parent), m_manager(new QNetworkAccessManager(this)), m_timeoutMs(timeoutMs)
{
}

void NetworkHttpFetcher::get(const QUrl &url, Done done)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(m_timeoutMs);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    QNetworkReply *reply = m_manager->get(request);

    // The body is taken as it arrives so nothing past the cap is ever held;
    // a server that trickles its answer is cut off at the same deadline as a
    // silent one.
    struct Limits {
        QByteArray body;
        bool refused = false;
    };
    auto limits = std::make_shared<Limits>();
    connect(reply, &QNetworkReply::readyRead, reply, [reply, limits] {
        if (limits->refused)
            return;
        limits->body += reply->readAll();
        if (limits->body.size() > kMaxAnswerBytes) {
            limits->refused = true;
            limits->body.clear();
            reply->abort();
        }
    });
    QTimer::singleShot(m_timeoutMs, reply, [reply, limits] {
        if (reply->isRunning()) {
            limits->refused = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [reply, limits, done = std::move(done)] {
        reply->deleteLater();
        // Any HTTP answer counts, whatever its status; no answer, or one
        // refused for its size or its pace, gives nothing.
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (limits->refused || !status.isValid() || reply->error() == QNetworkReply::TooManyRedirectsError)
            return done(std::nullopt);
        limits->body += reply->readAll();
        if (limits->body.size() > kMaxAnswerBytes)
            return done(std::nullopt);
        done(std::move(limits->body));
    });
}

} // namespace qv::state
