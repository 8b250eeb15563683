// How much of a core the application uses when nothing happens: signed in
// with the project list showing, before any run; after a run into the GTK
// target has ended and its panel was closed; and while a run waits on a
// target that stopped answering. Runs inside the desktop session, against
// the development backend on a free port:
//
//   scripts/desktop-session run -- build/bench/idle_cpu/quorvel_bench_idle_cpu
//
// Every step goes through the screen, as in the journey test: synthetic
// clicks and keys, and what the accessibility bus shows.
#include "AppProcess.h"
#include "Measures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace qv::e2e;

const QString kEmail = QStringLiteral("idle@example.com");
const QString kPassword = QStringLiteral("idle-pass-7");
const QString kText = QStringLiteral(
    "The tide came in slowly that evening, and the boats stayed in the harbour. Mara counted them twice, "
    "wrote the number down, and then sat for a while on the bottom step, listening to the water against the "
    "rocks below the tower.");

// The share of one core `pid` uses over `ms` of wall time, the event loop
// running meanwhile.
double coreShare(qint64 pid, int ms)
{
    const double before = qv::bench::cpuSecondsOf(pid);
    QElapsedTimer wall;
    wall.start();
    pump(ms);
    const double after = qv::bench::cpuSecondsOf(pid);
    return 100.0 * (after - before) / (double(wall.elapsed()) / 1000.0);
}

struct App {
    QProcess process;
    std::unique_ptr<UiProbe> ui;

    std::optional<UiProbe::Found> waitFor(const QString &name, const QString &role = {}, int timeoutMs = 10000)
    {
        return waitForShown(*ui, process, name, role, timeoutMs, {});
    }

    bool press(const QString &name, const QString &role = kButton, int timeoutMs = 10000)
    {
        return clickShown(*ui, process, name, role, timeoutMs, {});
    }
};

bool fail(const char *what)
{
    std::fprintf(stderr, "idle_cpu: %s\n", what);
    return false;
}

bool signInAndWriteProject(App &app)
{
    if (!app.press(QStringLiteral("Email"), {}, 20000))
        return fail("no sign-in view");
    input::type(kEmail);
    app.press(QStringLiteral("Password"), {});
    input::type(kPassword);
    app.press(QStringLiteral("Sign In"));
    bool listShown = false;
    waitUntil(
        [&] {
            if (app.ui->find(QStringLiteral("+ NEW PROJECT"), kButton)) {
                listShown = true;
                return true;
            }
            if (const auto writer = app.ui->find(QStringLiteral("Quorvel"), kButton))
                input::click(writer->extents.center());
            return app.process.state() == QProcess::NotRunning;
        },
        20000);
    if (!listShown)
        return fail("not signed in");
    if (!app.press(QStringLiteral("+ NEW PROJECT")) || !app.press(QStringLiteral("Text"), {}))
        return fail("no editor");
    app.ui->setText(QStringLiteral("Text"), kText);
    if (const auto humanize = app.waitFor(QStringLiteral("Humanize"), {}, 3000); humanize && humanize->checked)
        input::click(humanize->extents.center());
    app.press(QStringLiteral("Speed"), {});
    input::key(QStringLiteral("End"));
    if (!app.press(QStringLiteral("Save")))
        return fail("no Save button");
    // Back on the list once saved.
    return app.waitFor(QStringLiteral("TYPE"), kButton, 10000) ? true : fail("the project was not saved");
}

void activateWindowOf(qint64 pid)
{
    const auto ids = runTool(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                         QStringLiteral("--pid"), QString::number(pid)});
    if (ids && !ids->trimmed().isEmpty())
        runTool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                                            QString::fromUtf8(ids->trimmed().split('\n').first())});
}

// Opens the panel and starts a run into the GTK target's view.
bool startRun(App &app, TargetApp &gtk, const QRect &view)
{
    // A click into a window in the background may only bring it forward.
    bool open = false;
    for (int attempt = 0; attempt < 3 && !open; ++attempt) {
        activateWindowOf(app.process.processId());
        open = app.press(QStringLiteral("TYPE")) && app.waitFor(QStringLiteral("Typing Session"), kLabel, 4000);
    }
    if (!open)
        return fail("no typing panel");
    gtk.activate();
    if (!app.press(QStringLiteral("Start Typing")))
        return fail("no Start Typing button");
    if (!app.waitFor(QStringLiteral("Waiting for Text Box"), kLabel, 5000))
        return fail("the panel does not wait for a text box");
    input::click({view.left() + 30, view.bottom() - 15});
    return app.waitFor(QStringLiteral("Typing..."), kLabel, 8000) ? true : fail("typing did not start");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication qapp(argc, argv);
    if (!qv::bench::insideDesktopSession(argv[0]))
        return 2;
    constexpr int kMeasureMs = 10000;
    QTemporaryDir home;
    QProcessEnvironment env = appEnvironment(home);
    LocalBackendProcess backend;
    QString why;
    if (!startLocalBackend(backend, env, kEmail, kPassword, &why)) {
        std::fprintf(stderr, "idle_cpu: %s\n", qPrintable(why));
        return 1;
    }

    TargetApp gtk(TargetApp::Kind::Gtk);
    if (!gtk.start())
        return fail("cannot start the GTK target"), 1;
    const QRect view = gtk.geometry(QStringLiteral("view"));

    App app;
    if (!startApp(app.process, env, QProcess::ForwardedChannels, &why))
        return fail("cannot start the application"), 1;
    const qint64 pid = app.process.processId();
    app.ui = std::make_unique<UiProbe>(pid);
    if (!signInAndWriteProject(app))
        return 1;

    // The title's shimmer when the window appears or comes back to the front
    // lasts six seconds; idle is what follows.
    constexpr int kSettleMs = 8000;
    pump(kSettleMs);
    const double before = coreShare(pid, kMeasureMs);

    // A run to its end, then Exit.
    if (!startRun(app, gtk, view))
        return 1;
    if (!app.waitFor(QStringLiteral("Done"), kLabel, 120000))
        return fail("the run did not end"), 1;
    app.press(QStringLiteral("Exit"));
    waitUntil([&] { return !app.ui->find(QStringLiteral("Typing Session"), kLabel); }, 5000);
    pump(kSettleMs);
    const double after = coreShare(pid, kMeasureMs);

    // A run that waits on a target that stopped answering.
    gtk.set(QStringLiteral("view"), QString());
    if (!startRun(app, gtk, view))
        return 1;
    pump(500);
    gtk.command(QStringLiteral("hang 12"), 1000);
    pump(2500); // the run notices and waits
    const double hung = coreShare(pid, kMeasureMs);

    std::printf("application CPU, share of one core over %d s:\n", kMeasureMs / 1000);
    std::printf("  idle before any run:            %6.2f %%\n", before);
    std::printf("  idle after a run and Exit:      %6.2f %%\n", after);
    std::printf("  a run waiting on a hung target: %6.2f %%\n", hung);

    stopProcess(app.process);
    return 0;
}
