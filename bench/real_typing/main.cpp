// The 1,000-word essay of the realism benchmark typed by the engine with the
// Linux backend into the GTK text view, the Qt plain-text editor and the
// Chromium textarea, humanize off with review light and humanize on with
// review heavy; and, laid out with tabs, quotes, an em dash, an accented
// word and an emoji, into KWrite and LibreOffice Writer, humanize on with
// review heavy. One row per run: whether the target's own copy of its text
// is exact, how many graphemes differ, the wall time and the review's part
// of it, arrow presses per typed character, and the share of one core this
// process (the engine and the backend) and the target used. The editor
// rows add, against what the run meant to type: the characters off, the
// characters the editor rewrote as it does typed text, the review's share
// of the typing time and the key events the review sent.
//
//   scripts/desktop-session run -- build/bench/real_typing/quorvel_bench_real_typing [ROW...]
//
// ROW picks rows by name (gtk-off, gtk-on, qt-off, qt-on, chromium-off,
// chromium-on, kwrite-on, writer-on; all by default), so rows can run side
// by side in sessions of their own. Long pauses are shortened as in the end-to-end tests
// (QUORVEL_E2E_PACE, default 20); keys and caret moves are real.
// QUORVEL_BENCH_WPM sets the speed (default 250).
#include "BriskScheduler.h"
#include "DocumentApp.h"
#include "EssayText.h"
#include "Measures.h"
#include "SampleText.h"
#include "TargetApp.h"

#include "core/QtScheduler.h"
#include "core/Random.h"
#include "core/Text.h"
#include "engine/FieldCheck.h"
#include "engine/TypingEngine.h"
#include "platform/Pasteboard.h"
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
using e2e::DocumentApp;
using e2e::TargetApp;
using platform::Attribute;
using platform::Element;

// The real desktop, counting the arrow presses a run sends.
class CountingPlatform final : public platform::Platform {
public:
    explicit CountingPlatform(platform::Platform &real) : m_real(real), m_keyboard(real.keyboard(), arrows, keys) {}

    platform::Accessibility &accessibility() override { return m_real.accessibility(); }
    platform::Keyboard &keyboard() override { return m_keyboard; }
    platform::Pasteboard &pasteboard() override { return m_real.pasteboard(); }
    platform::Workspace &workspace() override { return m_real.workspace(); }
    platform::InputMonitor &input() override { return m_real.input(); }
    platform::Permissions &permissions() override { return m_real.permissions(); }
    platform::Desktop &desktop() override { return m_real.desktop(); }

    int arrows = 0;
    int keys = 0; // every key event: typed characters, presses, shortcuts

private:
    class Keyboard final : public platform::Keyboard {
    public:
        Keyboard(platform::Keyboard &real, int &arrows, int &keys) : m_real(real), m_arrows(arrows), m_keys(keys) {}
        QCoro::Task<> prepare(const QString &text) override { return m_real.prepare(text); }
        QCoro::Task<> typeGrapheme(const QString &grapheme) override
        {
            ++m_keys;
            return m_real.typeGrapheme(grapheme);
        }
        QCoro::Task<> press(platform::Key key) override
        {
            ++m_keys;
            if (key == platform::Key::Left || key == platform::Key::Right)
                ++m_arrows;
            return m_real.press(key);
        }
        QCoro::Task<> shortcut(platform::Shortcut shortcut) override
        {
            ++m_keys;
            return m_real.shortcut(shortcut);
        }
        void finish() override { m_real.finish(); }
        void releaseAll() override { m_real.releaseAll(); }
        int backspacePresses(const QString &stretch) override { return m_real.backspacePresses(stretch); }
        int arrowPresses(const QString &stretch) override { return m_real.arrowPresses(stretch); }

    private:
        platform::Keyboard &m_real;
        int &m_arrows;
        int &m_keys;
    };

    platform::Platform &m_real;
    Keyboard m_keyboard;
};

struct Row {
    const char *name;
    TargetApp::Kind kind;
    bool humanize;
    const char *review;
    // A document editor instead of a target program.
    std::optional<DocumentApp::Kind> editor = std::nullopt;
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
    // Against what the run meant to type, rewrites of the editor apart.
    int off = -1;
    int rewritten = -1;
    double typingS = 0;
    int reviewKeys = 0;
};

// The editor with its text field focused, as a click into it leaves it.
Element focusedField(DocumentApp &app, platform::Accessibility &ax, linuxdesktop::LinuxPlatform &platform)
{
    Element found;
    e2e::waitUntil(
        [&] {
            if (platform.x11Workspace().frontmostPid() != app.pid())
                app.activate();
            found = ax.systemFocusedElement();
            return found && found.pid() == app.pid() && ax.read(found, Attribute::Editable) == QVariant(true)
                   && ax.read(found, Attribute::Value).has_value();
        },
        30000);
    return found;
}

