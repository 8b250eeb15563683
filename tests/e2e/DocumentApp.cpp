#include "DocumentApp.h"

#include "TargetApp.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QUrl>

#include <csignal>
#include <unistd.h>

namespace qv::e2e {

namespace {
// A Firefox profile that starts straight on the page: no welcome or
// privacy tabs, no updates, reports or default-browser question, and every
// connection sent to a closed local port.
const char kFirefoxPrefs[] = R"(user_pref("app.update.enabled", false);
user_pref("app.update.auto", false);
user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("browser.aboutwelcome.enabled", false);
user_pref("browser.startup.homepage_override.mstone", "ignore");
user_pref("startup.homepage_welcome_url", "");
user_pref("startup.homepage_welcome_url.additional", "");
user_pref("browser.startup.firstrunSkipsHomepage", true);
user_pref("datareporting.policy.dataSubmissionEnabled", false);
user_pref("datareporting.policy.firstRunURL", "");
user_pref("datareporting.healthreport.uploadEnabled", false);
user_pref("toolkit.telemetry.enabled", false);
user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);
user_pref("browser.sessionstore.resume_from_crash", false);
user_pref("browser.tabs.warnOnClose", false);
user_pref("extensions.update.enabled", false);
user_pref("network.proxy.type", 1);
user_pref("network.proxy.http", "127.0.0.1");
user_pref("network.proxy.http_port", 9);
user_pref("network.proxy.ssl", "127.0.0.1");
user_pref("network.proxy.ssl_port", 9);
user_pref("network.proxy.no_proxies_on", "");
user_pref("accessibility.force_disabled", -1);
)";
} // namespace

DocumentApp::DocumentApp(Kind kind, QString field) : m_kind(kind), m_field(std::move(field)) {}

DocumentApp::~DocumentApp() { kill(); }

QString DocumentApp::name() const
{
    switch (m_kind) {
    case Kind::Writer:
        return QStringLiteral("Writer");
    case Kind::KWrite:
        return QStringLiteral("KWrite");
    case Kind::Firefox:
        return QStringLiteral("Firefox");
    case Kind::Chromium:
        return QStringLiteral("Chromium");
    }
    return {};
}

QStringList DocumentApp::arguments()
{
    const QString page = QUrl::fromLocalFile(QStringLiteral(QV_RICH_TEXT_PAGE)).toString() + QLatin1Char('#') + m_field;
    switch (m_kind) {
    case Kind::Writer:
        return {QStringLiteral("-env:UserInstallation=")
                    + QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("lo"))).toString(),
                QStringLiteral("--norestore"), QStringLiteral("--nologo"), QStringLiteral("--nolockcheck"),
                QStringLiteral("--writer")};
    case Kind::KWrite: {
        const QString file = m_dir.filePath(QStringLiteral("essay.txt"));
        QFile(file).open(QIODevice::WriteOnly);
        return {file};
    }
    case Kind::Firefox: {
        const QString profile = m_dir.filePath(QStringLiteral("firefox"));
        QDir().mkpath(profile);
        QFile prefs(profile + QStringLiteral("/user.js"));
        if (prefs.open(QIODevice::WriteOnly))
            prefs.write(kFirefoxPrefs);
        return {QStringLiteral("-profile"), profile, QStringLiteral("--no-remote"), QStringLiteral("--new-instance"),
                page};
    }
    case Kind::Chromium:
        return {QStringLiteral("--no-sandbox"),
                QStringLiteral("--force-renderer-accessibility"),
                QStringLiteral("--user-data-dir=") + m_dir.filePath(QStringLiteral("chromium")),
                QStringLiteral("--no-first-run"),
                QStringLiteral("--no-default-browser-check"),
                QStringLiteral("--disable-background-networking"),
                QStringLiteral("--disable-component-update"),
                QStringLiteral("--disable-sync"),
                QStringLiteral("--disable-gpu"),
                QStringLiteral("--password-store=basic"),
                QStringLiteral("--host-resolver-rules=MAP * ~NOTFOUND"),
                QStringLiteral("--window-size=760,640"),
                QStringLiteral("--app=") + page};
    }
    return {};
}

