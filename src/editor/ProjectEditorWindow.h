#pragma once

#include "editor/EditorServices.h"
#include "model/Project.h"
#include "theme/CustomWindow.h"

#include <functional>
#include <optional>

namespace qv::state {
class AppState;
}

namespace qv::editor {

class ProjectEditorView;

// The editor's own top-level window: 820 x 860 (at least 720 x 760), corners
// of radius 22, minimisable and resizable. It deletes itself when closed. A
// close from the window manager runs `onClose`, as the editor's own close
// button does. The opener centres and shows it.
class ProjectEditorWindow : public CustomWindow {
    Q_OBJECT
public:
    static constexpr QSize kContentSize{820, 860};
    static constexpr QSize kMinimumSize{720, 760};
    static constexpr double kCornerRadius = 22;

    ProjectEditorWindow(state::AppState &appState, std::optional<Project> project, std::function<void()> onClose,
                        EditorServices services = {});

    ProjectEditorView *view() const { return m_view; }

private:
    ProjectEditorView *m_view;
};

} // namespace qv::editor
