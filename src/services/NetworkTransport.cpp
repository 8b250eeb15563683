#include "services/NetworkTransport.h"

#include "services/BoundedBody.h"

#include <QCoro/QCoroNetworkReply>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace qv {

namespace {

// Failures below the HTTP layer: connection, TLS, time-out, cancellation,
// proxy. An answer cut short after its status line also counts, since its
// body cannot be trusted.
bool isTransportError(QNetworkReply::NetworkError error)
{
    return error != QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied;
}

TransportFailure failureOf(const QNetworkReply &reply)
{
    switch (reply.error()) {
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        // Qt ends a transfer that outlived its transfer timeout as
        // "canceled"; nothing else aborts our replies (the manager outlives
        // every call in flight).
        return {TransportFailure::Reason::TimedOut, HttpTransport::timedOutMessage()};
    default:
        return {TransportFailure::Reason::Network, reply.errorString()};
    }
}

} // namespace

NetworkTransport::NetworkTransport() : m_manager(std::make_unique<QNetworkAccessManager>())
{
    // Credentials are never asked for: leaving authenticationRequired
    // unconnected makes a 401 an ordinary answer.
    m_manager->setAutoDeleteReplies(false);
}

NetworkTransport::~NetworkTransport() = default;

QString NetworkTransport::tooLargeMessage()
{
    return QStringLiteral("The server's answer is larger than %1 MB; it was not read.")
        .arg(kMaxAnswerBytes / (1024 * 1024));
}

QString NetworkTransport::redirectRefusedMessage()
{
    return QStringLiteral("The server sent the request on to another address; it was not followed.");
}

QCoro::Task<HttpOutcome> NetworkTransport::send(HttpRequest request)
{
    QNetworkRequest networkRequest(request.url);
    // A silent server fails early; the deadline below bounds a slow one.
    networkRequest.setTransferTimeout(int(request.timeout.count()));
    // The request carries the API key, a bearer token or a password: only
    // its own origin (scheme, host and port) may see it again.
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    for (const auto &[name, value] : request.headers)
        networkRequest.setRawHeader(name, value);

    QNetworkReply *raw = request.method == "GET" && request.body.isEmpty()
                             ? m_manager->get(networkRequest)
                             : m_manager->sendCustomRequest(networkRequest, request.method, request.body);
    // The reply is ours until the answer has been read.
    std::unique_ptr<QNetworkReply, void (*)(QNetworkReply *)> reply(raw, [](QNetworkReply *r) { r->deleteLater(); });

    // The body is taken as it arrives and nothing past the cap is ever held.
    const std::shared_ptr<BoundedBody> body = BoundedBody::attach(reply.get(), kMaxAnswerBytes);
    auto pastDeadline = std::make_shared<bool>(false);
    QNetworkReply *watched = reply.get();
    // The whole exchange, however steadily a server trickles its answer.
    QTimer::singleShot(request.timeout, watched, [watched, pastDeadline] {
        if (watched->isRunning()) {
            *pastDeadline = true;
            watched->abort();
        }
    });

    co_await reply.get();

    // What arrived with the end of the answer counts towards the cap too.
    if (!body->take(*reply))
        co_return TransportFailure{TransportFailure::Reason::Network, tooLargeMessage()};
    if (*pastDeadline)
        co_return TransportFailure{TransportFailure::Reason::TimedOut, HttpTransport::timedOutMessage()};
    if (reply->error() == QNetworkReply::InsecureRedirectError)
        co_return TransportFailure{TransportFailure::Reason::Network, redirectRefusedMessage()};

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (isTransportError(reply->error()) || (reply->error() != QNetworkReply::NoError && !status.isValid()))
        co_return failureOf(*reply);

    HttpResponse response;
    if (status.isValid())
        response.status = status.toInt();
    for (const auto &pair : reply->rawHeaderPairs())
        response.headers.append({pair.first, pair.second});
    response.body = body->release();
    co_return response;
}

} // namespace qv
