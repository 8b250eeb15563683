// The session-wide parts of the Linux backend: the clipboard, the frontmost
// application, global clicks, the keymap and permissions, inside the desktop
// session against the GTK and Qt target programs.
#include "DesktopFixture.h"
#include "KeymapProbe.h"

#include "core/VirtualScheduler.h"
#include "platform/linux/XTestKeyboard.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QLineEdit>
#include <QWidget>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace qv::e2e {
namespace {

using platform::AppInfo;
using platform::TypedData;

using DesktopSession = DesktopFixture;

TEST_F(DesktopSession, ClipboardSnapshotRestoresEveryTypeForOtherApplications)
{
    auto gtk = startTarget(TargetApp::Kind::Gtk);
    auto &pasteboard = platform->pasteboard();
    const qint64 unowned = pasteboard.changeCount();
    ASSERT_EQ(gtk->command(QStringLiteral("clip")), QStringLiteral("ok"));
    // Until the change is heard, as a run hears it: writes made before then
    // carry an older time than the new owner's and the X server refuses them.
    ASSERT_TRUE(waitUntil(
        [&] { return pasteboard.changeCount() != unowned && pasteboard.plainText() == QStringLiteral("clip text ✓"); },
        3000));

    const QList<TypedData> snapshot = pasteboard.items();
    ASSERT_EQ(snapshot.size(), 1);
    QStringList types;
    for (const auto &[type, data] : snapshot.first())
        types << type;
    for (const char *meta : {"TARGETS", "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS"})
        EXPECT_FALSE(types.contains(QString::fromLatin1(meta))) << meta;
    EXPECT_TRUE(types.contains(QStringLiteral("text/html")));
    EXPECT_TRUE(types.contains(QStringLiteral("application/x-quorvel-test")));
    // The clipboard's own data is that one item (read once for both).
    EXPECT_EQ(pasteboard.directData(), snapshot.first());
    // Read as a run reads it, awaited on a connection of its own: the same
    // types and bytes, and nothing left unread.
    const std::optional<platform::ClipboardContents> awaited = runReal(pasteboard.readContents());
    ASSERT_TRUE(awaited);
    EXPECT_TRUE(awaited->unread.isEmpty()) << awaited->unread.join(QStringLiteral("; ")).toStdString();
    EXPECT_EQ(awaited->items, snapshot);
    EXPECT_EQ(awaited->direct, snapshot.first());
    EXPECT_EQ(runReal(pasteboard.readPlainText()), std::optional<std::optional<QString>>(QStringLiteral("clip text ✓")));

    // Something else takes the clipboard, then the snapshot goes back.
    const qint64 before = pasteboard.changeCount();
    pasteboard.writeItems({{{QStringLiteral("text/plain"), QByteArray("transient")}}});
    EXPECT_EQ(pasteboard.plainText(), QStringLiteral("transient"));
    pasteboard.writeItems(snapshot);
    EXPECT_GT(pasteboard.changeCount(), before);
    EXPECT_EQ(pasteboard.plainText(), QStringLiteral("clip text ✓"));

    // Another application sees every type with its bytes.
    expectTargetsClipboard(*gtk);

    // An empty snapshot leaves the clipboard empty.
    pasteboard.writeItems({});
    EXPECT_FALSE(pasteboard.plainText().has_value());
    EXPECT_EQ(clipOf(*gtk, QStringLiteral("UTF8_STRING")), QByteArray());
}

// An owner that stops answering keeps the read waiting, not the event loop:
// the read ends saying nothing could be saved, and the owner is not asked
// again for a while.
TEST_F(DesktopSession, AHungClipboardOwnerIsReportedWithoutBlockingTheLoop)
{
    auto gtk = startTarget(TargetApp::Kind::Gtk);
    auto &pasteboard = platform->pasteboard();
    const qint64 unowned = pasteboard.changeCount();
    ASSERT_EQ(gtk->command(QStringLiteral("clip")), QStringLiteral("ok"));
    ASSERT_TRUE(waitUntil([&] { return pasteboard.changeCount() != unowned; }, 3000));
    ASSERT_EQ(gtk->command(QStringLiteral("hang 8")), QStringLiteral("ok"));

    int turns = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++turns; });
    ticker.start(20);
    const std::optional<platform::ClipboardContents> read = runReal(pasteboard.readContents());
    ticker.stop();
    ASSERT_TRUE(read);
    EXPECT_FALSE(read->complete());
    EXPECT_TRUE(read->items.isEmpty());
    EXPECT_TRUE(read->unread.join(QString()).contains(QStringLiteral("did not list its types")))
        << read->unread.join(QStringLiteral("; ")).toStdString();
    // The loop kept turning the whole time the owner was waited for.
    EXPECT_GT(turns, 10);

    const std::optional<platform::ClipboardContents> again = runReal(pasteboard.readContents());
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->unread.join(QString()).contains(QStringLiteral("did not answer lately")));
    const std::optional<std::optional<QString>> text = runReal(pasteboard.readPlainText());
    ASSERT_TRUE(text);
    EXPECT_FALSE(*text);
}

