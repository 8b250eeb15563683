#include "dashboard/ProfileIslandState.h"

namespace qv::dashboard {

void ProfileIslandState::hoverArea(bool inside)
{
    m_inArea = inside;
    sync();
}

void ProfileIslandState::hoverButton(bool over)
{
    m_overButton = over;
    sync();
}

void ProfileIslandState::sync() { setShowButton(isProfileHovering() || m_showMenu); }

void ProfileIslandState::setShowProfileMenu(bool show)
{
    if (show == m_showMenu)
        return;
    m_showMenu = show;
    sync();
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
