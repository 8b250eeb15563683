#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace qv::platform {
class Workspace;
}

namespace qv::dashboard {

// The help pages on the product web site, and the support mailbox.
struct SettingsLinks {
    QString installGuideURL;
    QString permissionsGuideURL;
    QString settingsGuideURL;
    QString supportEmail;

    // The pages under the site's base address (its own path kept).
    static SettingsLinks forSite(const QUrl &siteUrl, const QString &supportEmail);
};

// A page of the site: the base address without trailing slashes, then `path`.
QString sitePage(const QUrl &siteUrl, const QString &path);
// "mailto:" and the address; nothing for an empty or malformed address.
std::optional<QUrl> mailtoUrl(const QString &address);
// An absolute address with a scheme, or nothing when the text does not parse.
std::optional<QUrl> parseAddress(const QString &address);
// Hands a parsed address to the desktop; an address that does not parse
// does nothing. Returns whether it was handed on.
bool openAddress(platform::Workspace &workspace, const QString &address);

} // namespace qv::dashboard
