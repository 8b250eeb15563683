#include "services/NetworkTransport.h"

#include <QCoro/QCoroNetworkReply>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

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

QCoro::Task<HttpOutcome> NetworkTransport::send(HttpRequest request)
{
    QNetworkRequest networkRequest(request.url);
    networkRequest.setTransferTimeout(int(request.timeout.count()));
    for (const auto &[name, value] : request.headers)
        networkRequest.setRawHeader(name, value);

    QNetworkReply *raw = request.method == "GET" && request.body.isEmpty()
        ? m_manager->get(networkRequest)
        : m_manager->sendCustomRequest(networkRequest, request.method, request.body);
    // The reply is ours until the answer has been read.
    std::unique_ptr<QNetworkReply, void (*)(QNetworkReply *)> reply(raw, [](QNetworkReply *r) { r->deleteLater(); });

    co_await reply.get();

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (isTransportError(reply->error()) || (reply->error() != QNetworkReply::NoError && !status.isValid()))
        co_return failureOf(*reply);

    HttpResponse response;
    if (status.isValid())
        response.status = status.toInt();
    for (const auto &pair : reply->rawHeaderPairs())
        response.headers.append({pair.first, pair.second});
    response.body = reply->readAll();
    co_return response;
}

} // namespace qv
