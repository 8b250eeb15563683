// The launch sequence on the virtual clock: splash, then the sign-in gate
// or the signed-in page, the window-controls island and the session checks.
#include "ShellTestSupport.h"

#include "app/AppShellView.h"
#include "app/AuthGateView.h"
#include "app/AuthView.h"
#include "app/MainWindow.h"
#include "app/SplashView.h"
#include "app/WindowConfigurator.h"
#include "state/Library.h"
#include "state/PreferencesFile.h"
#include "support/OddFiles.h"
#include "theme/QVLineEdit.h"
#include "theme/Theme.h"
#include "theme/WindowControlsIsland.h"
#include "theme/WindowFrame.h"

#include <QDir>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QScopeGuard>

using namespace qv;
using namespace qv::app;
using namespace qv::test;

namespace {

class LaunchTest : public ShellTest {
protected:
    AppShellView &shell() { return *quorvel->shell(); }
    AuthGateView *gate() { return qobject_cast<AuthGateView *>(shell().gate()); }
    void launch()
    {
        start();
        quorvel->show();
    }
};

} // namespace

TEST_F(LaunchTest, TheSplashStaysForItsWholeTimeThenTheSignInViewFadesIn)
{
    launch();
    ASSERT_TRUE(shell().hasAppeared());
    ASSERT_NE(shell().splash(), nullptr);
    EXPECT_TRUE(shell().splash()->shimmer());

    scheduler.advance(3399);
    EXPECT_FALSE(shell().isLoaded());
    EXPECT_EQ(shell().gate(), nullptr);
    EXPECT_EQ(shell().island(), nullptr) << "no window controls during the splash";

    scheduler.advance(1);
    ASSERT_TRUE(shell().isLoaded());
    ASSERT_NE(gate(), nullptr);
    ASSERT_NE(gate()->authView(), nullptr);
    EXPECT_FALSE(gate()->showsDashboard());

    // A 0.35-second cross-fade: splash out, gate and island in.
    scheduler.advance(175);
    EXPECT_NEAR(shell().switchProgress(), 0.5, 0.02);
    auto *gateEffect = qobject_cast<QGraphicsOpacityEffect *>(shell().gate()->graphicsEffect());
    ASSERT_NE(gateEffect, nullptr);
    EXPECT_NEAR(gateEffect->opacity(), 0.5, 0.05);
    ASSERT_NE(shell().splash(), nullptr);

    scheduler.advance(175);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(shell().splash(), nullptr);
    EXPECT_EQ(shell().gate()->graphicsEffect(), nullptr);

    WindowControlsIsland *island = shell().island();
    ASSERT_NE(island, nullptr);
    EXPECT_TRUE(island->isVisible());
    EXPECT_TRUE(island->isCardShown());
    EXPECT_EQ(island->profileButton(), nullptr);
}

TEST_F(LaunchTest, EitherReduceMotionSwitchReplacesTheSplashAtOnceButTheSplashStillAnimates)
{
    for (const bool desktop : {true, false}) {
        SCOPED_TRACE(desktop ? "the desktop's switch" : "the application's own preference");
        quorvel.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        sim.simSettings().setReduceMotion(desktop);
        launch();
        if (!desktop)
            appState().setReduceMotionEnabled(true);
        ASSERT_EQ(motion.systemReduceMotion(), desktop);
        ASSERT_TRUE(motion.reduceMotion());
        // The splash ignores both switches.
        const double before = shell().splash()->runnerOffset();
        scheduler.advance(1500);
        EXPECT_NE(shell().splash()->runnerOffset(), before);
        EXPECT_NE(shell().splash()->titleDirection(), 0.0);

        scheduler.advance(1900);
        EXPECT_TRUE(shell().isLoaded());
        EXPECT_EQ(shell().splash(), nullptr);
        EXPECT_EQ(shell().gate()->graphicsEffect(), nullptr);
        EXPECT_DOUBLE_EQ(shell().switchProgress(), 1.0);
    }
}

