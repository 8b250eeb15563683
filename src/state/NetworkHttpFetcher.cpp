#include "state/NetworkHttpFetcher.h"

#include "services/BoundedBody.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace qv::state {

// One get() from its first request to its answer, across its redirects.
struct NetworkHttpFetcher::Exchange {
    Done done;
    QElapsedTimer clock;
    int hops = 0;
    bool pastDeadline = false;
    QPointer<QNetworkReply> current;
    QTimer deadline;

    void finish(std::optional<QByteArray> answer)
    {
        deadline.stop();
        if (done)
            std::exchange(done, nullptr)(std::move(answer));
    }
};

namespace {

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Where a redirect may lead: the web, and never from an encrypted page to
// a plain one.
bool mayFollow(const QUrl &from, const QUrl &to)
{
    const QString scheme = to.scheme().toLower();
    if (!to.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return false;
    return !(from.scheme().toLower() == QLatin1String("https") && scheme == QLatin1String("http"));
}

} // namespace

NetworkHttpFetcher::NetworkHttpFetcher(int timeoutMs, QObject *parent)
    : QObject(parent), m_manager(new QNetworkAccessManager(this)), m_timeoutMs(timeoutMs)
{
}

void NetworkHttpFetcher::get(const QUrl &url, Done done)
{
    auto exchange = std::make_shared<Exchange>();
    exchange->done = std::move(done);
    exchange->clock.start();
    // One deadline for the whole exchange, redirects included; a server that
    // trickles its answer is cut off at the same deadline as a silent one.
    exchange->deadline.setSingleShot(true);
    QObject::connect(&exchange->deadline, &QTimer::timeout, this, [weak = std::weak_ptr<Exchange>(exchange)] {
        const auto e = weak.lock();
        if (!e)
            return;
        e->pastDeadline = true;
        if (e->current && e->current->isRunning())
            e->current->abort();
    });
    exchange->deadline.start(m_timeoutMs);
    request(exchange, url);
}

void NetworkHttpFetcher::request(const std::shared_ptr<Exchange> &exchange, const QUrl &url)
{
    QNetworkRequest hop(url);
    hop.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    hop.setTransferTimeout(int(std::max<qint64>(1, m_timeoutMs - exchange->clock.elapsed())));
    QNetworkReply *reply = m_manager->get(hop);
    exchange->current = reply;

    // The body is taken as it arrives and nothing past the cap is ever held.
    const std::shared_ptr<BoundedBody> body = BoundedBody::attach(reply, kMaxAnswerBytes);
    connect(reply, &QNetworkReply::finished, this, [this, reply, body, exchange, url] {
        reply->deleteLater();
        exchange->current = nullptr;
        // Any HTTP answer counts, whatever its status; no answer, or one
        // refused for its size or its pace, gives nothing.
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (exchange->pastDeadline || !body->take(*reply) || !status.isValid())
            return exchange->finish(std::nullopt);
        const QVariant target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute);
        if (isRedirect(status.toInt()) && target.isValid()) {
            const QUrl next = url.resolved(target.toUrl());
            if (exchange->hops >= kMaxRedirects || !mayFollow(url, next))
                return exchange->finish(std::nullopt);
            ++exchange->hops;
            return request(exchange, next);
        }
        exchange->finish(body->release());
    });
}

} // namespace qv::state
