#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// Reading of the update feed and comparison of dotted versions.
namespace qv::state::appcast {

// Text of the first <sparkle:shortVersionString> element, untrimmed at its end.
std::optional<QString> feedVersion(const QString &feed);
// The first enclosure's url attribute.
std::optional<QString> feedDownloadAddress(const QString &feed);
// The address as a URL that may be opened: http or https with a host only,
// since the feed decides what gets opened.
std::optional<QUrl> openableUrl(const QString &address);

// One piece of a version: a whole decimal number with an optional sign, else 0
// (letters, blanks, non-ASCII digits, a number beyond 64 bits).
qint64 versionPiece(const QString &piece);
// Whether `candidate` is a higher dotted version than `current`; missing pieces
// count as 0 and empty pieces are dropped, so 1.2 equals 1.2.0.
bool isVersionNewer(const QString &candidate, const QString &current);

} // namespace qv::state::appcast
