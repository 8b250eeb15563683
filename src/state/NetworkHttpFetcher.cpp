#include "state/NetworkHttpFetcher.h"

#include "services/BoundedBody.h"

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

    // The body is taken as it arrives and nothing past the cap is ever held;
    // a server that trickles its answer is cut off at the same deadline as a
    // silent one.
    const std::shared_ptr<BoundedBody> body = BoundedBody::attach(reply, kMaxAnswerBytes);
    auto pastDeadline = std::make_shared<bool>(false);
    QTimer::singleShot(m_timeoutMs, reply, [reply, pastDeadline] {
        if (reply->isRunning()) {
            *pastDeadline = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [reply, body, pastDeadline, done = std::move(done)] {
        reply->deleteLater();
        // Any HTTP answer counts, whatever its status; no answer, or one
        // refused for its size or its pace, gives nothing.
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (*pastDeadline || !body->take(*reply) || !status.isValid()
            || reply->error() == QNetworkReply::TooManyRedirectsError)
            return done(std::nullopt);
        done(body->release());
    });
}

} // namespace qv::state
