// Quorvel: the program's entry point.
#include "app/AccessibleScrollArea.h"
#include "app/MainWindow.h"
#include "app/NetworkConnectivityMonitor.h"
#include "app/NotificationCenter.h"
#include "app/PermissionsGateView.h"
#include "app/QuitPath.h"
#include "app/QuorvelApp.h"
#include "app/SingleInstance.h"
#include "core/QtScheduler.h"
#include "core/Random.h"
#include "core/WallClock.h"
#include "dashboard/DashboardView.h"
#include "dashboard/QtFileChooser.h"
#include "editor/ProjectEditorWindow.h"
#include "editor/TypingPanelWindow.h"
#include "engine/TypingEngine.h"
#include "model/AppConfig.h"
#include "model/Storage.h"
#include "platform/linux/LinuxPlatform.h"
#include "services/BackendSettings.h"
#include "state/PreferencesFile.h"
#include "state/TerminationFlush.h"
#include "study/views/StudyRootView.h"
#include "study/views/StudyWorkspacePages.h"
#include "theme/AppStyle.h"
#include "theme/MotionSettings.h"
#include "theme/ThemeEnvironment.h"

#include <QApplication>
#include <QProcessEnvironment>

#include <cstdio>
#include <variant>

int main(int argc, char **argv)
{
    // A refused backend setting ends the launch before anything is shown.
    const auto backend = qv::BackendSettings::resolve(QProcessEnvironment::systemEnvironment());
    if (const auto *refused = std::get_if<QString>(&backend)) {
        std::fprintf(stderr, "quorvel: %s\n", qPrintable(*refused));
        return 2;
    }
    const auto &settings = std::get<qv::BackendSettings>(backend);

    // The desktop backend speaks X11; on a Wayland session we run through
    // its X server.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    if (qgetenv("QT_QPA_PLATFORM") == "xcb" && qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "quorvel: no X11 display (DISPLAY is not set). Start it inside an X11 desktop "
                             "session, or under a virtual one: xvfb-run -a quorvel\n");
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quorvel"));
    QApplication::setDesktopFileName(QStringLiteral("quorvel"));
    qv::applyAppStyle();
    qv::app::installScrollAreaAccessibility();

    // The data folder is chosen once, here: the lock guards the folder the
    // library is kept in, also when that is the fallback.
    const QString dataFolder = qv::Storage::chooseFolder(qv::AppConfig::defaultConfig());

    // One copy per data folder: a second launch brings the first one's
    // window forward and goes, before it reads a file the first one writes.
    qv::app::SingleInstance instance(dataFolder, qv::app::SingleInstance::defaultLockFolder());
    instance.setPredecessor(qv::app::SingleInstance::takePredecessorFromEnvironment());
    QString instanceNote;
    switch (instance.claim(&instanceNote)) {
    case qv::app::SingleInstance::Claim::Handed:
        std::fprintf(stderr, "quorvel: %s.\n", qPrintable(instanceNote));
        return 0;
    case qv::app::SingleInstance::Claim::Unguarded:
        std::fprintf(stderr, "quorvel: %s; no other copy answered, so this one runs without a lock.\n",
                     qPrintable(instanceNote));
        break;
    case qv::app::SingleInstance::Claim::First:
        if (!instanceNote.isEmpty())
            std::fprintf(stderr, "quorvel: %s; a second launch will not bring this window forward.\n",
                         qPrintable(instanceNote));
        break;
    }

    qv::QtScheduler scheduler;
    qv::SystemWallClock clock;
    qv::SystemRandom random;
    qv::linuxdesktop::LinuxPlatform platform(scheduler);
    qv::MotionSettings motion(&platform.desktop());
    qv::ThemeEnvironment theme(scheduler, motion);
    qv::state::PreferencesFile preferences(qv::state::PreferencesFile::defaultPath(), scheduler, clock);

    qv::app::QuorvelAppEnvironment env;
    env.scheduler = &scheduler;
    env.platform = &platform;
    env.preferences = &preferences;
    env.motion = &motion;
    env.stateEnvironment.clock = &clock;
    env.stateEnvironment.dataFolders = qv::AppConfig::only(dataFolder);
    env.stateEnvironment.backendUrl = settings.url;
    env.stateEnvironment.backendAnonKey = settings.anonKey;
    env.stateEnvironment.siteUrl = settings.siteUrl;
    env.stateEnvironment.makeTypingEngine = [&platform, &scheduler, &random] {
        return std::make_shared<qv::engine::TypingEngine>(platform, scheduler, random);
    };
    env.makeConnectivity = [] { return std::make_unique<qv::app::NetworkConnectivityMonitor>(); };
    qv::dashboard::QtFileChooser fileChooser;
    env.makeDashboard = [&scheduler, &clock, &random, &fileChooser](qv::app::QuorvelApp &app,
                                                                    QWidget *parent) -> QWidget * {
        qv::dashboard::DashboardEnvironment dashboardEnv{&scheduler, &app.platform().permissions(),
                                                         &app.platform().workspace(), app.sitePage(QString())};
        dashboardEnv.fileChooser = &fileChooser;
        qv::dashboard::DashboardFactories factories = qv::dashboard::DashboardFactories::standIns();
        factories.editor = [&clock, &fileChooser](qv::state::AppState &state, const std::optional<qv::Project> &project,
                                                  std::function<void()> onClose) -> qv::CustomWindow * {
            qv::editor::EditorServices services;
            services.clock = &clock;
            services.choosePdf = [&fileChooser](QWidget *anchor, std::function<void(std::optional<QUrl>)> chosen) {
                fileChooser.chooseFile(qv::editor::EditorServices::pdfRequest(), anchor,
                                       [chosen](std::optional<QString> path) {
                                           if (path)
                                               chosen(QUrl::fromLocalFile(*path));
                                       });
            };
            return new qv::editor::ProjectEditorWindow(state, project, std::move(onClose), services);
        };
        factories.typingPanel = [](qv::state::AppState &state, const qv::Project &project,
                                   std::function<void()> onClose) -> qv::CustomWindow * {
            return new qv::editor::TypingPanelWindow(state, project, std::move(onClose));
        };
        factories.studyWorkspace = [&scheduler, &clock, &random](qv::state::AppState &state) -> QWidget * {
            return new qv::study::StudyRootView(state, scheduler, clock,
                                                qv::study::studyWorkspacePages(state, scheduler, clock, random));
        };
        factories.permissionsGate = [&app](qv::state::AppState &, std::function<void()> onDismiss, const QString &,
                                           const QString &) -> QWidget * {
            return app.makePermissionsCard(std::move(onDismiss), nullptr);
        };
        auto *dashboard = new qv::dashboard::DashboardView(app.appState(), dashboardEnv, factories, parent);
        QObject::connect(&qv::app::NotificationCenter::defaultCenter(), &qv::app::NotificationCenter::posted, dashboard,
                         [dashboard](const QString &name) {
                             if (name == qv::app::notifications::openNewProject)
                                 dashboard->openNewProject();
                         });
        dashboard->appear();
        return dashboard;
    };

    qv::app::QuorvelApp quorvel(env);
    QObject::connect(&instance, &qv::app::SingleInstance::activationRequested, &quorvel, [&quorvel] {
        QWidget *window = quorvel.mainWindow();
        if (!window)
            return;
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        window->show();
        window->raise();
        window->activateWindow();
    });
    platform.setHelpUrl(quorvel.accessibilityGuideUrl());

    // A termination signal takes the same steps as a quit before it exits.
    qv::state::TerminationFlush termination([&quorvel] { quorvel.quitPath().prepare(); });
    termination.installSignalHandlers();

    quorvel.show();
    return application.exec();
}