TEST_F(DesktopSession, FrontmostApplicationFollowsActivation)
{
    auto gtk = startTarget(TargetApp::Kind::Gtk);
    auto qt = startTarget(TargetApp::Kind::Qt);
    auto &workspace = platform->workspace();
    QList<AppInfo> activated;
    QObject::connect(&workspace, &platform::Workspace::applicationActivated,
                     [&](const AppInfo &app) { activated.append(app); });

    ASSERT_TRUE(gtk->activate());
    ASSERT_TRUE(
        waitUntil([&] { return workspace.frontmostApplication().value_or(AppInfo{}).pid == gtk->pid(); }, 3000));
    const AppInfo front = *workspace.frontmostApplication();
    EXPECT_EQ(front.name, QStringLiteral("quorvel_gtk_target"));
    EXPECT_TRUE(front.bundleId.endsWith(QStringLiteral("quorvel_gtk_target"))) << front.bundleId.toStdString();

    ASSERT_TRUE(qt->activate());
    ASSERT_TRUE(waitUntil([&] { return !activated.isEmpty() && activated.last().pid == qt->pid(); }, 3000));
    EXPECT_EQ(workspace.frontmostApplication().value_or(AppInfo{}).pid, qt->pid());
    // Never "nothing" in between: the switch is debounced.
    for (const AppInfo &app : activated)
        EXPECT_GT(app.pid, 0);

    ASSERT_TRUE(gtk->activate());
    ASSERT_TRUE(waitUntil([&] { return activated.last().pid == gtk->pid(); }, 3000));
    EXPECT_EQ(workspace.ownPid(), QCoreApplication::applicationPid());
}

TEST_F(DesktopSession, GlobalClicksAreSeenExceptOnOurOwnWindows)
{
    auto gtk = startTarget(TargetApp::Kind::Gtk);
    ASSERT_TRUE(gtk->activate());
    const QRect entry = gtk->geometry(QStringLiteral("entry"));
    QList<QPoint> clicks;
    auto subscription = platform->input().addGlobalLeftMouseUp([&](QPoint p) { clicks.append(p); });
    ASSERT_TRUE(subscription);

    auto click = [&](QPoint p) {
        runTool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y()),
                                            QStringLiteral("click"), QStringLiteral("1")});
    };
    click(entry.center());
    ASSERT_TRUE(waitUntil([&] { return !clicks.isEmpty(); }, 3000)) << "no global click seen";
    EXPECT_EQ(clicks.first(), entry.center());
    EXPECT_EQ(platform->workspace().pointerLocation(), entry.center());

    // A click on one of our own windows is the local monitor's business.
    QWidget own;
    own.setGeometry(700, 500, 200, 150);
    own.show();
    ASSERT_TRUE(waitUntil(
        [&] { return platform->x11Workspace().pidOfWindowAt(QPoint(800, 575)) == QCoreApplication::applicationPid(); },
        3000));
    QList<QPoint> local;
    auto localSubscription = platform->input().addLocalLeftMouseUp([&](QPoint p) { local.append(p); });
    clicks.clear();
    click(QPoint(800, 575));
    ASSERT_TRUE(waitUntil([&] { return !local.isEmpty(); }, 3000)) << "no local click seen";
    pump(200);
    EXPECT_TRUE(clicks.isEmpty());
    EXPECT_EQ(local.first(), QPoint(800, 575));

    // Unsubscribed: nothing more.
    subscription.reset();
    click(entry.center());
    pump(200);
    EXPECT_TRUE(clicks.isEmpty());
}

