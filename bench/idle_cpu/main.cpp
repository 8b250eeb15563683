// How much of a core the application uses when nothing happens: signed in
// with the project list showing, before any run; after a run into the GTK
// target has ended and its panel was closed; and while a run waits on a
// target that stopped answering. Then what it uses while it types a second
// project at 60 WPM, its panel showing the progress. Runs inside the desktop
// session, against the development backend on a free port:
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
// Typed at 60 WPM: about forty seconds, well beyond what is measured.
const QString kSlowText = QStringLiteral(
    "Rain moved across the hills in long grey sheets while the ferry waited at the pier. Nobody on board seemed "
    "to mind; a boy read aloud from a paper map, and his sister corrected every name he got wrong.");
const QString kSlowTitle = QStringLiteral("Rain moved across");
constexpr int kSlowestWpm = 40;
constexpr int kTypingWpm = 60;

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

bool signIn(App &app)
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
    return listShown ? true : fail("not signed in");
}

// A project in Exact mode at `wpm`, or at the fastest speed without one.
bool writeProject(App &app, const QString &text, std::optional<int> wpm)
{
    if (!app.press(QStringLiteral("+ NEW PROJECT")) || !app.press(QStringLiteral("Text"), {}))
        return fail("no editor");
    app.ui->setText(QStringLiteral("Text"), text);
    if (const auto humanize = app.waitFor(QStringLiteral("Humanize"), {}, 3000); humanize && humanize->checked)
        input::click(humanize->extents.center());
    app.press(QStringLiteral("Speed"), {});
    if (wpm) {
        // The slider starts at its lowest speed and moves one WPM a key.
        input::key(QStringLiteral("Home"));
        for (int at = kSlowestWpm; at < *wpm; ++at)
            input::key(QStringLiteral("Right"));
        if (!app.waitFor(QStringLiteral("%1 WPM").arg(*wpm), kLabel, 3000))
            return fail("the speed slider did not take the speed");
    } else {
        input::key(QStringLiteral("End"));
    }
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

// The TYPE button on the row of the project whose title begins with
// `title`, or the first one without a title.
bool pressType(App &app, const QString &title)
{
    if (title.isEmpty())
        return app.press(QStringLiteral("TYPE"));
    std::optional<QRect> button;
    waitUntil(
        [&] {
            const QList<UiProbe::Element> shown = app.ui->all();
            for (const UiProbe::Element &row : shown) {
                if (!row.name.startsWith(title))
                    continue;
                for (const UiProbe::Element &e : shown)
                    if (e.name == QStringLiteral("TYPE") && e.role == kButton
                        && e.extents.center().y() > row.extents.top() - 30
                        && e.extents.center().y() < row.extents.bottom() + 30)
                        button = e.extents;
            }
            return button.has_value();
        },
        10000);
    return button && input::click(button->center());
}

// Opens the panel of the project whose title begins with `title` (the first
// project without one) and starts a run into the GTK target's view.
bool startRun(App &app, TargetApp &gtk, const QRect &view, const QString &title = {})
{
    // A click into a window in the background may only bring it forward.
    bool open = false;
    for (int attempt = 0; attempt < 3 && !open; ++attempt) {
        activateWindowOf(app.process.processId());
        open = pressType(app, title) && app.waitFor(QStringLiteral("Typing Session"), kLabel, 4000);
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

// Ends the run and closes its panel, whatever it shows by now: the target
// card, the run going on, or its end.
bool closePanel(App &app)
{
    return waitUntil(
        [&] {
            if (!app.ui->find(QStringLiteral("Typing Session"), kLabel))
                return true;
            if (const auto confirm = app.ui->find(QStringLiteral("Stop"), kButton, QStringLiteral("Stop typing?")))
                input::click(confirm->extents.center());
            else if (const auto exit = app.ui->find(QStringLiteral("Exit"), kButton))
                input::click(exit->extents.center());
            else if (const auto gotIt = app.ui->find(QStringLiteral("Got it"), kButton))
                input::click(gotIt->extents.center()); // the card lies over the row's Stop
            else if (const auto stop = app.ui->find(QStringLiteral("Stop"), kButton))
                input::click(stop->extents.center());
            pump(300);
            return false;
        },
        20000);
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
    if (!signIn(app) || !writeProject(app, kText, std::nullopt))
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

    // Stopped once the target answers again; then a run at 60 WPM, measured
    // while it types.
    waitUntil([&] { return !gtk.command(QStringLiteral("geom view"), 1000).isEmpty(); }, 15000);
    if (!closePanel(app))
        return fail("the typing panel did not close"), 1;
    gtk.set(QStringLiteral("view"), QString());
    if (!writeProject(app, kSlowText, kTypingWpm) || !startRun(app, gtk, view, kSlowTitle))
        return 1;
    pump(2000);
    const double typing = coreShare(pid, kMeasureMs);
    if (!app.ui->find(QStringLiteral("Typing..."), kLabel))
        return fail("the run stopped typing while it was measured"), 1;

    std::printf("application CPU, share of one core over %d s:\n", kMeasureMs / 1000);
    std::printf("  idle before any run:            %6.2f %%\n", before);
    std::printf("  idle after a run and Exit:      %6.2f %%\n", after);
    std::printf("  a run waiting on a hung target: %6.2f %%\n", hung);
    std::printf("  typing at %d WPM:               %6.2f %%\n", kTypingWpm, typing);

    stopProcess(app.process);
    return 0;
}
