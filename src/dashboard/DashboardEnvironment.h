#pragma once

#include "model/Project.h"

#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <optional>

namespace qv {
class CustomWindow;
class Scheduler;
namespace platform {
class FileChooser;
class Permissions;
class Workspace;
} // namespace platform
namespace state {
class AppState;
}
} // namespace qv

namespace qv::dashboard {

// What the dashboard stands on besides the state object. The pointers must
// outlive the dashboard.
struct DashboardEnvironment {
    Scheduler *scheduler = nullptr;
    platform::Permissions *permissions = nullptr;
    platform::Workspace *workspace = nullptr;
    // The product web site, for the permission and settings guides.
    QUrl siteUrl;
    // Asks for the profile picture; without one "Update Profile" does nothing.
    platform::FileChooser *fileChooser = nullptr;
    // The support mailbox of the settings window.
    QString supportEmail = defaultSupportEmail();

    // The build setting.
    static QString defaultSupportEmail();
};

// The views that other parts of the program provide, made when the dashboard
// needs them. Whoever wires the application sets them; each starts as a
// small stand-in. A window gets the close action its own controls (and a
// close from the window manager) must run; the dashboard sizes, places and
// shows it. A window must not keep a reference to the dashboard: it
// outlives the dashboard after a sign-out.
struct DashboardFactories {
    // The project editor's window, for a project or a new one (nullopt).
    std::function<CustomWindow *(state::AppState &, const std::optional<Project> &, std::function<void()> onClose)>
        editor;
    // The floating typing panel's window for a project.
    std::function<CustomWindow *(state::AppState &, const Project &, std::function<void()> onClose)> typingPanel;
    // The study workspace, shown inside the dashboard's card.
    std::function<QWidget *(state::AppState &)> studyWorkspace;
    // The permissions card; onDismiss hides it.
    std::function<QWidget *(state::AppState &, std::function<void()> onDismiss, const QString &accessibilityGuideURL,
                            const QString &inputMonitoringGuideURL)>
        permissionsGate;

    static DashboardFactories standIns();
};

} // namespace qv::dashboard
