#include "services/BackendSettings.h"

#include "services/BackendConfig.h"

#include <QHostAddress>
#include <QRegularExpression>

namespace qv {

namespace {

// The same patterns as the build's check.
const QRegularExpression &httpsPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^https://[^/?#:@]+(:[0-9]+)?(/[^?#]*)?$"));
    return pattern;
}

const QRegularExpression &loopbackHttpPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^http://(127\.[0-9]+\.[0-9]+\.[0-9]+|localhost|\[::1\])(:[0-9]+)?(/[^?#]*)?$)"));
    return pattern;
}

QUrl withoutTrailingSlashes(QString address)
{
    while (address.endsWith(QLatin1Char('/')))
        address.chop(1);
    return QUrl(address, QUrl::StrictMode);
}

} // namespace

std::optional<QString> BackendSettings::checkUrl(const QString &name, const QString &value)
{
    const bool matches = httpsPattern().match(value).hasMatch() || loopbackHttpPattern().match(value).hasMatch();
    if (matches && QUrl(value, QUrl::StrictMode).isValid())
        return std::nullopt;
    return QStringLiteral("%1 is \"%2\": it must be an https:// address, or an http:// address on the loopback "
                          "host (127.x.x.x, localhost or [::1]) for the local development backend.")
        .arg(name, value);
}

std::optional<QString> BackendSettings::checkAnonKey(const QString &name, const QString &value)
{
    static const QRegularExpression allowed(QStringLiteral("^[A-Za-z0-9._~+/=-]+$"));
    if (value.isEmpty())
        return QStringLiteral("%1 is empty: give the backend's anonymous API key.").arg(name);
    if (!allowed.match(value).hasMatch())
        return QStringLiteral("%1 holds characters that an API key does not have (only letters, digits and "
                              ". _ ~ + / = - are allowed).")
            .arg(name);
    return std::nullopt;
}

std::variant<BackendSettings, QString> BackendSettings::resolve(const QProcessEnvironment &environment)
{
    BackendSettings settings{QUrl(QString::fromUtf8(BackendConfig::url), QUrl::StrictMode),
                             QString::fromUtf8(BackendConfig::anonKey),
                             QUrl(QString::fromUtf8(BackendConfig::siteUrl), QUrl::StrictMode)};
    const QString urlName = QString::fromLatin1(kUrlVariable);
    if (environment.contains(urlName)) {
        const QString value = environment.value(urlName);
        if (auto refused = checkUrl(urlName, value))
            return *refused;
        settings.url = QUrl(value, QUrl::StrictMode);
        if (BackendConfig::siteFollowsBackend)
            settings.siteUrl = withoutTrailingSlashes(value);
    }
    const QString keyName = QString::fromLatin1(kAnonKeyVariable);
    if (environment.contains(keyName)) {
        const QString value = environment.value(keyName);
        if (auto refused = checkAnonKey(keyName, value))
            return *refused;
        settings.anonKey = value;
    }
    return settings;
}

bool isLoopbackHost(const QUrl &url)
{
    QString host = url.host();
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

} // namespace qv
