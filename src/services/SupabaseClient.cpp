#include "services/SupabaseClient.h"

#include "services/NetworkTransport.h"
#include "services/SupabaseWire.h"

#include <QJsonObject>
#include <QStringDecoder>

namespace qv {

namespace {

using Context = SupabaseClient::Context;
using Query = QList<std::pair<QString, QString>>;

const QByteArray kJson = "application/json";

// The base URL with `path` appended as a path component (its inner slashes
// kept); when there are query items they replace the query, in order, each
// name and value percent-encoded so the server reads back exactly what was
// given.
QUrl endpoint(const QUrl &base, const QString &path, const Query &query)
{
    QUrl url = base;
    QString joined = url.path();
    if (!joined.endsWith(u'/'))
        joined += u'/';
    url.setPath(joined + path);
    if (!query.isEmpty()) {
        static const QByteArray keep = "!$'()*,;:@/?";
        QStringList parts;
        for (const auto &[name, value] : query)
            parts << QString::fromLatin1(QUrl::toPercentEncoding(name, keep) + '='
                                         + QUrl::toPercentEncoding(value, keep));
        url.setQuery(parts.join(u'&'), QUrl::StrictMode);
    }
    return url;
}

HttpRequest makeRequest(const Context &context, QByteArray method, const QString &path, const Query &query,
                        HttpHeaders headers, QByteArray body = {})
{
    HttpRequest request;
    request.method = std::move(method);
    request.url = endpoint(context.url, path, query);
    request.headers = std::move(headers);
    request.body = std::move(body);
    request.timeout = context.timeout;
    return request;
}

QByteArray bearer(const QString &token) { return "Bearer " + token.toUtf8(); }

// A refusal's JSON body: its readable text (the first of
// "error_description", "msg", "message" that is a non-empty string) and its
// code ("error" or "error_code"). Both empty for any other body.
struct RefusalBody {
    QString text;
    QString code;
};

RefusalBody readRefusal(const QByteArray &body)
{
    QString why;
    const auto json = wire::parseJson(body, why);
    if (!json || !json->isObject())
        return {};
    const QJsonObject object = json->toObject();
    RefusalBody refusal;
    for (const char *key : {"error_description", "msg", "message"}) {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isString() && !value.toString().isEmpty()) {
            refusal.text = value.toString();
            break;
        }
    }
    for (const char *key : {"error", "error_code"}) {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isString()) {
            refusal.code = value.toString();
            break;
        }
    }
    return refusal;
}

// Checks one answer: 2xx passes; anything else is the backend's refusal,
// shown as the text its JSON body gives, else as a sentence with the status:
// never as markup or JSON.
SupabaseResult<void> validate(const HttpResponse &response)
{
    if (!response.status)
        return SupabaseError::backend(QStringLiteral("No response from server."));
    const int status = *response.status;
    if (status >= 200 && status <= 299)
        return {};

    // An empty body says nothing: the caller's own fallback stands.
    const RefusalBody refusal = readRefusal(response.body);
    QString message = !refusal.text.isEmpty()             ? refusal.text
                      : response.body.trimmed().isEmpty() ? QString()
                                                          : refusalSentence(status);
    if (status == 401) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString body = decoder.decode(response.body);
        if ((refusal.text.isEmpty() ? body : refusal.text).toLower().contains(QStringLiteral("invalid jwt")))
            message = QStringLiteral("Invalid session (401).");
    }
    return SupabaseError::backend(message, status, refusal.code);
}

// Sends, then validates. On success the answer's body comes back.
QCoro::Task<SupabaseResult<QByteArray>> exchange(std::shared_ptr<HttpTransport> transport, HttpRequest request)
{
    HttpOutcome outcome = co_await transport->send(std::move(request));
    if (auto *failure = std::get_if<TransportFailure>(&outcome))
        co_return SupabaseError::transport(failure->message);
    auto &response = std::get<HttpResponse>(outcome);
    if (auto checked = validate(response); !checked)
        co_return checked.error();
    co_return std::move(response.body);
}

QCoro::Task<SupabaseResult<SupabaseSession>> tokenGrant(Context context, QString grantType, QByteArray body)
{
    HttpRequest request = makeRequest(context, "POST", QStringLiteral("auth/v1/token"),
                                      {{QStringLiteral("grant_type"), grantType}},
                                      {{"Content-Type", kJson}, {"apikey", context.anonKey.toUtf8()}}, std::move(body));
    auto answer = co_await exchange(context.transport, std::move(request));
    if (!answer)
        co_return answer.error();
    auto decoded = wire::decodeAuthResponse(answer.value());
    if (auto *error = std::get_if<SupabaseError>(&decoded))
        co_return *error;
    const auto &auth = std::get<wire::SupabaseAuthResponse>(decoded);
    if (!auth.accessToken || !auth.refreshToken)
        co_return SupabaseError::backend(QStringLiteral("Missing session tokens from server."));
    co_return SupabaseSession{*auth.accessToken, *auth.refreshToken, auth.user.id, auth.user.email};
}

