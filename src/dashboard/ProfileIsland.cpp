#include "dashboard/ProfileIsland.h"

#include "dashboard/HoverCaptureView.h"
#include "dashboard/OverlayHost.h"
#include "dashboard/ProfileAvatarButton.h"
#include "dashboard/ProfileIslandState.h"
#include "dashboard/ProfileMenu.h"
#include "state/AppState.h"

namespace qv::dashboard {

ProfileIsland::ProfileIsland(state::AppState &appState, OverlayHost &host, QObject *parent)
    : QObject(parent), m_appState(appState), m_state(new ProfileIslandState(this)), m_menu(new ProfileMenu),
      m_hoverArea(new HoverCaptureView), m_button(new ProfileAvatarButton(appState))
{
    host.addLayer(m_menu, kMenuZ, OverlayHost::Placement::TopTrailing, QMargins(0, 42, 20, 0));
    connect(m_menu, &ProfileMenu::settingsRequested, this, &ProfileIsland::settingsRequested);
    connect(m_menu, &ProfileMenu::checkForUpdatesRequested, this, &ProfileIsland::checkForUpdatesRequested);
    connect(m_menu, &ProfileMenu::signOutRequested, this, &ProfileIsland::signOutRequested);

    // The area lies in the corner with the button in its own corner.
    const QMargins corner(0, 12, 8, 0);
    m_hoverArea->setFixedSize(320, 160);
    host.addLayer(m_hoverArea, kIslandZ, OverlayHost::Placement::TopTrailing, corner);
    host.addLayer(m_button, kIslandZ, OverlayHost::Placement::TopTrailing, corner);

    // The area and the button each report their own state.
    m_hoverArea->setOnHover([state = m_state](bool inside) { state->hoverArea(inside); });
    connect(m_button, &ProfileAvatarButton::hoverChanged, m_state, &ProfileIslandState::hoverButton);
    connect(m_button, &QAbstractButton::clicked, m_state, &ProfileIslandState::toggleMenu);
    connect(m_state, &ProfileIslandState::showProfileButtonChanged, this, &ProfileIsland::syncButton);
    connect(m_state, &ProfileIslandState::showProfileMenuChanged, this, [this] {
        // The page's own motion rule: the app's reduce-motion switch removes it.
        m_menu->setShown(m_state->showProfileMenu(), !m_appState.reduceMotionEnabled());
    });
}

ProfileIsland::~ProfileIsland()
{
    m_hoverArea->setOnHover(nullptr);
    m_button->disconnect(m_state);
    m_state->disconnect();
}

void ProfileIsland::setCovered(bool covered)
{
    m_covered = covered;
    syncButton();
}

void ProfileIsland::closeMenu() { m_state->setShowProfileMenu(false); }

void ProfileIsland::syncButton() { m_button->setRevealed(!m_covered && m_state->showProfileButton()); }

} // namespace qv::dashboard