TEST_F(DesktopSession, NeverCallsIntoOurOwnProcess)
{
    // Our own window with a text field, in front: a synchronous call into
    // ourselves would block until the time-out, so none is made.
    QWidget own;
    auto *field = new QLineEdit(&own);
    field->setText(QStringLiteral("ours"));
    own.setGeometry(300, 300, 300, 80);
    own.show();
    own.activateWindow();
    field->setFocus();
    const qint64 self = QCoreApplication::applicationPid();
    ASSERT_TRUE(waitUntil([&] { return platform->x11Workspace().frontmostPid() == self; }, 5000));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(ax().systemFocusedElement());
    EXPECT_FALSE(ax().elementAtPoint(QPoint(450, 340)));
    EXPECT_FALSE(ax().applicationElement(self));
    EXPECT_FALSE(ax().observeFocus(self, [] {}));
    EXPECT_LT(clock.elapsed(), 100);
    EXPECT_EQ(platform->workspace().frontmostApplication().value_or(AppInfo{}).pid, self);
}

TEST_F(DesktopSession, KeymapBindingsAreRestoredAfterTheRun)
{
    auto &keyboard = platform->xtestKeyboard();
    ASSERT_TRUE(keyboard.isAvailable());
    ASSERT_GE(keyboard.spareKeycodeCount(), 8);
    auto boundCount = [] { return unicodeKeysymCount(); };
    auto gtk = startTarget(TargetApp::Kind::Gtk);
    ASSERT_TRUE(gtk->activate());
    ASSERT_EQ(gtk->command(QStringLiteral("focus entry")), QStringLiteral("ok"));
    const int before = boundCount();
    const QString text = QStringLiteral("—“”‘’€ŋ✓");
    ASSERT_TRUE(runReal(keyboard.prepare(text)));
    EXPECT_EQ(boundCount(), before + 8);
    ASSERT_TRUE(runReal(keyboard.typeGrapheme(QStringLiteral("✓"))));
    keyboard.finish();
    EXPECT_GT(boundCount(), before) << "bindings must outlive the last key by a moment";
    pump(400);
    EXPECT_EQ(boundCount(), before);
    EXPECT_EQ(gtk->dump(QStringLiteral("entry")), QStringLiteral("✓"));
}

TEST_F(DesktopSession, KeymapIsRestoredWhenTheProcessDiesOfASignal)
{
    const int before = unicodeKeysymCount();
    for (int sig : {SIGTERM, SIGSEGV}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The child binds characters and dies without finishing.
            VirtualScheduler clock;
            linuxdesktop::XTestKeyboard keyboard(clock, [] { return linuxdesktop::Toolkit::Unknown; });
            auto task = keyboard.prepare(QStringLiteral("—“”€✓"));
            if (unicodeKeysymCount() <= before)
                _exit(3);
            raise(sig);
            _exit(4);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "child exit code " << WEXITSTATUS(status);
        EXPECT_EQ(WTERMSIG(status), sig);
        EXPECT_EQ(unicodeKeysymCount(), before) << "signal " << sig;
    }
}

TEST_F(DesktopSession, PermissionsAndDesktopSettingsInAnX11Session)
{
    EXPECT_TRUE(platform->permissions().accessibilityReady());
    EXPECT_TRUE(platform->permissions().inputSynthesisReady());
    // No desktop setting here: motion stays on.
    EXPECT_FALSE(platform->desktop().reduceMotion());
    platform->desktop().setBadgeLabel(QStringLiteral("Typing"));
    EXPECT_EQ(platform->desktop().badgeLabel(), QStringLiteral("Typing"));
    platform->desktop().setBadgeLabel(QString());
    EXPECT_TRUE(platform->desktop().badgeLabel().isEmpty());
}

} // namespace
} // namespace qv::e2e
