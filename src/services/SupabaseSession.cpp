#include "services/SupabaseSession.h"

#include "services/SupabaseWire.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace qv {

QByteArray SupabaseSession::toJson() const
{
    QJsonObject object{
        {QStringLiteral("accessToken"), accessToken},
        {QStringLiteral("refreshToken"), refreshToken},
        {QStringLiteral("userId"), userId},
    };
    if (email)
        object.insert(QStringLiteral("email"), *email);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<SupabaseSession> SupabaseSession::fromJson(const QByteArray &json)
{
    QString why;
    const auto value = wire::parseJson(json, why);
    if (!value || !value->isObject())
        return std::nullopt;
    const QJsonObject object = value->toObject();
    SupabaseSession session;
    if (!wire::readRequiredString(object, QStringLiteral("accessToken"), session.accessToken, why)
        || !wire::readRequiredString(object, QStringLiteral("refreshToken"), session.refreshToken, why)
        || !wire::readRequiredString(object, QStringLiteral("userId"), session.userId, why)
        || !wire::readOptionalString(object, QStringLiteral("email"), session.email, why))
        return std::nullopt;
    return session;
}

} // namespace qv
