// Quorvel: the program's entry point.
#include "app/NetworkConnectivityMonitor.h"
#include "app/QuitPath.h"
#include "app/QuorvelApp.h"
#include "core/QtScheduler.h"
#include "core/Random.h"
#include "core/WallClock.h"
#include "engine/TypingEngine.h"
#include "platform/linux/LinuxPlatform.h"
#include "state/PreferencesFile.h"
#include "state/TerminationFlush.h"
#include "theme/MotionSettings.h"
#include "theme/ThemeEnvironment.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
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
    env.stateEnvironment.makeTypingEngine = [&platform, &scheduler, &random] {
        return std::make_shared<qv::engine::TypingEngine>(platform, scheduler, random);
    };
    env.makeConnectivity = [] { return std::make_unique<qv::app::NetworkConnectivityMonitor>(); };

    qv::app::QuorvelApp quorvel(env);
    platform.setHelpUrl(quorvel.accessibilityGuideUrl());

    // A termination signal takes the same steps as a quit before it exits.
    qv::state::TerminationFlush termination([&quorvel] { quorvel.quitPath().prepare(); });
    termination.installSignalHandlers();

    quorvel.show();
    return application.exec();
}
