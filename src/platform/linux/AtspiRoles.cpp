#include "platform/linux/AtspiRoles.h"

#include "platform/Accessibility.h"

#include <atspi/atspi-constants.h>

namespace qv::linuxdesktop::roles {

using platform::Roles::Application;
using platform::Roles::Button;
using platform::Roles::Group;
using platform::Roles::SecureTextField;
using platform::Roles::StaticText;
using platform::Roles::Terminal;
using platform::Roles::TextArea;
using platform::Roles::TextField;
using platform::Roles::TextView;
using platform::Roles::Unknown;
using platform::Roles::WebArea;
using platform::Roles::Window;

QString roleFor(int atspiRole, std::optional<bool> multiLine, const QString &busRoleName)
{
    switch (atspiRole) {
    case ATSPI_ROLE_PASSWORD_TEXT:
        return SecureTextField;
    case ATSPI_ROLE_TEXT:
    case ATSPI_ROLE_ENTRY:
        if (!multiLine)
            return TextView;
        return *multiLine ? TextArea : TextField;
    case ATSPI_ROLE_SPIN_BUTTON:
        return TextField;
    case ATSPI_ROLE_DOCUMENT_TEXT:
        return TextArea;
    case ATSPI_ROLE_DOCUMENT_WEB:
        return WebArea;
    case ATSPI_ROLE_TERMINAL:
        return Terminal;
    case ATSPI_ROLE_FRAME:
    case ATSPI_ROLE_WINDOW:
    case ATSPI_ROLE_DIALOG:
        return Window;
    case ATSPI_ROLE_APPLICATION:
        return Application;
    case ATSPI_ROLE_PUSH_BUTTON:
    case ATSPI_ROLE_TOGGLE_BUTTON:
        return Button;
    case ATSPI_ROLE_LABEL:
    case ATSPI_ROLE_STATIC:
        return StaticText;
    case ATSPI_ROLE_PANEL:
    case ATSPI_ROLE_FILLER:
    case ATSPI_ROLE_GROUPING:
    case ATSPI_ROLE_SECTION:
        return Group;
    default:
        return busRoleName.isEmpty() ? Unknown : busRoleName;
    }
}

std::optional<bool> lineKind(int atspiRole, bool multiLineState, bool singleLineState, bool editable, Toolkit toolkit)
{
    if (multiLineState)
        return true;
    if (singleLineState)
        return false;
    if (atspiRole == ATSPI_ROLE_ENTRY || atspiRole == ATSPI_ROLE_PASSWORD_TEXT)
        return false;
    if (atspiRole == ATSPI_ROLE_TEXT && editable && toolkit == Toolkit::Qt)
        return false;
    return std::nullopt;
}

} // namespace qv::linuxdesktop::roles
