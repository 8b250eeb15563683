#pragma once

#include "services/SupabaseError.h"
#include "services/SupabaseProfile.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <optional>
#include <variant>

// What the backend client sends and reads on the wire. Decoding is strict in
// the way a keyed decoder is: a required key that is missing, or any value of
// the wrong JSON type, fails the whole decode; an optional key may be absent
// or null. Members the client does not use are ignored.
namespace qv::wire {

struct SupabaseUser {
    QString id;
    std::optional<QString> email;
};

struct SupabaseAuthResponse {
    std::optional<QString> accessToken;  // "access_token"
    std::optional<QString> refreshToken; // "refresh_token"
    SupabaseUser user;                   // "user", required
};

struct SupabaseProfilePayload {
    QString id;
    std::optional<QString> email;

    SupabaseProfile toProfile() const { return {id, email}; }
};

template <typename T>
using Decoded = std::variant<T, SupabaseError>;

Decoded<SupabaseAuthResponse> decodeAuthResponse(const QByteArray &body);
Decoded<QList<SupabaseProfilePayload>> decodeProfileRows(const QByteArray &body);

// Request bodies.
QByteArray authPayload(const QString &email, const QString &password);
QByteArray refreshPayload(const QString &refreshToken);
QByteArray passwordUpdatePayload(const QString &password);
// The row-creation body: exactly "id" and "email" (empty when there is none).
QByteArray profileRowPayload(const QString &id, const std::optional<QString> &email);

// Helpers shared with SupabaseSession's own coding. Each returns false when the
// member is missing/null (required) or of the wrong type.
bool readRequiredString(const QJsonObject &object, const QString &key, QString &out, QString &why);
bool readOptionalString(const QJsonObject &object, const QString &key, std::optional<QString> &out, QString &why);
// Parses an object or array document; empty optional and `why` set on failure.
std::optional<QJsonValue> parseJson(const QByteArray &body, QString &why);

} // namespace qv::wire
