// Menu commands, motion switches, the orderly quit and the restart.
#include "ShellTestSupport.h"

#include "app/AppCommands.h"
#include "app/AppRestarter.h"
#include "app/AppShellView.h"
#include "app/MainWindow.h"
#include "app/MotionBinding.h"
#include "app/NotificationCenter.h"
#include "app/PermissionsGateView.h"
#include "app/QuitPath.h"
#include "core/Random.h"
#include "engine/TypingEngine.h"
#include "state/PreferencesFile.h"
#include "support/RunPhasePrinter.h"
#include "theme/CustomWindow.h"
#include "theme/QVButton.h"
#include "theme/WindowControlsIsland.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

using namespace qv;
using namespace qv::app;
using namespace qv::test;
using qv::engine::RunPhase;

namespace {

class RecordingPreferences final : public state::Preferences {
public:
    SaveResult flush() override
    {
        ++flushes;
        if (onFlush)
            onFlush();
        return SaveResult::success();
    }
    int flushes = 0;
    std::function<void()> onFlush;
};

class CommandsTest : public ShellTest {};

} // namespace

TEST_F(CommandsTest, TheMenuHoldsItsTwoCommandsAndCtrlNPostsFromAnyWindow)
{
    start();
    AppCommands &c = quorvel->commands();
    ASSERT_NE(c.menu(), nullptr);
    EXPECT_EQ(c.menu()->actions(), (QList<QAction *>{c.newProjectAction(), c.checkForUpdatesAction()}));
    // Without a global menu no bar shows inside the frameless window; the
    // island's menu button opens the same commands instead.
    quorvel->show();
    EXPECT_FALSE(c.menuBar()->isVisible());
    ASSERT_NE(c.islandMenu(), nullptr);
    EXPECT_EQ(c.islandMenu()->title(), "Quorvel");
    EXPECT_EQ(c.islandMenu()->actions(), c.menu()->actions());
    EXPECT_TRUE(quorvel->mainWindow()->actions().contains(c.newProjectAction()));

    QSignalSpy posted(&NotificationCenter::defaultCenter(), &NotificationCenter::posted);
    MainWindow *w = quorvel->mainWindow();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(posted.size(), 1);
    EXPECT_EQ(posted.at(0).at(0).toString(), "qv-open-new-project");

    // During the splash nothing listens, and nothing else happens either.
    EXPECT_FALSE(quorvel->shell()->isLoaded());

    CustomWindow secondary(new QWidget);
    secondary.resize(300, 200);
    secondary.show();
    secondary.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&secondary));
    QTest::keyClick(&secondary, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(posted.size(), 2);
}

TEST_F(CommandsTest, CheckForUpdatesAlwaysAnswers)
{
    const QByteArray feed("<rss><channel><item><sparkle:shortVersionString>1.0.0</sparkle:shortVersionString>"
                          "<enclosure url=\"https://quorvel.example/quorvel.deb\"/></item></channel></rss>");
    fetcher->answers << ScriptedFetcher::Answer{feed} << ScriptedFetcher::Answer{feed};
    start();
    scheduler.advance(20); // the check at launch: no newer version, no prompt
    ASSERT_EQ(fetcher->requests.size(), 1);
    EXPECT_FALSE(appState().showNoUpdatePrompt());

    quorvel->commands().checkForUpdatesAction()->trigger();
    scheduler.advance(20);
    EXPECT_EQ(fetcher->requests.size(), 2);
    EXPECT_TRUE(appState().showNoUpdatePrompt()) << "a forced check says there is nothing newer";
}

TEST_F(CommandsTest, MotionFollowsTheAppPreferenceAndTheDesktopOnActivation)
{
    prefs->setBool(state::keys::reduceMotion, true);
    start();
    EXPECT_TRUE(motion.appReduceMotion()) << "from the stored preference";
    appState().setReduceMotionEnabled(false);
    EXPECT_FALSE(motion.reduceMotion());
    appState().setReduceMotionEnabled(true);
    EXPECT_TRUE(motion.appReduceMotion());
    appState().setReduceMotionEnabled(false);
    EXPECT_FALSE(motion.appReduceMotion());

    sim.simSettings().setReduceMotion(true);
    EXPECT_FALSE(motion.systemReduceMotion()) << "read again only on activation";
    quorvel->findChild<MotionBinding *>()->applicationBecameActive();
    EXPECT_TRUE(motion.systemReduceMotion());
}

TEST(QuitPathTest, StopsTheJobReleasesKeysFlushesThenExitsOnce)
{
    std::vector<QString> order;
    QuitPath quit(QuitPath::Steps{[&] { order.push_back("stop"); }, [&] { order.push_back("release"); },
                                  [&] { order.push_back("flush"); },
                                  [&](int code) { order.push_back(QString("exit %1").arg(code)); }});
    QSignalSpy quitting(&quit, &QuitPath::quitting);
    quit.quit();
    quit.quit();
    EXPECT_EQ(order, (std::vector<QString>{"stop", "release", "flush", "exit 0"}));
    EXPECT_TRUE(quit.isQuitting());
    EXPECT_EQ(quitting.size(), 1);

    QuitPath bare(QuitPath::Steps{{}, {}, {}, [&](int) { order.push_back("bare"); }});
    bare.quit(); // empty steps are skipped
    EXPECT_EQ(order.back(), "bare");
}

