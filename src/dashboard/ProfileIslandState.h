#pragma once

#include <QObject>

namespace qv::dashboard {

// Whether the profile button is revealed and the profile menu open. The
// button shows while the pointer is over the island's area or the button,
// and while the menu is open; when the menu closes it follows the pointer.
class ProfileIslandState : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    bool isProfileHovering() const { return m_hovering; }
    bool showProfileButton() const { return m_showButton; }
    bool showProfileMenu() const { return m_showMenu; }

    // The one hover handler of the area and the button.
    void hover(bool hovering);
    void setShowProfileMenu(bool show);
    void toggleMenu() { setShowProfileMenu(!m_showMenu); }

signals:
    void showProfileButtonChanged();
    void showProfileMenuChanged();

private:
    void setShowButton(bool show);

    bool m_hovering = false;
    bool m_showButton = false;
    bool m_showMenu = false;
};

} // namespace qv::dashboard
