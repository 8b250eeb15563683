#include "app/MainWindow.h"

#include "app/AppShellView.h"
#include "app/QuitPath.h"
#include "app/WindowConfigurator.h"

#include <QCloseEvent>
#include <QPointer>
#include <QVBoxLayout>

namespace qv::app {

MainWindow::MainWindow(AppShellView *shell, QuitPath &quitPath) : QWidget(nullptr), m_shell(shell), m_quitPath(quitPath)
{
    setWindowTitle(QStringLiteral("Quorvel"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(shell);
    // Frameless before the first show, so the window never flashes a title bar.
    WindowConfigurator::configure(this);
    shell->setWindowConfigurator([self = QPointer<MainWindow>(this)] {
        if (self)
            WindowConfigurator::configure(self);
    });
    connect(shell, &AppShellView::closeRequested, this, [this] { m_quitPath.quit(); });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_quitPath.isQuitting()) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    // Posted: quitting from inside the window's own close event is fragile.
    QMetaObject::invokeMethod(
        this, [this] { m_quitPath.quit(); }, Qt::QueuedConnection);
}

} // namespace qv::app