TEST_F(LaunchTest, AStoredSessionShowsTheSignedInPageDirectlyUntilASessionCheckFails)
{
    storeSession();
    backendAcceptsEverything(100);
    launch();
    scheduler.advance(1000);
    EXPECT_TRUE(appState().isAuthenticated());
    EXPECT_FALSE(shell().isLoaded()) << "the splash stays however fast the session restores";

    scheduler.advance(2400);
    ASSERT_NE(gate(), nullptr);
    EXPECT_TRUE(gate()->showsDashboard());
    EXPECT_EQ(gate()->authView(), nullptr) << "never the sign-in view in between";
    EXPECT_EQ(connectivity.started, 0);
    // Until the dashboard exists the page is empty: background and island only.
    EXPECT_TRUE(gate()->page()->children().isEmpty());
    EXPECT_NE(shell().island(), nullptr);

    // A failed session check signs out and the sign-in view returns.
    transport->setHandler([](const HttpRequest &) {
        return ScriptedTransport::Answer(HttpResponse{400, {}, R"({"error":"invalid_grant"})"});
    });
    shell().applicationBecameActive();
    scheduler.advance(10);
    EXPECT_FALSE(appState().isAuthenticated());
    ASSERT_NE(gate()->authView(), nullptr);
    EXPECT_TRUE(gate()->authView()->emailField()->text().isEmpty());
    EXPECT_EQ(connectivity.running(), 1) << "a new monitor for the new sign-in view";
}

// The account server down at launch: the sign-in view says so, the stored
// session stays, and the next activation signs in once the server is back.
TEST_F(LaunchTest, AnUnreachableServerKeepsTheStoredSessionAndTheNextActivationSignsIn)
{
    storeSession();
    transport->setHandler([](const HttpRequest &) {
        return ScriptedTransport::Answer(TransportFailure{TransportFailure::Reason::Network, "Connection refused"});
    });
    launch();
    scheduler.advance(3400 + 1000);
    ASSERT_NE(gate()->authView(), nullptr);
    EXPECT_EQ(gate()->authView()->messageLabel()->text(),
              "Couldn't reach the account server. Check your connection and try again.");
    EXPECT_TRUE(prefs->contains(state::keys::session));

    backendAcceptsEverything();
    shell().applicationBecameActive();
    scheduler.advance(10);
    EXPECT_TRUE(appState().isAuthenticated());
    EXPECT_TRUE(gate()->showsDashboard());
}

TEST_F(LaunchTest, ASessionThatRestoresAfterTheSplashReplacesTheSignInView)
{
    storeSession();
    backendAcceptsEverything(5000);
    launch();
    scheduler.advance(3400);
    ASSERT_NE(gate()->authView(), nullptr);
    scheduler.advance(10'000);
    EXPECT_TRUE(appState().isAuthenticated());
    EXPECT_TRUE(gate()->showsDashboard());
    EXPECT_EQ(connectivity.running(), 0) << "leaving the sign-in view ends its monitor";
}

TEST_F(LaunchTest, TheSessionIsCheckedAtTheFirstAppearanceAndOnEveryActivation)
{
    storeSession();
    backendAcceptsEverything();
    start();
    EXPECT_EQ(requestsTo(kToken), 0);
    shell().applicationBecameActive();
    EXPECT_EQ(requestsTo(kToken), 0) << "no check before the window appeared";

    // The first appearance checks; a first activation at the same moment
    // checks too, and shares the appearance's refresh (one request).
    int activations = 0;
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, quorvel.get(),
                     [&](Qt::ApplicationState state) { activations += state == Qt::ApplicationActive ? 1 : 0; });
    quorvel->show();
    scheduler.advance(10);
    EXPECT_EQ(requestsTo(kToken), 1) << activations << " activations";
    const int afterAppearance = requestsTo(kToken);
    shell().applicationBecameActive();
    scheduler.advance(10);
    EXPECT_EQ(requestsTo(kToken), afterAppearance + 1);

    // Hiding and showing the window again is not a new appearance.
    activations = 0;
    quorvel->mainWindow()->hide();
    quorvel->mainWindow()->show();
    scheduler.advance(10);
    EXPECT_EQ(requestsTo(kToken), afterAppearance + 1 + (activations > 0 ? 1 : 0));
}

