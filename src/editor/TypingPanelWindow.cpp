#include "editor/TypingPanelWindow.h"

#include "editor/TypingPanelModel.h"
#include "editor/TypingPanelView.h"

namespace qv::editor {

TypingPanelWindow::TypingPanelWindow(state::AppState &appState, Project project, std::function<void()> onClose)
    : CustomWindow(nullptr, kCornerRadius, true)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("Typing"));
    m_view = new TypingPanelView(appState, std::move(project), std::move(onClose), this);
    setContent(m_view);
    setCloseAction([this] {
        // Once the panel has ended itself, a further close only closes.
        if (m_view->model().isClosed())
            closeFromOpener();
        else
            m_view->model().close();
    });
    setMinimumSize(kMinimumSize);
    resize(kContentSize);
}

} // namespace qv::editor
