#include "app/WindowConfigurator.h"

#include "theme/WindowFrame.h"

#include <QWidget>

namespace qv::app {

void WindowConfigurator::configure(QWidget *window)
{
    if (!window)
        return;
    if (!window->findChild<WindowFrame *>(QString(), Qt::FindDirectChildrenOnly)) {
        // Changing window flags hides a shown window; show it again.
        const bool wasVisible = window->isVisible();
        new WindowFrame(window, kCornerRadius, true);
        if (wasVisible)
            window->show();
    }
    window->setMinimumSize(kMinWidth, kMinHeight);
    window->resize(kWidth, kHeight);
}

} // namespace qv::app
