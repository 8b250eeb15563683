#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace qv {

// An atomic save writes a temporary file next to its target, named after it
// plus a dot and six random letters and digits ("preferences.json.a8Kq2Z"),
// and renames it over the target. A process killed during a save leaves that
// file behind. Removes such files in `folder` whose target name `isOwnFile`
// accepts, and returns their paths. Only regular files go, never links; a
// suffix of six lower-case letters is left alone, since it reads as a word a
// person added (".backup") more likely than as a random name.
QStringList removeSaveLeftovers(const QString &folder, const std::function<bool(const QString &)> &isOwnFile);

} // namespace qv
