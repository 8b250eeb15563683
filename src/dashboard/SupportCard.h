#pragma once

#include "dashboard/Card.h"
#include "dashboard/SettingsLinks.h"

class QLabel;

namespace qv {
class QVButton;
namespace platform {
class Workspace;
}
} // namespace qv

namespace qv::dashboard {

// The support address, a new mail to it, and the install and permissions
// walkthroughs, opened in the desktop's default handlers.
class SupportCard : public Card {
    Q_OBJECT
public:
    SupportCard(platform::Workspace *workspace, SettingsLinks links, QWidget *parent = nullptr);

    QLabel *addressLabel() const { return m_address; }
    QVButton *contactButton() const { return m_contact; }
    QVButton *installButton() const { return m_install; }
    QVButton *permissionsButton() const { return m_permissions; }

private:
    QLabel *m_address;
    QVButton *m_contact;
    QVButton *m_install;
    QVButton *m_permissions;
};

} // namespace qv::dashboard
