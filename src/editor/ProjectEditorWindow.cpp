#include "editor/ProjectEditorWindow.h"

#include "editor/EditorModel.h"
#include "editor/ProjectEditorView.h"

namespace qv::editor {

ProjectEditorWindow::ProjectEditorWindow(state::AppState &appState, std::optional<Project> project,
                                         std::function<void()> onClose, EditorServices services)
    : CustomWindow(nullptr, kCornerRadius, true)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Project"));
    const bool hasOpener = bool(onClose);
    m_view = new ProjectEditorView(appState, std::move(project), std::move(onClose), std::move(services), this);
    setContent(m_view);
    // Without an opener's action the window simply closes (see CustomWindow).
    if (hasOpener)
        setCloseAction([this] { m_view->model().close(); });
    setMinimumSize(kMinimumSize);
    resize(kContentSize);
}

} // namespace qv::editor
