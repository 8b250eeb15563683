#pragma once

#include "model/Project.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

namespace qv {
class CustomWindow;
}
namespace qv::state {
class AppState;
}

namespace qv::dashboard {

// The smallest views that stand in for the ones other parts of the program
// provide (the editor, the typing panel, the study workspace, the
// permissions card) until those are plugged into the dashboard.
namespace standins {

CustomWindow *editor(state::AppState &appState, const std::optional<Project> &project, std::function<void()> onClose);
CustomWindow *typingPanel(state::AppState &appState, const Project &project, std::function<void()> onClose);
QWidget *studyWorkspace(state::AppState &appState);
QWidget *permissionsGate(state::AppState &appState, std::function<void()> onDismiss,
                         const QString &accessibilityGuideURL, const QString &inputMonitoringGuideURL);

} // namespace standins

} // namespace qv::dashboard