bool DocumentApp::start(QString *why)
{
    const auto fail = [&](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (!m_dir.isValid())
        return fail(QStringLiteral("no temporary folder"));
    static const char *const programs[] = {"soffice", "kwrite", "firefox-esr", "chromium"};
    const QString program = QString::fromLatin1(programs[int(m_kind)]);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("NO_AT_BRIDGE"));
    // Qt 5 programs talk to the accessibility bus only when told to.
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_ACCESSIBILITY"), QStringLiteral("1"));
    env.insert(QStringLiteral("GNOME_ACCESSIBILITY"), QStringLiteral("1"));
    env.insert(QStringLiteral("GDK_BACKEND"), QStringLiteral("x11"));
    env.insert(QStringLiteral("SAL_USE_VCLPLUGIN"), QStringLiteral("gtk3"));
    env.insert(QStringLiteral("MOZ_CRASHREPORTER_DISABLE"), QStringLiteral("1"));
    // Settings and caches of KWrite (and anything else) stay in the throwaway folder.
    for (const char *var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        env.insert(QString::fromLatin1(var), m_dir.filePath(QString::fromLatin1(var)));
    m_process.setProcessEnvironment(env);
    m_process.setChildProcessModifier([] { ::setsid(); });
    m_process.setStandardOutputFile(m_dir.filePath(QStringLiteral("out.log")));
    m_process.setStandardErrorFile(m_dir.filePath(QStringLiteral("err.log")));
    QElapsedTimer clock;
    clock.start();
    m_process.start(program, arguments());
    if (!m_process.waitForStarted(kStartMs))
        return fail(QStringLiteral("cannot start %1 (run scripts/setup)").arg(program));

    // The window shows the document's or the page's name.
    static const char *const titles[] = {"LibreOffice", "essay.txt", "Quorvel rich-text page",
                                         "Quorvel rich-text page"};
    const QString title = QString::fromLatin1(titles[int(m_kind)]);
    // A first start on a fresh profile sets the profile up first: on a busy
    // machine that alone takes tens of seconds.
    const bool shown = waitUntil(
        [&] {
            // A launcher that hands over to a running copy ends well; one
            // that fails ends badly, and there will be no window.
            if (m_process.state() == QProcess::NotRunning && m_process.exitCode() != 0)
                return true;
            const auto ids = runTool(QStringLiteral("xdotool"),
                                     {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                      QStringLiteral("--name"), title});
            if (!ids || ids->trimmed().isEmpty())
                return false;
            m_window = QString::fromUtf8(ids->trimmed().split('\n').last());
            return true;
        },
        kStartMs);
    if (m_window.isEmpty() && m_process.state() == QProcess::NotRunning && m_process.exitCode() != 0)
        return fail(QStringLiteral("%1 exited at start after %2 with code %3; its log: %4")
                        .arg(program, seconds(clock.elapsed()))
                        .arg(m_process.exitCode())
                        .arg(m_dir.filePath("err.log")));
    if (!shown)
        return fail(QStringLiteral("%1 showed no window within %2; its log: %3")
                        .arg(program, seconds(clock.elapsed()), m_dir.filePath("err.log")));
    noteSlowStart(program, clock.elapsed());
    const auto pid = runTool(QStringLiteral("xdotool"), {QStringLiteral("getwindowpid"), m_window});
    m_windowPid = pid ? pid->trimmed().toLongLong() : 0;
    if (m_windowPid <= 0)
        return fail(QStringLiteral("no process for the window of ") + program);
    return true;
}

bool DocumentApp::activate()
{
    return !m_window.isEmpty()
           && runTool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), m_window})
                  .has_value();
}

bool DocumentApp::keys(const QStringList &keys)
{
    QStringList arguments{QStringLiteral("key"), QStringLiteral("--clearmodifiers"), QStringLiteral("--delay"),
                          QStringLiteral("40")};
    arguments += keys;
    return runTool(QStringLiteral("xdotool"), arguments).has_value();
}

bool DocumentApp::type(const QString &text)
{
    return runTool(QStringLiteral("xdotool"),
                   {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text})
        .has_value();
}

void DocumentApp::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // The program leads a process group of its own: what it started goes too.
    if (m_process.processId() > 0)
        ::kill(-pid_t(m_process.processId()), SIGKILL);
    m_process.kill();
    m_process.waitForFinished(3000);
}

} // namespace qv::e2e
