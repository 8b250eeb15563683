#pragma once

#include <QString>

namespace qv::linuxdesktop::roles {

// Our role vocabulary for an accessibility role (an AtspiRole value).
// Multi-line text is a text area, single-line a text field; roles we have no
// word for keep the bus's own (non-localised) role name.
QString roleFor(int atspiRole, bool multiLine, const QString &busRoleName);

} // namespace qv::linuxdesktop::roles
