#include "dashboard/WorkspaceSwitch.h"

#include <QPointer>

namespace qv::dashboard {

WorkspaceSwitch::WorkspaceSwitch(Scheduler &scheduler, QObject *parent) : QObject(parent), m_scheduler(scheduler) {}

WorkspaceSwitch::~WorkspaceSwitch()
{
    if (m_switchTimer)
        m_scheduler.cancel(m_switchTimer);
}

void WorkspaceSwitch::handleModeSwitch(DashboardMode mode, bool isInitial)
{
    if (m_isTransitioning)
        return;
    if (mode == m_dashboardMode && !isInitial)
        return;
    m_isTransitioning = true;
    m_welcomeMode = mode;
    m_showWelcomeOverlay = true;
    m_welcomeAnimated = mode != DashboardMode::test;
    if (m_switchTimer)
        m_scheduler.cancel(m_switchTimer);
    const double delay = mode == DashboardMode::test ? kTestMs : kSwitchMs;
    QPointer<WorkspaceSwitch> self(this);
    m_switchTimer = m_scheduler.singleShot(delay, [self, mode, isInitial] {
        if (self)
            self->finishSwitch(mode, isInitial);
    });
    emit changed();
}

void WorkspaceSwitch::finishSwitch(DashboardMode mode, bool isInitial)
{
    m_switchTimer = 0;
    m_showWelcomeOverlay = false;
    m_isTransitioning = false;
    if (mode == DashboardMode::test) {
        // The test workspace has no content yet: its card shows over
        // whatever was there, and the workspace stays as it was.
        m_showComingSoon = true;
        if (isInitial)
            m_showModePicker = true;
    } else {
        m_dashboardMode = mode;
        if (isInitial)
            m_showModePicker = false;
    }
    emit changed();
}

void WorkspaceSwitch::pickerChose(DashboardMode mode)
{
    if (m_showInitialWelcome)
        m_showInitialWelcome = false;
    handleModeSwitch(mode, true);
    emit changed();
}

void WorkspaceSwitch::appeared()
{
    m_showInitialWelcome = false;
    m_showModePicker = true;
    emit changed();
}

void WorkspaceSwitch::dismissComingSoon()
{
    if (!m_showComingSoon)
        return;
    m_showComingSoon = false;
    emit changed();
}

} // namespace qv::dashboard
