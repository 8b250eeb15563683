// Keystroke delivery on the X11 desktop, run inside the desktop session:
//
//   scripts/desktop-session run -- build/bench/keystroke_delivery/quorvel_bench_keystroke_delivery
//
// 1. Timing: keys at 60 WPM on the scheduler; how late each key is posted
//    against its scheduled time (median, p99), and our CPU use meanwhile;
//    for a text whose characters all fit the spare keycodes and for one
//    with far more distinct characters than spare keycodes.
// 2. Correctness: the same Unicode-heavy text typed at rising rates into the
//    GTK and the Qt target; wrong characters counted against the target's
//    own text, side by side with `xdotool type` at the same rates.
#include "Measures.h"
#include "TargetApp.h"

#include "core/QtScheduler.h"
#include "core/Text.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/XTestKeyboard.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using qv::e2e::TargetApp;

const QString kText = QStringLiteral(
    "Café déjà vu — “quoted” and ‘single’ naïve résumé. A family 👨‍👩‍👧, a flag 🇫🇷, e\u0301 "
    "too.\n"
    "The piñata’s crème brûlée costs 5 € — “done”! 👍🏽 Straße, Ærø.");

// Greek and Cyrillic words: well over a hundred distinct characters.
const QString kManyCharacters = QStringLiteral(
    "Ψυχή και λόγος — ξένος ζωγράφος φθάνει· γεύση, ηχώ, θάλασσα, κύμα, μέλι, νύχτα, όμορφη πόλη, ρυθμός. "
    "Съешь же ещё этих мягких французских булок, да выпей чаю. Юный ёж щупает цветы в подъезде. "
    "ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ ά έ ή ί ό ύ ώ ϊ ϋ ΐ ΰ.");

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5));
    return v[i];
}

// Characters per minute of a words-per-minute rate (five characters a word).
double intervalMs(double wpm) { return 60'000.0 / (wpm * 5.0); }

struct Timing {
    std::vector<double> lateMs;
    double cpuPercent = 0;
};

QCoro::Task<> typeTimed(qv::Scheduler &scheduler, qv::linuxdesktop::XTestKeyboard &keyboard, const QString &text,
                        double interval, Timing *timing)
{
    co_await keyboard.prepare(text);
    const double start = scheduler.nowMs() + 50;
    const double cpu0 = qv::bench::cpuSecondsSelf();
    int i = 0;
    for (const QString &g : qv::text::graphemes(text)) {
        const double due = start + i * interval;
        if (due > scheduler.nowMs())
            co_await scheduler.sleep(due - scheduler.nowMs());
        co_await keyboard.typeGrapheme(g);
        // A cluster of one code point is one key: its post time against the
        // schedule (clusters of several keys are typed, not measured).
        if (timing && qv::text::codePointCount(g) == 1)
            timing->lateMs.push_back(double(keyboard.lastPressNs()) / 1e6 - due);
        ++i;
    }
    if (timing) {
        const double wall = (scheduler.nowMs() - start) / 1000.0;
        timing->cpuPercent = wall > 0 ? 100.0 * (qv::bench::cpuSecondsSelf() - cpu0) / wall : 0;
    }
    keyboard.finish();
}

bool runXdotool(const QString &text, double interval)
{
    QProcess xdotool;
    bool done = false;
    QObject::connect(&xdotool, &QProcess::finished, [&] { done = true; });
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"),
                                              QString::number(int(interval)), QStringLiteral("--"), text});
    qv::e2e::waitUntil([&] { return done; }, 600'000);
    return done && xdotool.exitCode() == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!qv::bench::insideDesktopSession(argv[0]))
        return 2;
    const bool withXdotool = !app.arguments().contains(QStringLiteral("--no-xdotool"));
    qv::QtScheduler scheduler;
    qv::linuxdesktop::LinuxPlatform platform(scheduler);
    auto &keyboard = platform.xtestKeyboard();
    std::printf("spare keycodes: %d\n", platform.xtestKeyboard().spareKeycodeCount());

    // 1. Timing and CPU at 60 WPM into the GTK target: the text above, and
    // one with more distinct characters off the keyboard map than there are
    // spare keycodes, so that bindings are given up and made mid-run.
    for (const QString &text : {kText, kManyCharacters}) {
        TargetApp gtk(TargetApp::Kind::Gtk);
        if (!gtk.start() || !gtk.activate()) {
            std::fprintf(stderr, "cannot start the GTK target\n");
            return 1;
        }
        gtk.command(QStringLiteral("focus view"));
        Timing timing;
        qv::e2e::runReal(typeTimed(scheduler, keyboard, text, intervalMs(60), &timing), 600'000);
        QSet<uint> distinct;
        for (uint cp : text.toUcs4())
            if (cp > 0x7E)
                distinct.insert(cp);
        std::printf("timing at 60 WPM, %zu keys, %lld distinct characters off the ASCII keys: median %.2f ms late, "
                    "p99 %.2f ms late, max %.2f ms; CPU %.2f%% of one core\n",
                    timing.lateMs.size(), static_cast<long long>(distinct.size()), percentile(timing.lateMs, 0.5),
                    percentile(timing.lateMs, 0.99), percentile(timing.lateMs, 1.0), timing.cpuPercent);
        qv::e2e::pump(300);
        const auto landed = gtk.dump(QStringLiteral("view"));
        std::printf("  wrong characters: %d\n", landed ? qv::bench::wrongGraphemes(text, *landed) : -1);
    }

    // 2. Correctness at rising rates, ours and xdotool's.
    const double rates[] = {120, 240, 480, 960, 0};
    std::printf("\n%-6s %8s %14s %14s\n", "target", "WPM", "quorvel wrong", "xdotool wrong");
    for (TargetApp::Kind kind : {TargetApp::Kind::Gtk, TargetApp::Kind::Qt}) {
        TargetApp target(kind);
        QString why;
        // After xdotool's keymap churn the window manager may need many
        // seconds before it activates a window again.
        bool started = target.start(&why);
        QElapsedTimer patience;
        patience.start();
        bool active = false;
        while (started && !active && patience.elapsed() < 60'000)
            active = target.activate();
        if (!started || !active) {
            std::fprintf(stderr, "cannot start a target: %s\n",
                         qPrintable(why.isEmpty() ? QStringLiteral("not activated") : why));
            return 1;
        }
        for (double wpm : rates) {
            const double interval = wpm > 0 ? intervalMs(wpm) : 0;
            target.set(QStringLiteral("view"), QString());
            target.command(QStringLiteral("focus view"));
            qv::e2e::runReal(typeTimed(scheduler, keyboard, kText, interval, nullptr), 600'000);
            qv::e2e::pump(400);
            const auto ours = target.dump(QStringLiteral("view"));
            QString theirs = QStringLiteral("-");
            if (withXdotool) {
                target.set(QStringLiteral("view"), QString());
                target.command(QStringLiteral("focus view"));
                runXdotool(kText, interval);
                // xdotool rebinds a keycode for every character: the window
                // manager needs a while to catch up with the keymap changes.
                qv::e2e::pump(1500);
                const auto landed = target.dump(QStringLiteral("view"));
                theirs = QString::number(landed ? qv::bench::wrongGraphemes(kText, *landed) : -1);
            }
            std::printf("%-6s %8s %14d %14s\n", kind == TargetApp::Kind::Gtk ? "GTK" : "Qt",
                        wpm > 0 ? QByteArray::number(wpm).constData() : "max",
                        ours ? qv::bench::wrongGraphemes(kText, *ours) : -1, theirs.toUtf8().constData());
            std::fflush(stdout);
        }
    }
    return 0;
}
