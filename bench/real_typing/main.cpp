// The 1,000-word essay of the realism benchmark typed by the engine with the
// Linux backend into the GTK text view, the Qt plain-text editor and the
// Chromium textarea, humanize off with review light and humanize on with
// review heavy. One row per run: whether the target's own copy of its text
// is exact, how many graphemes differ, the wall time and the review's part
// of it, arrow presses per typed character, and the share of one core this
// process (the engine and the backend) and the target used.
//
//   scripts/desktop-session run -- build/bench/real_typing/quorvel_bench_real_typing [ROW...]
//
// ROW picks rows by name (gtk-off, gtk-on, qt-off, qt-on, chromium-off,
// chromium-on; all by default), so rows can run side by side in sessions
// of their own. Long pauses are shortened as in the end-to-end tests
// (QUORVEL_E2E_PACE, default 20); keys and caret moves are real.
// QUORVEL_BENCH_WPM sets the speed (default 250).
#include "BriskScheduler.h"
#include "Measures.h"
#include "SampleText.h"
#include "TargetApp.h"

#include "core/QtScheduler.h"
#include "core/Random.h"
#include "core/Text.h"
#include "engine/TypingEngine.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/X11Workspace.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <vector>

namespace {

using namespace qv;
using bench::cpuSecondsOf;
using bench::cpuSecondsSelf;
using bench::wrongGraphemes;
using e2e::TargetApp;
using platform::Attribute;
using platform::Element;

// The real desktop, counting the arrow presses a run sends.
class CountingPlatform final : public platform::Platform {
public:
    explicit CountingPlatform(platform::Platform &real) : m_real(real), m_keyboard(real.keyboard(), arrows) {}

    platform::Accessibility &accessibility() override { return m_real.accessibility(); }
    platform::Keyboard &keyboard() override { return m_keyboard; }
    platform::Pasteboard &pasteboard() override { return m_real.pasteboard(); }
    platform::Workspace &workspace() override { return m_real.workspace(); }
    platform::InputMonitor &input() override { return m_real.input(); }
    platform::Permissions &permissions() override { return m_real.permissions(); }
    platform::Desktop &desktop() override { return m_real.desktop(); }

    int arrows = 0;

private:
    class Keyboard final : public platform::Keyboard {
    public:
        Keyboard(platform::Keyboard &real, int &arrows) : m_real(real), m_arrows(arrows) {}
        QCoro::Task<> prepare(const QString &text) override { return m_real.prepare(text); }
        QCoro::Task<> typeGrapheme(const QString &grapheme) override { return m_real.typeGrapheme(grapheme); }
        QCoro::Task<> press(platform::Key key) override
        {
            if (key == platform::Key::Left || key == platform::Key::Right)
                ++m_arrows;
            return m_real.press(key);
        }
        QCoro::Task<> shortcut(platform::Shortcut shortcut) override { return m_real.shortcut(shortcut); }
        void finish() override { m_real.finish(); }
        void releaseAll() override { m_real.releaseAll(); }
        int backspacePresses(const QString &stretch) override { return m_real.backspacePresses(stretch); }
        int arrowPresses(const QString &stretch) override { return m_real.arrowPresses(stretch); }

    private:
        platform::Keyboard &m_real;
        int &m_arrows;
    };

