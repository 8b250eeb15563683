#pragma once

#include "core/Scheduler.h"
#include "dashboard/DashboardMode.h"

#include <QObject>

namespace qv::dashboard {

// Which workspace the dashboard shows and the switch between workspaces:
// the picker that greets the user, the welcome overlay that covers the page
// while a workspace loads, and the fixed delay after which the switch takes
// effect. One switch at a time; requests during a switch are ignored.
class WorkspaceSwitch final : public QObject {
    Q_OBJECT
public:
    static constexpr double kSwitchMs = 3400; // writer, study
    static constexpr double kTestMs = 3000;   // the test workspace
    static constexpr double kOverlayFadeMs = 600;

    explicit WorkspaceSwitch(Scheduler &scheduler, QObject *parent = nullptr);
    ~WorkspaceSwitch() override;

    DashboardMode dashboardMode() const { return m_dashboardMode; }
    DashboardMode welcomeMode() const { return m_welcomeMode; }
    bool showWelcomeOverlay() const { return m_showWelcomeOverlay; }
    // Whether the overlay's arrival was asked to animate (writer, study).
    bool welcomeAnimated() const { return m_welcomeAnimated; }
    bool isTransitioning() const { return m_isTransitioning; }
    bool showModePicker() const { return m_showModePicker; }
    bool showInitialWelcome() const { return m_showInitialWelcome; }
    bool showComingSoon() const { return m_showComingSoon; }

    // The switch bar asks with isInitial false, a picker card with true.
    void handleModeSwitch(DashboardMode mode, bool isInitial);
    // A picker card was clicked.
    void pickerChose(DashboardMode mode);
    // The dashboard came on screen: the picker is offered again.
    void appeared();
    // The dimmed area around the coming-soon card was clicked.
    void dismissComingSoon();

signals:
    void changed();

private:
    void finishSwitch(DashboardMode mode, bool isInitial);

    Scheduler &m_scheduler;
    Scheduler::TimerId m_switchTimer = 0;
    DashboardMode m_dashboardMode = DashboardMode::writer;
    DashboardMode m_welcomeMode = DashboardMode::writer;
    bool m_showWelcomeOverlay = false;
    bool m_welcomeAnimated = false;
    bool m_isTransitioning = false;
    bool m_showModePicker = true;
    bool m_showInitialWelcome = false;
    bool m_showComingSoon = false;
};

} // namespace qv::dashboard
