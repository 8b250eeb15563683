#pragma once

#include "model/Project.h"
#include "theme/CustomWindow.h"

#include <functional>

namespace qv::state {
class AppState;
}

namespace qv::editor {

class TypingPanelView;

// The typing panel's own floating window: 640 x 600 (at least 520 x 520),
// corners of radius 18, above other windows. It deletes itself when closed.
// A close from the window manager goes the way of the panel's own close
// button (stopping a running job first). The opener places and shows it.
class TypingPanelWindow : public CustomWindow {
    Q_OBJECT
public:
    static constexpr QSize kContentSize{640, 600};
    static constexpr QSize kMinimumSize{520, 520};
    static constexpr double kCornerRadius = 18;

    TypingPanelWindow(state::AppState &appState, Project project, std::function<void()> onClose);

    TypingPanelView *view() const { return m_view; }

private:
    TypingPanelView *m_view;
};

} // namespace qv::editor
