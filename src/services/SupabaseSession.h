#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace qv {

// The signed-in session: built by SupabaseClient (sign-in, refresh), held and
// stored by the application state. Its JSON is the application's own storage
// form: {"accessToken", "refreshToken", "userId", "email"}, the last left out
// when there is no e-mail.
struct SupabaseSession {
    QString accessToken;
    QString refreshToken;
    QString userId;
    std::optional<QString> email;

    QByteArray toJson() const;
    // Empty when the data is not such an object: a missing required key or a
    // value of the wrong JSON type fails the whole decode; "email" may be
    // absent or null.
    static std::optional<SupabaseSession> fromJson(const QByteArray &json);

    bool operator==(const SupabaseSession &) const = default;
};

} // namespace qv
