#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QUrl>

#include <optional>
#include <variant>

namespace qv {

// The account backend the application talks to: the build settings, or the
// run-time settings QUORVEL_BACKEND_URL and QUORVEL_BACKEND_ANON_KEY from the
// environment when they are set. Run-time values pass the same checks as the
// build settings (CheckBackendSettings.cmake), so a password never crosses a
// network in clear text whichever way the address was given.
struct BackendSettings {
    static constexpr char kUrlVariable[] = "QUORVEL_BACKEND_URL";
    static constexpr char kAnonKeyVariable[] = "QUORVEL_BACKEND_ANON_KEY";

    QUrl url;
    QString anonKey;
    // The product web site; it moves with the backend when the build did not
    // give a site address of its own.
    QUrl siteUrl;

    // The build settings with the environment's overrides, or the message
    // that names the refused variable and says what it must hold.
    static std::variant<BackendSettings, QString> resolve(const QProcessEnvironment &environment);

    // An error message for `value` as the setting `name`, or nothing when it
    // is acceptable: https, or http on a loopback host.
    static std::optional<QString> checkUrl(const QString &name, const QString &value);
    // Letters, digits and . _ ~ + / = - only, and not empty.
    static std::optional<QString> checkAnonKey(const QString &name, const QString &value);
};

// 127.x.x.x, ::1 or "localhost": the address never leaves this machine.
bool isLoopbackHost(const QUrl &url);

} // namespace qv
