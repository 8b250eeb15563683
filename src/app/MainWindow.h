#pragma once

#include <QWidget>

namespace qv::app {

class AppShellView;
class QuitPath;

// The main window: frameless, hosting the shell. A close from the window
// manager leaves the application through the orderly quit path instead of
// just hiding the window.
class MainWindow final : public QWidget {
    Q_OBJECT
public:
    MainWindow(AppShellView *shell, QuitPath &quitPath);

    AppShellView *shell() const { return m_shell; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    AppShellView *m_shell;
    QuitPath &m_quitPath;
};

} // namespace qv::app
