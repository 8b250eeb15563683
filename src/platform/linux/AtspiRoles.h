#pragma once

#include "platform/linux/Toolkit.h"

#include <QString>

#include <optional>

namespace qv::linuxdesktop::roles {

// Our role vocabulary for an accessibility role (an AtspiRole value).
// Multi-line text is a text area, single-line a text field, text that does
// not say (`multiLine` absent) a text view; roles we have no word for keep
// the bus's own (non-localised) role name.
QString roleFor(int atspiRole, std::optional<bool> multiLine, const QString &busRoleName);

// Whether a text element has several lines (true), one (false), or does not
// tell (absent), from its role, its MULTI_LINE / SINGLE_LINE / EDITABLE
// states and its toolkit. Entries that take several lines say so, and Qt
// marks every edit of several lines: an entry, a password box, or a Qt edit
// without the mark, is one line (Return would submit its form).
std::optional<bool> lineKind(int atspiRole, bool multiLineState, bool singleLineState, bool editable, Toolkit toolkit);

} // namespace qv::linuxdesktop::roles