QCoro::Task<SupabaseResult<QList<wire::SupabaseProfilePayload>>>
readProfileRows(std::shared_ptr<HttpTransport> transport, HttpRequest request)
{
    auto answer = co_await exchange(std::move(transport), std::move(request));
    if (!answer)
        co_return answer.error();
    auto decoded = wire::decodeProfileRows(answer.value());
    if (auto *error = std::get_if<SupabaseError>(&decoded))
        co_return *error;
    co_return std::get<QList<wire::SupabaseProfilePayload>>(std::move(decoded));
}

QCoro::Task<SupabaseResult<void>> ensureProfileRow(Context context, SupabaseSession session)
{
    HttpRequest request = makeRequest(context, "POST", QStringLiteral("rest/v1/profiles"), {},
                                      {{"Content-Type", kJson},
                                       {"apikey", context.anonKey.toUtf8()},
                                       {"Authorization", bearer(session.accessToken)},
                                       {"Prefer", "return=representation"}},
                                      wire::profileRowPayload(session.userId, session.email));
    auto answer = co_await exchange(context.transport, std::move(request));
    if (!answer)
        co_return answer.error();
    co_return SupabaseResult<void>();
}

QCoro::Task<SupabaseResult<SupabaseProfile>> fetchProfileIn(Context context, SupabaseSession session)
{
    const HttpRequest read = makeRequest(context, "GET", QStringLiteral("rest/v1/profiles"),
                                         {{QStringLiteral("id"), QStringLiteral("eq.") + session.userId},
                                          {QStringLiteral("select"), QStringLiteral("id,email")}},
                                         {{"apikey", context.anonKey.toUtf8()},
                                          {"Authorization", bearer(session.accessToken)}});

    auto rows = co_await readProfileRows(context.transport, read);
    if (!rows)
        co_return rows.error();
    if (!rows.value().isEmpty())
        co_return rows.value().first().toProfile();

    auto created = co_await ensureProfileRow(context, session);
    if (!created)
        co_return created.error();

    rows = co_await readProfileRows(context.transport, read);
    if (!rows)
        co_return rows.error();
    if (!rows.value().isEmpty())
        co_return rows.value().first().toProfile();
    co_return SupabaseError::backend(QStringLiteral("Profile not found. Did you run the SQL setup?"));
}

QCoro::Task<SupabaseResult<void>> updatePasswordIn(Context context, QString accessToken, QString newPassword)
{
    HttpRequest request = makeRequest(
        context, "PUT", QStringLiteral("auth/v1/user"), {},
        {{"Content-Type", kJson}, {"apikey", context.anonKey.toUtf8()}, {"Authorization", bearer(accessToken)}},
        wire::passwordUpdatePayload(newPassword));
    auto answer = co_await exchange(context.transport, std::move(request));
    if (!answer)
        co_return answer.error();
    co_return SupabaseResult<void>();
}

} // namespace

SupabaseClient::SupabaseClient(QUrl url, QString anonKey, std::chrono::milliseconds timeout,
                               std::shared_ptr<HttpTransport> transport)
    : m_context{std::move(url), std::move(anonKey), timeout,
                transport ? std::move(transport) : std::make_shared<NetworkTransport>()}
{
}

QCoro::Task<SupabaseResult<SupabaseSession>> SupabaseClient::signIn(QString email, QString password) const
{
    return tokenGrant(m_context, QStringLiteral("password"), wire::authPayload(email, password));
}

QCoro::Task<SupabaseResult<SupabaseSession>> SupabaseClient::refreshSession(QString refreshToken) const
{
    return tokenGrant(m_context, QStringLiteral("refresh_token"), wire::refreshPayload(refreshToken));
}

QCoro::Task<SupabaseResult<void>> SupabaseClient::updatePassword(QString accessToken, QString newPassword) const
{
    return updatePasswordIn(m_context, std::move(accessToken), std::move(newPassword));
}

QCoro::Task<SupabaseResult<SupabaseProfile>> SupabaseClient::fetchProfile(SupabaseSession session) const
{
    return fetchProfileIn(m_context, std::move(session));
}

} // namespace qv
