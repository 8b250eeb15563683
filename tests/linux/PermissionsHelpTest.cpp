// Which help page the desktop's permissions open when access is missing.
#include "platform/linux/LinuxPermissions.h"

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

#include <gtest/gtest.h>

namespace {
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};
} // namespace

TEST(PermissionsHelp, TheInputGuideOpensAtItsOwnAnchorAndOnlyWhenKeysCannotBeSent)
{
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY"), session = qgetenv("XDG_SESSION_TYPE");
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("XDG_SESSION_TYPE", "x11");
    OpenedUrls opened;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &opened, "open");
    const QUrl guide("http://127.0.0.1:9/quorvel-site/accessibility.html");

    struct Case {
        bool xtest;
        QList<QUrl> expected;
    };
    const Case cases[] = {
        {true, {}}, // keys reach other programs: nothing to explain
        {false, {QUrl("http://127.0.0.1:9/quorvel-site/accessibility.html#input-monitoring")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.xtest);
        opened.urls.clear();
        qv::linuxdesktop::LinuxPermissions permissions(c.xtest);
        permissions.openInputSettings(); // no help page known yet
        EXPECT_TRUE(opened.urls.isEmpty());
        permissions.setHelpUrl(guide);
        permissions.openInputSettings();
        EXPECT_EQ(opened.urls, c.expected);
    }

    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    qputenv("WAYLAND_DISPLAY", wayland);
    qputenv("XDG_SESSION_TYPE", session);
    if (wayland.isEmpty())
        qunsetenv("WAYLAND_DISPLAY");
}

#include "PermissionsHelpTest.moc"
