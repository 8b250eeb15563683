#pragma once

#include <QObject>

namespace qv::dashboard {

// Whether the profile button is revealed and the profile menu open. The
// button shows while the pointer is over the island's area or the button,
// and while the menu is open; when the menu closes it follows the pointer.
// The area and the button report their own entries and exits: leaving the
// button for the menu inside the area keeps the pointer "in the area", which
// reports only when its own state changes.
class ProfileIslandState : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    bool isProfileHovering() const { return m_inArea || m_overButton; }
    bool showProfileButton() const { return m_showButton; }
    bool showProfileMenu() const { return m_showMenu; }

    // The hover handlers of the area and of the button.
    void hoverArea(bool inside);
    void hoverButton(bool over);
    void setShowProfileMenu(bool show);
    void toggleMenu() { setShowProfileMenu(!m_showMenu); }

signals:
    void showProfileButtonChanged();
    void showProfileMenuChanged();

private:
    void setShowButton(bool show);

    void sync();

    bool m_inArea = false;
    bool m_overButton = false;
    bool m_showButton = false;
    bool m_showMenu = false;
};

} // namespace qv::dashboard
