#pragma once

#include <QString>

namespace qv::linuxdesktop::clipboard {

// X11 selection targets that describe the selection rather than hold its
// contents (TARGETS, MULTIPLE, TIMESTAMP, SAVE_TARGETS, DELETE and kin):
// a snapshot must neither read nor restore them.
bool isMetaTarget(const QString &format);

} // namespace qv::linuxdesktop::clipboard
