#include "app/QuorvelApp.h"

#include "app/AppCommands.h"
#include "app/AppRestarter.h"
#include "app/AppShellView.h"
#include "app/AuthGateView.h"
#include "app/AuthView.h"
#include "app/MainWindow.h"
#include "app/MotionBinding.h"
#include "app/PermissionsGateView.h"
#include "app/ProcessLauncher.h"
#include "app/QuitPath.h"
#include "platform/Platform.h"
#include "state/AppState.h"
#include "state/Preferences.h"

namespace qv::app {

QuorvelApp::QuorvelApp(QuorvelAppEnvironment environment, QObject *parent)
    : QObject(parent), m_env(std::move(environment))
{
    Q_ASSERT(m_env.scheduler && m_env.platform && m_env.preferences && m_env.motion);
    state::AppStateEnvironment stateEnv = m_env.stateEnvironment;
    stateEnv.scheduler = m_env.scheduler;
    stateEnv.preferences = m_env.preferences;
    stateEnv.workspace = &m_env.platform->workspace();
    stateEnv.permissions = &m_env.platform->permissions();
    stateEnv.accessibility = &m_env.platform->accessibility();
    stateEnv.input = &m_env.platform->input();
    stateEnv.desktop = &m_env.platform->desktop();
    m_env.stateEnvironment = stateEnv;
    m_appState = std::make_unique<state::AppState>(stateEnv);

    platform::Platform *platform = m_env.platform;
    state::Preferences *preferences = m_env.preferences;
    state::AppState *appState = m_appState.get();
    std::function<void()> stopTypingJob = m_env.stopTypingJob;
    if (!stopTypingJob)
        stopTypingJob = [appState] { appState->stopTyping(); };
    // On the way out nobody is left to show a failed write; the store has
    // logged its reason and announced it while the views still listened.
    const auto flushPreferences = [preferences] { (void)preferences->flush(); };
    m_quitPath = new QuitPath(
        QuitPath::Steps{
            stopTypingJob,
            [platform] { platform->keyboard().releaseAll(); },
            flushPreferences,
            m_env.exit,
        },
        this);
    m_launcher = m_env.launcher ? m_env.launcher : std::make_shared<DetachedProcessLauncher>();
    m_restarter = std::make_unique<AppRestarter>(
        AppRestarter::forThisProcess(*m_launcher, *m_quitPath, flushPreferences));

    m_motionBinding = new MotionBinding(*m_appState, *m_env.motion, this);
    state::AppState *app = m_appState.get();
    m_commands = new AppCommands([app] { app->checkForUpdates(true); }, this);

    const ConnectivityFactory makeConnectivity = m_env.makeConnectivity;
    const QUrl support = supportUrl();
    auto makeAuthView = [app, platform, support, makeConnectivity](QWidget *parent) {
        return new AuthView(*app, platform->workspace(), support, makeConnectivity, parent);
    };
    auto makeDashboard = [this](QWidget *parent) -> QWidget * {
        return m_env.makeDashboard ? m_env.makeDashboard(*this, parent) : nullptr;
    };
    auto makeGate = [app, makeAuthView, makeDashboard](QWidget *parent) -> QWidget * {
        return new AuthGateView(*app, makeAuthView, makeDashboard, parent);
    };
    auto *shell = new AppShellView(*m_appState, *m_env.scheduler, *m_env.motion, makeGate, m_env.splashDurationMs);
    m_window = new MainWindow(shell, *m_quitPath);
    m_commands->install(m_window);
    shell->setCommandMenu(m_commands->islandMenu());
}

QuorvelApp::~QuorvelApp()
{
    // The window and its views go before the state object they watch.
    delete m_window.data();
}

MainWindow *QuorvelApp::mainWindow() const { return m_window.data(); }

AppShellView *QuorvelApp::shell() const { return m_window ? m_window->shell() : nullptr; }

void QuorvelApp::show()
{
    if (!m_window)
        return;
    m_window->show();
    QPointer<QuorvelApp> self(this);
    m_env.scheduler->singleShot(0, [self] {
        if (self)
            self->applicationDidFinishLaunching();
    });
}

QUrl QuorvelApp::sitePage(const QString &path) const
{
    QString base = m_env.stateEnvironment.siteUrl.toString();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return QUrl(base + path, QUrl::StrictMode);
}

PermissionsGateView *QuorvelApp::makePermissionsCard(std::function<void()> onDismiss, QWidget *parent)
{
    AppRestarter *restarter = m_restarter.get();
    return new PermissionsGateView(PermissionsGateView::Services{*m_appState, m_env.platform->permissions(),
                                                                 m_env.platform->workspace(), *m_env.scheduler,
                                                                 [restarter] { return restarter->restart(); }},
                                   std::move(onDismiss), accessibilityGuideUrl().toString(),
                                   inputMonitoringGuideUrl().toString(), parent);
}

} // namespace qv::app
