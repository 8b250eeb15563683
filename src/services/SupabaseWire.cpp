#include "services/SupabaseWire.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

namespace qv::wire {

namespace {

SupabaseError decodingError(const QString &why)
{
    return SupabaseError::decoding(QStringLiteral("The server's answer could not be read (%1).").arg(why));
}

QByteArray compact(const QJsonObject &object) { return QJsonDocument(object).toJson(QJsonDocument::Compact); }

bool readUser(const QJsonObject &object, SupabaseUser &user, QString &why)
{
    return readRequiredString(object, QStringLiteral("id"), user.id, why)
           && readOptionalString(object, QStringLiteral("email"), user.email, why);
}

} // namespace

std::optional<QJsonValue> parseJson(const QByteArray &body, QString &why)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) {
        why = QStringLiteral("not JSON: %1").arg(error.errorString());
        return std::nullopt;
    }
    if (document.isObject())
        return QJsonValue(document.object());
    if (document.isArray())
        return QJsonValue(document.array());
    why = QStringLiteral("not JSON");
    return std::nullopt;
}

bool readRequiredString(const QJsonObject &object, const QString &key, QString &out, QString &why)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull()) {
        why = QStringLiteral("\"%1\" is missing").arg(key);
        return false;
    }
    if (!value.isString()) {
        why = QStringLiteral("\"%1\" is not a string").arg(key);
        return false;
    }
    out = value.toString();
    return true;
}

bool readOptionalString(const QJsonObject &object, const QString &key, std::optional<QString> &out, QString &why)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull()) {
        out.reset();
        return true;
    }
    if (!value.isString()) {
        why = QStringLiteral("\"%1\" is not a string").arg(key);
        return false;
    }
    out = value.toString();
    return true;
}

Decoded<SupabaseAuthResponse> decodeAuthResponse(const QByteArray &body)
{
    QString why;
    const auto json = parseJson(body, why);
    if (!json)
        return decodingError(why);
    if (!json->isObject())
        return decodingError(QStringLiteral("expected an object"));
    const QJsonObject object = json->toObject();

    SupabaseAuthResponse response;
    if (!readOptionalString(object, QStringLiteral("access_token"), response.accessToken, why)
        || !readOptionalString(object, QStringLiteral("refresh_token"), response.refreshToken, why))
        return decodingError(why);
    const QJsonValue user = object.value(QStringLiteral("user"));
    if (user.isUndefined() || user.isNull())
        return decodingError(QStringLiteral("\"user\" is missing"));
    if (!user.isObject())
        return decodingError(QStringLiteral("\"user\" is not an object"));
    if (!readUser(user.toObject(), response.user, why))
        return decodingError(why);
    return response;
}

Decoded<QList<SupabaseProfilePayload>> decodeProfileRows(const QByteArray &body)
{
    QString why;
    const auto json = parseJson(body, why);
    if (!json)
        return decodingError(why);
    if (!json->isArray())
        return decodingError(QStringLiteral("expected an array of rows"));

    QList<SupabaseProfilePayload> rows;
    for (const QJsonValue &item : json->toArray()) {
        if (!item.isObject())
            return decodingError(QStringLiteral("a row is not an object"));
        const QJsonObject row = item.toObject();
        SupabaseProfilePayload payload;
        if (!readRequiredString(row, QStringLiteral("id"), payload.id, why)
            || !readOptionalString(row, QStringLiteral("email"), payload.email, why))
            return decodingError(why);
        rows.append(std::move(payload));
    }
    return rows;
}

QByteArray authPayload(const QString &email, const QString &password)
{
    return compact({{QStringLiteral("email"), email}, {QStringLiteral("password"), password}});
}

QByteArray refreshPayload(const QString &refreshToken)
{
    return compact({{QStringLiteral("refresh_token"), refreshToken}});
}

QByteArray passwordUpdatePayload(const QString &password) { return compact({{QStringLiteral("password"), password}}); }

QByteArray profileRowPayload(const QString &id, const std::optional<QString> &email)
{
    return compact({{QStringLiteral("id"), id}, {QStringLiteral("email"), email.value_or(QString())}});
}

} // namespace qv::wire