// The editor's whole text by its own copy (select all, copy).
std::optional<QString> copyOf(DocumentApp &app, platform::Pasteboard &pasteboard)
{
    const qint64 before = pasteboard.changeCount();
    if (!app.activate() || !app.keys({QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")}))
        return std::nullopt;
    if (!e2e::waitUntil([&] { return pasteboard.changeCount() != before; }, 5000))
        return std::nullopt;
    e2e::pump(200);
    std::optional<QString> text = pasteboard.plainText();
    // Editors end a copied document with a line break of their own.
    if (text && text->endsWith(QLatin1Char('\n')))
        text->chop(1);
    return text;
}

Result runEditorRow(const Row &row, const QString &text, linuxdesktop::LinuxPlatform &platform, QtScheduler &real,
                    Scheduler &brisk, int wpm)
{
    Result out;
    DocumentApp app(*row.editor);
    QString why;
    if (!app.start(&why) || !app.activate()) {
        std::fprintf(stderr, "%s: cannot start the editor: %s\n", row.name, qPrintable(why));
        return out;
    }
    auto &ax = platform.accessibility();
    const Element field = focusedField(app, ax, platform);
    if (!field) {
        std::fprintf(stderr, "%s: no focused text field\n", row.name);
        return out;
    }
    CountingPlatform counting(platform);
    SeededRandom random(2026);
    engine::TypingEngine engine(counting, brisk, random);
    bool done = false;
    double reviewFromMs = -1;
    int keysBeforeReview = 0;
    const double start = real.nowMs();
    auto job = [&]() -> QCoro::Task<> {
        qv::engine::RunOptions options{.text = text,
                                       .review = QString::fromLatin1(row.review),
                                       .humanize = row.humanize,
                                       .targetWpm = wpm,
                                       .target = field,
                                       .onPhase =
                                           [&](engine::RunPhase phase) {
                                               out.lastPhase = engine::phaseName(phase);
                                               if (phase == engine::RunPhase::Editing && reviewFromMs < 0) {
                                                   reviewFromMs = real.nowMs();
                                                   keysBeforeReview = counting.keys;
                                               }
                                           },
                                       // QUORVEL_BENCH_DEBUG=1: the run's diagnostic lines on stderr.
                                       .onDebug =
                                           [](const QString &line) {
                                               if (qEnvironmentVariableIsSet("QUORVEL_BENCH_DEBUG")
                                                   && !line.startsWith(QLatin1String("typo ")))
                                                   std::fprintf(stderr, "   %s\n", qPrintable(line));
                                           }};
        co_await engine.typeText(std::move(options));
        done = true;
    };
    const double cpu0 = cpuSecondsSelf();
    const double targetCpu0 = cpuSecondsOf(app.pid());
    auto running = job();
    e2e::waitUntil([&] { return done; }, 3 * 3600 * 1000);
    const double wallMs = real.nowMs() - start;
    out.ran = done;
    out.wallS = wallMs / 1000;
    out.reviewS = reviewFromMs >= 0 ? (real.nowMs() - reviewFromMs) / 1000 : 0;
    out.typingS = out.wallS - out.reviewS;
    out.reviewKeys = reviewFromMs >= 0 ? counting.keys - keysBeforeReview : 0;
    out.ownCpu = 100.0 * (cpuSecondsSelf() - cpu0) / (wallMs / 1000);
    out.targetCpu = 100.0 * (cpuSecondsOf(app.pid()) - targetCpu0) / (wallMs / 1000);
    out.arrowsPerChar = double(counting.arrows) / std::max(1, text::graphemeCount(text));
    const QString intended = engine.lastIntendedText().isEmpty() ? text : engine.lastIntendedText();
    e2e::pump(500); // keys still on their way
    const std::optional<QString> own = copyOf(app, platform.pasteboard());
    if (own) {
        const engine::FieldComparison compared = engine::compareField(*own, intended);
        out.exact = *own == intended;
        out.wrong = wrongGraphemes(intended, *own);
        out.off = compared.off;
        out.rewritten = compared.rewritten;
        for (const engine::FieldComparison::Stretch &stretch : compared.stretches.mid(0, 8))
            std::fprintf(stderr, "%s: off at %lld: \"%s\" for \"%s\"\n", row.name, qlonglong(stretch.at),
                         qPrintable(own->mid(stretch.at, stretch.length)), qPrintable(stretch.replacement));
    }
    return out;
}

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
        {"kwrite-on", TargetApp::Kind::Qt, true, "heavy", DocumentApp::Kind::KWrite},
        {"writer-on", TargetApp::Kind::Gtk, true, "heavy", DocumentApp::Kind::Writer},
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
    const QString essay = e2e::realEssay(1000);
    std::printf("text: %d characters (editors: %d); %d WPM, pauses shortened %.0fx\n", text::graphemeCount(text),
                text::graphemeCount(essay), wpm, factor);
    std::printf("%-13s %-6s %-6s %6s %8s %9s %10s %8s %8s  %s\n", "row", "human", "review", "exact", "wrong", "wall s",
                "review s", "arrow/ch", "cpu %", "target cpu %  (last phase)");
    std::fflush(stdout);
    for (const Row &row : rows) {
        if (!wanted.isEmpty() && !wanted.contains(QString::fromLatin1(row.name)))
            continue;
        if (row.editor) {
            const Result r = runEditorRow(row, essay, platform, real, brisk, wpm);
            const char *exact = !r.ran || r.off < 0 ? "-" : r.exact ? "yes" : r.off == 0 ? "rewrite" : "NO";
            std::printf("%-13s %-6s %-6s %6s %8d %9.1f %10.1f %8.2f %8.1f  %.1f (%s)\n", row.name, "on", row.review,
                        exact, r.wrong, r.wallS, r.reviewS, r.arrowsPerChar, r.ownCpu, r.targetCpu,
                        qPrintable(r.lastPhase));
            std::printf("%-13s   off %d, rewritten by the editor %d, review %.1f s = %.1f%% of %.1f s typing, "
                        "%d review key events\n",
                        "", r.off, r.rewritten, r.reviewS, r.typingS > 0 ? 100.0 * r.reviewS / r.typingS : 0.0,
                        r.typingS, r.reviewKeys);
            std::fflush(stdout);
            continue;
        }
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
