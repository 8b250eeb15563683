#pragma once

#include <QObject>

namespace qv::state {
class AppState;
}

namespace qv::dashboard {

class HoverCaptureView;
class OverlayHost;
class ProfileAvatarButton;
class ProfileIslandState;
class ProfileMenu;

// The profile island in the page's top-right corner: a hover area that
// reveals the avatar button when the pointer comes near, the button, and the
// menu it opens (settings, update check, sign-out). The area takes no
// clicks, so whatever lies under it stays usable. It lays its widgets in the
// host it is given, above the page's overlays.
class ProfileIsland : public QObject {
    Q_OBJECT
public:
    static constexpr int kMenuZ = 30;
    static constexpr int kIslandZ = 40;

    ProfileIsland(state::AppState &appState, OverlayHost &host, QObject *parent = nullptr);
    // The area and the button outlive this object inside the host; they stop
    // reporting to it here.
    ~ProfileIsland() override;

    // Out of sight and out of reach while a welcome covers the page.
    void setCovered(bool covered);
    void closeMenu();

    ProfileIslandState &state() const { return *m_state; }
    ProfileMenu *menu() const { return m_menu; }
    ProfileAvatarButton *button() const { return m_button; }
    HoverCaptureView *hoverArea() const { return m_hoverArea; }

signals:
    // The menu's entries.
    void settingsRequested();
    void checkForUpdatesRequested();
    void signOutRequested();

private:
    void syncButton();

    state::AppState &m_appState;
    ProfileIslandState *m_state;
    ProfileMenu *m_menu;
    HoverCaptureView *m_hoverArea;
    ProfileAvatarButton *m_button;
    bool m_covered = false;
};

} // namespace qv::dashboard
