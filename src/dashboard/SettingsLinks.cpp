#include "dashboard/SettingsLinks.h"

#include "platform/Workspace.h"

#include <QRegularExpression>

namespace qv::dashboard {

QString sitePage(const QUrl &siteUrl, const QString &path)
{
    QString base = siteUrl.toString();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base + path;
}

SettingsLinks SettingsLinks::forSite(const QUrl &siteUrl, const QString &supportEmail)
{
    return {
        sitePage(siteUrl, QStringLiteral("/quorvel-site/download.html#install-walkthrough")),
        sitePage(siteUrl, QStringLiteral("/quorvel-site/accessibility.html")),
        sitePage(siteUrl, QStringLiteral("/quorvel-site/support.html#support-guides")),
        supportEmail,
    };
}

std::optional<QUrl> parseAddress(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty() || url.isRelative())
        return std::nullopt;
    return url;
}

std::optional<QUrl> mailtoUrl(const QString &address)
{
    // One plain address: no spaces, no second "@", nothing that would add
    // headers or recipients to the new mail.
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9._%+-]+@[A-Za-z0-9.-]+$"));
    if (!plain.match(address).hasMatch())
        return std::nullopt;
    return parseAddress(QStringLiteral("mailto:") + address);
}

bool openAddress(platform::Workspace &workspace, const QString &address)
{
    const std::optional<QUrl> url = parseAddress(address);
    if (!url)
        return false;
    workspace.openUrl(*url);
    return true;
}

} // namespace qv::dashboard
