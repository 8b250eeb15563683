// The session-wide parts of the Linux backend: the clipboard, the frontmost
// application, global clicks, the keymap and permissions, inside the desktop
// session against the GTK and Qt target programs.
#include "KeymapProbe.h"
#include "TargetApp.h"

#include "core/QtScheduler.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/X11Workspace.h"
#include "platform/linux/XTestKeyboard.h"

#include <QProcess>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace qv::e2e {
namespace {

using linuxdesktop::LinuxPlatform;
using platform::AppInfo;
using platform::TypedData;

class DesktopSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs the desktop session: scripts/desktop-session run -- ctest -L e2e";
        platform = std::make_unique<LinuxPlatform>(scheduler);
    }

    std::unique_ptr<TargetApp> startTarget(TargetApp::Kind kind)
    {
        auto target = std::make_unique<TargetApp>(kind);
        QString why;
        EXPECT_TRUE(target->start(&why)) << why.toStdString();
        return target;
    }

    QByteArray clipOf(TargetApp &target, const QString &type)
    {
        const QString answer = target.command(QStringLiteral("readclip ") + type);
        const QString hex = answer.section(QLatin1Char(' '), 2);
        return hex == QLatin1String("-") ? QByteArray() : QByteArray::fromHex(hex.toLatin1());
    }

    QtScheduler scheduler;
    std::unique_ptr<LinuxPlatform> platform;
};

TEST_F(DesktopSession, ClipboardSnapshotRestoresEveryTypeForOtherApplications)
{
    auto gtk = startTarget(TargetApp::Kind::Gtk);
    ASSERT_EQ(gtk->command(QStringLiteral("clip")), QStringLiteral("ok"));
    auto &pasteboard = platform->pasteboard();
    ASSERT_TRUE(waitUntil([&] { return pasteboard.plainText() == QStringLiteral("clip text ✓"); }, 3000));

    const QList<TypedData> snapshot = pasteboard.items();
    ASSERT_EQ(snapshot.size(), 1);
    QStringList types;
    for (const auto &[type, data] : snapshot.first())
        types << type;
    for (const char *meta : {"TARGETS", "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS"})
        EXPECT_FALSE(types.contains(QString::fromLatin1(meta))) << meta;
    EXPECT_TRUE(types.contains(QStringLiteral("text/html")));
    EXPECT_TRUE(types.contains(QStringLiteral("application/x-quorvel-test")));

    // Something else takes the clipboard, then the snapshot goes back.
    const qint64 before = pasteboard.changeCount();
    pasteboard.writeItems({{{QStringLiteral("text/plain"), QByteArray("transient")}}});
    EXPECT_EQ(pasteboard.plainText(), QStringLiteral("transient"));
    pasteboard.writeItems(snapshot);
    EXPECT_GT(pasteboard.changeCount(), before);
    EXPECT_EQ(pasteboard.plainText(), QStringLiteral("clip text ✓"));

    // Another application sees every type with its bytes.
    EXPECT_EQ(clipOf(*gtk, QStringLiteral("text/html")), QByteArray("<b>clip</b> html"));
    EXPECT_EQ(clipOf(*gtk, QStringLiteral("application/x-quorvel-test")), QByteArray("custom\001bytes"));
    EXPECT_EQ(clipOf(*gtk, QStringLiteral("UTF8_STRING")), QByteArray("clip text ✓"));

    // An empty snapshot leaves the clipboard empty.
    pasteboard.writeItems({});
    EXPECT_FALSE(pasteboard.plainText().has_value());
    EXPECT_EQ(clipOf(*gtk, QStringLiteral("UTF8_STRING")), QByteArray());
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
    ASSERT_TRUE(waitUntil([&] { return workspace.frontmostApplication().value_or(AppInfo{}).pid == gtk->pid(); }, 3000));
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
        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(p.x()),
                                                  QString::number(p.y()), QStringLiteral("click"), QStringLiteral("1")});
        bool done = false;
        QObject::connect(&xdotool, &QProcess::finished, [&] { done = true; });
        waitUntil([&] { return done; }, 5000);
    };
    click(entry.center());
    ASSERT_TRUE(waitUntil([&] { return !clicks.isEmpty(); }, 3000)) << "no global click seen";
    EXPECT_EQ(clicks.first(), entry.center());
    EXPECT_EQ(platform->workspace().pointerLocation(), entry.center());

    // A click on one of our own windows is the local monitor's business.
    QWidget own;
    own.setGeometry(700, 500, 200, 150);
    own.show();
    ASSERT_TRUE(waitUntil([&] { return platform->x11Workspace().pidOfWindowAt(QPoint(800, 575)) == QCoreApplication::applicationPid(); }, 3000));
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
