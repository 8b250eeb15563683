#pragma once

#include "app/CardFrame.h"
#include "core/Scheduler.h"

#include <functional>

namespace qv {
class QVButton;
namespace platform {
class Permissions;
class Workspace;
} // namespace platform
namespace state {
class AppState;
}
} // namespace qv

namespace qv::app {

class PermissionRow;

// The card that asks for the two permissions typing needs (reading other
// applications' text boxes, and synthetic key input), links to their help
// pages, and offers to restart the application or to skip. It reads the
// permissions again when it appears, after each row's action and every
// 1.2 seconds while it is on screen.
class PermissionsGateView final : public CardFrame {
    Q_OBJECT
public:
    static constexpr double kRefreshMs = 1200;

    struct Services {
        state::AppState &app;
        platform::Permissions &permissions;
        platform::Workspace &workspace;
        Scheduler &scheduler;
        // Starts a new instance and quits this one; false when it did not start.
        std::function<bool()> restartApp;
    };

    PermissionsGateView(Services services, std::function<void()> onDismiss, QString accessibilityGuideURL,
                        QString inputMonitoringGuideURL, QWidget *parent = nullptr);
    ~PermissionsGateView() override;

    bool allReady() const;
    // Reads both permissions into the state object.
    void refreshFlags();

    PermissionRow *accessibilityRow() const { return m_accessibilityRow; }
    PermissionRow *inputRow() const { return m_inputRow; }
    QVButton *restartButton() const { return m_restart; }
    QVButton *skipButton() const { return m_skip; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void appear();
    void armRefresh();
    void syncRows();
    void restart();
    void skip();

    Services m_services;
    std::function<void()> m_onDismiss;
    bool m_appeared = false;
    Scheduler::TimerId m_refreshTimer = 0;
    PermissionRow *m_accessibilityRow;
    PermissionRow *m_inputRow;
    QVButton *m_restart;
    QVButton *m_skip;
};

} // namespace qv::app
