#pragma once

#include "app/ConnectivityMonitor.h"
#include "state/AppStateEnvironment.h"

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <memory>

class QWidget;

namespace qv {
class MotionSettings;
class Scheduler;
namespace platform {
class Platform;
}
namespace state {
class AppState;
class Preferences;
} // namespace state
} // namespace qv

namespace qv::app {

class AppCommands;
class AppRestarter;
class AppShellView;
class MainWindow;
class MotionBinding;
class PermissionsGateView;
class ProcessLauncher;
class QuitPath;
class QuorvelApp;

// Everything the application is built from. Production passes the real
// desktop, clock and files; tests pass a simulated desktop, a virtual clock
// and scripted backend answers.
struct QuorvelAppEnvironment {
    Scheduler *scheduler = nullptr;
    platform::Platform *platform = nullptr;
    state::Preferences *preferences = nullptr;
    MotionSettings *motion = nullptr;
    // The state object's own settings (clock, backend, data folders, engine);
    // its scheduler, preferences and desktop parts come from above.
    state::AppStateEnvironment stateEnvironment;
    ConnectivityFactory makeConnectivity;
    // The signed-in page; empty until there is a dashboard.
    std::function<QWidget *(QuorvelApp &app, QWidget *parent)> makeDashboard;
    std::shared_ptr<ProcessLauncher> launcher; // null: QProcess
    std::function<void(int)> exit;             // null: QCoreApplication::exit
    std::function<void()> stopTypingJob;       // null: AppState::stopTyping
    double splashDurationMs = 3400;
};

// The application: the one state object, the main window with its shell,
// the menu commands, the motion switches and the orderly ways out (quit and
// restart). It lives as long as the process.
class QuorvelApp final : public QObject {
    Q_OBJECT
public:
    explicit QuorvelApp(QuorvelAppEnvironment environment, QObject *parent = nullptr);
    ~QuorvelApp() override;

    // Shows the main window; the launch sequence starts with it.
    void show();

    state::AppState &appState() { return *m_appState; }
    platform::Platform &platform() { return *m_env.platform; }
    Scheduler &scheduler() { return *m_env.scheduler; }
    QuitPath &quitPath() { return *m_quitPath; }
    AppRestarter &restarter() { return *m_restarter; }
    AppCommands &commands() { return *m_commands; }
    MainWindow *mainWindow() const;
    AppShellView *shell() const;

    // Pages of the product web site.
    QUrl sitePage(const QString &path) const;
    QUrl supportUrl() const { return sitePage(QStringLiteral("/quorvel-site/support.html")); }
    QUrl accessibilityGuideUrl() const { return sitePage(QStringLiteral("/quorvel-site/accessibility.html")); }
    QUrl inputMonitoringGuideUrl() const
    {
        return sitePage(QStringLiteral("/quorvel-site/accessibility.html#input-monitoring"));
    }

    // The permissions card with its help pages, for the dashboard's overlay.
    PermissionsGateView *makePermissionsCard(std::function<void()> onDismiss, QWidget *parent);

    // The launch has finished. The update framework it would start has no
    // counterpart here: the feed check of the state object is the update
    // mechanism, so there is nothing to start.
    void applicationDidFinishLaunching() {}

private:
    QuorvelAppEnvironment m_env;
    std::unique_ptr<state::AppState> m_appState;
    std::shared_ptr<ProcessLauncher> m_launcher;
    QuitPath *m_quitPath;
    std::unique_ptr<AppRestarter> m_restarter;
    MotionBinding *m_motionBinding;
    AppCommands *m_commands;
    QPointer<MainWindow> m_window;
};

} // namespace qv::app