TEST_F(CommandsTest, TheIslandsCloseDotQuitsThroughTheOrderlyPath)
{
    auto recording = std::make_unique<RecordingPreferences>();
    RecordingPreferences *rec = recording.get();
    prefs = rec;
    ownPrefs = std::move(recording);
    std::vector<QString> order;
    auto env = environment();
    env.stopTypingJob = [&] { order.push_back("stop"); };
    rec->onFlush = [&] { order.push_back("flush"); };
    start(env);
    quorvel->show();
    scheduler.advance(3400 + 350);
    WindowControlsIsland *island = quorvel->shell()->island();
    ASSERT_NE(island, nullptr);
    island->closeButton()->click();
    EXPECT_EQ(exits, std::vector<int>{0});
    EXPECT_EQ(order, (std::vector<QString>{"stop", "flush"}));
    EXPECT_EQ(sim.log().callsNamed("releaseAll").size(), 1);
    EXPECT_TRUE(quorvel->quitPath().isQuitting());
}

TEST_F(CommandsTest, TheWindowManagersCloseOfTheMainWindowQuitsToo)
{
    start();
    quorvel->show();
    MainWindow *w = quorvel->mainWindow();
    EXPECT_FALSE(w->close()) << "the window stays until the quit path runs";
    EXPECT_TRUE(exits.empty());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(exits, std::vector<int>{0});
    // While quitting, a close goes through.
    EXPECT_TRUE(w->close());
}

TEST_F(CommandsTest, RestartFlushesPreferencesStartsThisProgramAndQuits)
{
    const QString path = dir.filePath("config/Quorvel/preferences.json");
    ownPrefs = std::make_unique<state::PreferencesFile>(path, scheduler, clock);
    prefs = ownPrefs.get();
    start();
    AppRestarter &r = quorvel->restarter();
    EXPECT_EQ(r.program(), QCoreApplication::applicationFilePath());
    EXPECT_EQ(r.arguments(), QCoreApplication::arguments().mid(1));

    // A change still waiting for its debounced write must be on disk when the
    // new instance starts.
    prefs->setString(state::keys::profileName, "Pat");
    bool writtenBeforeStart = false;
    launcher->onStart = [&] {
        QFile f(path);
        writtenBeforeStart = f.open(QIODevice::ReadOnly) && f.readAll().contains("Pat");
    };

    sim.simPermissions().setAccessibilityReady(true);
    sim.simPermissions().setInputSynthesisReady(true);
    int dismissed = 0;
    QWidget host;
    PermissionsGateView *card = quorvel->makePermissionsCard([&] { ++dismissed; }, &host);
    host.show();
    card->restartButton()->click();

    ASSERT_EQ(launcher->started.size(), 1u);
    EXPECT_EQ(launcher->started[0].program, QCoreApplication::applicationFilePath());
    // The new copy waits for this one's locks; nothing else inherits the word.
    EXPECT_EQ(launcher->started[0].replaces, QByteArray::number(QCoreApplication::applicationPid()));
    EXPECT_FALSE(qEnvironmentVariableIsSet(app::SingleInstance::kReplacesVariable));
    EXPECT_TRUE(writtenBeforeStart);
    EXPECT_EQ(dismissed, 1);
    EXPECT_TRUE(appState().skipInitialWelcome());
    EXPECT_EQ(exits, std::vector<int>{0});
    EXPECT_EQ(sim.log().callsNamed("releaseAll").size(), 1);
}

TEST_F(CommandsTest, AFailedRestartLeavesTheApplicationRunning)
{
    launcher->succeeds = false;
    start();
    EXPECT_FALSE(quorvel->restarter().restart());
    EXPECT_EQ(launcher->started.size(), 1u);
    EXPECT_TRUE(exits.empty());
    EXPECT_FALSE(quorvel->quitPath().isQuitting());
}

TEST_F(CommandsTest, QuittingStopsAnArmedTypingJob)
{
    SeededRandom random(7);
    auto env = environment();
    env.stateEnvironment.makeTypingEngine = [&] {
        return std::make_shared<engine::TypingEngine>(sim, scheduler, random);
    };
    start(env);
    Project project;
    project.id = QUuid::createUuid();
    project.text = "Some words to type.";
    project.wpm = 40;
    appState().prepareTyping(project);
    ASSERT_TRUE(appState().isTyping());
    ASSERT_EQ(appState().phase(), RunPhase::Awaiting);

    quorvel->quitPath().quit();
    EXPECT_FALSE(appState().isTyping());
    EXPECT_EQ(appState().phase(), RunPhase::Stopped);
    EXPECT_EQ(sim.desktop().badgeLabel(), "") << "no badge left behind";
    EXPECT_EQ(exits, std::vector<int>{0});
}

TEST_F(CommandsTest, TheIslandsMenuButtonOpensTheCommandsUnderItselfOnceTheSplashHasGone)
{
    start();
    quorvel->show();
    scheduler.advance(3400 + 350);
    QApplication::processEvents();
    WindowControlsIsland *island = quorvel->shell()->island();
    ASSERT_NE(island, nullptr);
    IslandDot *button = island->menuButton();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->accessibleName(), "Quorvel Menu");
    EXPECT_TRUE(button->isVisible());
    // On the card, after the two dots.
    const QRect card = island->cardGeometry();
    const QRect at(button->mapTo(quorvel->shell(), QPoint()), button->size());
    EXPECT_TRUE(card.contains(at));
    EXPECT_GT(at.left(), island->minimizeButton()->mapTo(quorvel->shell(), QPoint()).x());

    QMenu *menu = quorvel->commands().islandMenu();
    button->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
    EXPECT_GE(menu->geometry().top(), button->mapToGlobal(QPoint(0, button->height())).y());
    QSignalSpy checked(quorvel->commands().checkForUpdatesAction(), &QAction::triggered);
    menu->actions().at(1)->trigger();
    EXPECT_EQ(checked.size(), 1);
    menu->close();
}
