#include "dashboard/ProfileIslandState.h"

namespace qv::dashboard {

void ProfileIslandState::hover(bool hovering)
{
    m_hovering = hovering;
    setShowButton(hovering || m_showMenu);
}

void ProfileIslandState::setShowProfileMenu(bool show)
{
    if (show == m_showMenu)
        return;
    m_showMenu = show;
    setShowButton(show || m_hovering);
    emit showProfileMenuChanged();
}

void ProfileIslandState::setShowButton(bool show)
{
    if (show == m_showButton)
        return;
    m_showButton = show;
    emit showProfileButtonChanged();
}

} // namespace qv::dashboard