TEST_F(LaunchTest, TheMainWindowIsFramedOnceAndKeepsItsSizes)
{
    launch();
    MainWindow *w = quorvel->mainWindow();
    EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
    const QSize initial = w->size();

    // The first appearance styles it once more, which sets the size back.
    w->resize(initial + QSize(120, 140));
    scheduler.advance(0);
    EXPECT_EQ(w->size(), initial);
    EXPECT_EQ(w->findChildren<WindowFrame *>().size(), 1);

    w->resize(500, 300);
    EXPECT_EQ(w->size(), w->minimumSize());
    WindowConfigurator::configure(nullptr); // nothing to style, nothing happens
}

// A picture to look at, not a check.
TEST_F(LaunchTest, ScreenshotOfTheSplash)
{
    launch();
    scheduler.advance(1200);
    grabImage(*quorvel->mainWindow()).save(screenshotDir() + "/shell-splash.png");
}

TEST_F(LaunchTest, PipesAndEndlessFilesInPlaceOfTheFilesNeverHoldTheLaunchAndAreNamed)
{
    // The preferences and the projects are named pipes, the study sets a
    // link to a device that never ends.
    const QString preferencesPath = dir.filePath("config/Quorvel/preferences.json");
    const QString data = AppConfig::inFolders(dir.filePath("Desktop"), dir.filePath("share")).dataFolderPath;
    const QString projects = QDir(data).filePath("projects.json");
    const QString sets = QDir(data).filePath("study_projects.json");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(preferencesPath).absolutePath()));
    ASSERT_TRUE(QDir().mkpath(data));
    ASSERT_TRUE(makeFifo(preferencesPath));
    ASSERT_TRUE(makeFifo(projects));
    ASSERT_TRUE(makeLink(sets, QStringLiteral("/dev/zero")));
    // Whatever still waits on a pipe after this long is set free, and fails.
    PipeWatchdog watchdog({preferencesPath, projects}, std::chrono::seconds(30));

    // The launch as the program makes it: the preferences first, then the
    // application, signed in from the start.
    state::PreferencesFile preferences(preferencesPath, scheduler, clock);
    EXPECT_TRUE(preferences.movedAsidePath().startsWith(preferencesPath + ".unreadable-"));
    prefs = &preferences;
    const auto release = qScopeGuard([this] { quorvel.reset(); });
    storeSession();
    backendAcceptsEverything();
    launch();
    scheduler.advance(3400);
    ASSERT_NE(gate(), nullptr);
    EXPECT_TRUE(gate()->showsDashboard());
    EXPECT_FALSE(watchdog.stop()) << "the launch waited on a named pipe";

    // Both lists start empty and each file is named in the notice of
    // unreadable files, with what is wrong with it.
    state::Library &library = appState().library();
    EXPECT_TRUE(appState().projects().isEmpty());
    EXPECT_TRUE(appState().studyProjects().isEmpty());
    EXPECT_EQ(state::Library::keptFileText(library.keptProjectsFile(), "projects file"),
              QStringLiteral("Your projects file could not be read (it is a named pipe, not a regular file), so the "
                             "list starts empty. Nothing was deleted: the file is kept as %1.")
                  .arg(projects));
    EXPECT_EQ(state::Library::keptFileText(library.keptStudyProjectsFile(), "study sets file"),
              QStringLiteral("Your study sets file could not be read (it is a device, not a regular file), so the "
                             "list starts empty. Nothing was deleted: the file is kept as %1.")
                  .arg(sets));
}