    platform::Platform &m_real;
    Keyboard m_keyboard;
};

struct Row {
    const char *name;
    TargetApp::Kind kind;
    bool humanize;
    const char *review;
};

struct Result {
    bool ran = false;
    QString lastPhase;
    bool exact = false;
    int wrong = -1;
    double wallS = 0;
    double reviewS = 0;
    double arrowsPerChar = 0;
    double ownCpu = 0;
    double targetCpu = 0;
};

Result runRow(const Row &row, const QString &text, linuxdesktop::LinuxPlatform &platform, QtScheduler &real,
              Scheduler &brisk, int wpm)
{
    Result out;
    TargetApp target(row.kind);
    QString why;
    if (!target.start(&why) || !target.activate()) {
        std::fprintf(stderr, "%s: cannot start the target: %s\n", row.name, qPrintable(why));
        return out;
    }
    auto &ax = platform.accessibility();
    target.command(QStringLiteral("focus view"));
    Element view;
    e2e::waitUntil(
        [&] {
            view = ax.systemFocusedElement();
            return view && view.pid() == target.pid()
                   && ax.read(view, Attribute::Role) == QVariant(platform::Roles::TextArea);
        },
        10000);
    if (!view) {
        std::fprintf(stderr, "%s: no focused text view\n", row.name);
        return out;
    }

    CountingPlatform counting(platform);
    SeededRandom random(2026);
    engine::TypingEngine engine(counting, brisk, random);
    bool done = false;
    double reviewFromMs = -1;
    auto job = [&]() -> QCoro::Task<> {
        qv::engine::RunOptions options{.text = text,
                                       .review = QString::fromLatin1(row.review),
                                       .humanize = row.humanize,
                                       .targetWpm = wpm,
                                       .target = view,
                                       .onPhase = [&](engine::RunPhase phase) {
                                           out.lastPhase = engine::phaseName(phase);
                                           if (phase == engine::RunPhase::Editing && reviewFromMs < 0)
                                               reviewFromMs = real.nowMs();
                                       }};
        co_await engine.typeText(std::move(options));
        done = true;
    };
    const double cpu0 = cpuSecondsSelf();
    const double targetCpu0 = cpuSecondsOf(target.pid());
    const double start = real.nowMs();
    auto running = job();
    e2e::waitUntil([&] { return done; }, 3 * 3600 * 1000);
    const double wallMs = real.nowMs() - start;
    out.ran = done;
    out.wallS = wallMs / 1000;
    out.reviewS = reviewFromMs >= 0 ? (real.nowMs() - reviewFromMs) / 1000 : 0;
    out.ownCpu = 100.0 * (cpuSecondsSelf() - cpu0) / (wallMs / 1000);
    out.targetCpu = 100.0 * (cpuSecondsOf(target.pid()) - targetCpu0) / (wallMs / 1000);
    out.arrowsPerChar = double(counting.arrows) / std::max(1, text::graphemeCount(text));
    const QString intended = engine.lastIntendedText().isEmpty() ? text : engine.lastIntendedText();
    e2e::pump(500); // keys still on their way
    const auto own = target.dump(QStringLiteral("view"));
    out.exact = own && *own == intended;
    out.wrong = own ? wrongGraphemes(intended, *own) : -1;
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!qv::bench::insideDesktopSession(argv[0]))
        return 2;
    const Row rows[] = {
        {"gtk-off", TargetApp::Kind::Gtk, false, "light"},
        {"gtk-on", TargetApp::Kind::Gtk, true, "heavy"},
        {"qt-off", TargetApp::Kind::Qt, false, "light"},
        {"qt-on", TargetApp::Kind::Qt, true, "heavy"},
        {"chromium-off", TargetApp::Kind::Chromium, false, "light"},
        {"chromium-on", TargetApp::Kind::Chromium, true, "heavy"},
    };
    const QStringList wanted = app.arguments().mid(1);
    const double factor = qEnvironmentVariableIsSet("QUORVEL_E2E_PACE")
                              ? qEnvironmentVariable("QUORVEL_E2E_PACE").toDouble()
                              : 20.0;
    const int wpm = qEnvironmentVariableIsSet("QUORVEL_BENCH_WPM") ? qEnvironmentVariableIntValue("QUORVEL_BENCH_WPM")
                                                                   : 250;
    QtScheduler real;
    e2e::BriskScheduler brisk(real, factor);
    linuxdesktop::LinuxPlatform platform(real);
    const QString text = QString::fromUtf8(kSampleText);
    std::printf("text: %d characters; %d WPM, pauses shortened %.0fx\n", text::graphemeCount(text), wpm, factor);
    std::printf("%-13s %-6s %-6s %6s %8s %9s %10s %8s %8s  %s\n", "row", "human", "review", "exact", "wrong", "wall s",
                "review s", "arrow/ch", "cpu %", "target cpu %  (last phase)");
    std::fflush(stdout);
    for (const Row &row : rows) {
        if (!wanted.isEmpty() && !wanted.contains(QString::fromLatin1(row.name)))
            continue;
        const Result r = runRow(row, text, platform, real, brisk, wpm);
        std::printf("%-13s %-6s %-6s %6s %8d %9.1f %10.1f %8.2f %8.1f  %.1f (%s)\n", row.name,
                    row.humanize ? "on" : "off", row.review,
                    !r.ran    ? "-"
                    : r.exact ? "yes"
                              : "NO",
                    r.wrong, r.wallS, r.reviewS, r.arrowsPerChar, r.ownCpu, r.targetCpu, qPrintable(r.lastPhase));
        std::fflush(stdout);
    }
    return 0;
}
