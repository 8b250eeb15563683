// The 1,000-word essay of the realism benchmark typed by the engine with the
// Linux backend into the GTK text view, the Qt plain-text editor and the
// Chromium textarea, humanize off with review light and humanize on with
// review heavy; and, humanize on with review heavy, into the text area and
// the rich-text field of Firefox, the rich-text field of Chromium and a
// Writer document (the
// essay with a tab opening each paragraph). One row per run: whether the
// editor's own copy of its text is exact against what the run meant to
// type, how many graphemes are off, how many of those the editor rewrote
// itself (typographic quotes and the like), the wall time and the review's
// part of it, the key events of the run and of its review, arrow presses
// per typed character, the stalls of this process's event loop over 100 ms
// during the review (count and worst), and the share of one core this
// process (the engine and the backend) and the target used.
//
//   scripts/desktop-session run -- build/bench/real_typing/quorvel_bench_real_typing [ROW...]
//
// ROW picks rows by name (gtk-off, gtk-on, qt-off, qt-on, chromium-off,
// chromium-on, chromium-rich-on, firefox-area-on, firefox-rich-on, kwrite-on, writer-on;
// all by default), so rows can run side by side in sessions of their own. Long
// pauses are shortened as in the end-to-end tests (QUORVEL_E2E_PACE,
// default 20); keys and caret moves are real. QUORVEL_BENCH_WPM sets the
// speed (default 250); QUORVEL_BENCH_DEBUG=1 prints the runs' diagnostic
// lines on the error stream, the backend's calls over 50 ms, and for each
// stall the platform calls it was made of.
#include "BriskScheduler.h"
#include "DocumentApp.h"
#include "Measures.h"
#include "SampleText.h"
#include "TargetApp.h"

#include "core/QtScheduler.h"
#include "core/Random.h"
#include "core/Text.h"
#include "engine/FieldCheck.h"
#include "engine/TypingEngine.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/X11Workspace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace qv;
using bench::cpuSecondsOf;
using bench::cpuSecondsSelf;
using e2e::DocumentApp;
using e2e::TargetApp;
using platform::Attribute;
using platform::Element;

// What the event loop did since its last turn (the run's platform calls
// and their times, and the backend's own slow calls), for telling what a
// stall was made of; kept only with QUORVEL_BENCH_DEBUG.
class CallLog {
public:
    static CallLog &instance()
    {
        static CallLog log;
        return log;
    }
    bool on = false;
    QElapsedTimer clock;
    void add(const QString &what, qint64 ns)
    {
        if (on && ns >= 1'000'000)
            m_lines.append(QStringLiteral("%1 %2 ms").arg(what).arg(double(ns) / 1e6, 0, 'f', 1));
    }
    void note(const QString &line)
    {
        if (on)
            m_lines.append(line);
    }
    QStringList take() { return std::exchange(m_lines, {}); }

private:
    QStringList m_lines;
};

QString attributeName(Attribute a)
{
    static const char *const names[] = {
        "Role",     "Subrole",  "Title",          "RoleDescription",    "DomRole",           "Enabled",
        "Editable", "Focused",  "Value",          "NumberOfCharacters", "SelectedTextRange", "SelectedText",
        "Parent",   "Children", "FocusedElement", "MultiLine",          "TextIsWhole"};
    const auto i = std::size_t(a);
    return i < std::size(names) ? QString::fromLatin1(names[i]) : QString::number(int(a));
}

// Times a synchronous call (or a task's part before it first waits) into
// the call log.
template <typename F>
auto timed(const QString &what, F &&call)
{
    QElapsedTimer t;
    t.start();
    struct Done {
        const QString &what;
        QElapsedTimer &t;
        ~Done() { CallLog::instance().add(what, t.nsecsElapsed()); }
    } done{what, t};
    return call();
}

class TimedAccessibility final : public platform::Accessibility {
public:
    explicit TimedAccessibility(platform::Accessibility &real) : m_real(real) {}
    Element systemFocusedElement() override
    {
        return timed(QStringLiteral("systemFocusedElement"), [&] { return m_real.systemFocusedElement(); });
    }
    Element applicationElement(qint64 pid) override
    {
        return timed(QStringLiteral("applicationElement"), [&] { return m_real.applicationElement(pid); });
    }
    Element elementAtPoint(QPoint global) override
    {
        return timed(QStringLiteral("elementAtPoint"), [&] { return m_real.elementAtPoint(global); });
    }
    std::optional<QVariant> read(const Element &element, Attribute attribute) override
    {
        return timed(QStringLiteral("read(%1)").arg(attributeName(attribute)),
                     [&] { return m_real.read(element, attribute); });
    }
    std::optional<bool> isSettable(const Element &element, Attribute attribute) override
    {
        return timed(QStringLiteral("isSettable(%1)").arg(attributeName(attribute)),
                     [&] { return m_real.isSettable(element, attribute); });
    }
    bool write(const Element &element, Attribute attribute, const QVariant &value) override
    {
        return timed(QStringLiteral("write(%1)").arg(attributeName(attribute)),
                     [&] { return m_real.write(element, attribute, value); });
    }
    QCoro::Task<bool> writeAndConfirm(const Element &element, Attribute attribute, const QVariant &value) override
    {
        return timed(QStringLiteral("writeAndConfirm(%1)").arg(attributeName(attribute)),
                     [&] { return m_real.writeAndConfirm(element, attribute, value); });
    }
    bool isTerminal(const Element &element) override
    {
        return timed(QStringLiteral("isTerminal"), [&] { return m_real.isTerminal(element); });
    }
    platform::SubscriptionPtr observeFocus(qint64 pid, std::function<void()> changed) override
    {
        return m_real.observeFocus(pid, std::move(changed));
    }

private:
    platform::Accessibility &m_real;
};

class TimedPasteboard final : public platform::Pasteboard {
public:
    explicit TimedPasteboard(platform::Pasteboard &real) : m_real(real) {}
    QList<platform::TypedData> items() override
    {
        return timed(QStringLiteral("clipboard items"), [&] { return m_real.items(); });
    }
    platform::TypedData directData() override
    {
        return timed(QStringLiteral("clipboard directData"), [&] { return m_real.directData(); });
    }
    void clear() override
    {
        timed(QStringLiteral("clipboard clear"), [&] { m_real.clear(); });
    }
    void writeItems(const QList<platform::TypedData> &items) override
    {
        timed(QStringLiteral("clipboard writeItems"), [&] { m_real.writeItems(items); });
    }
    void setDirectData(const QString &type, const QByteArray &data) override
    {
        timed(QStringLiteral("clipboard setDirectData"), [&] { m_real.setDirectData(type, data); });
    }
    std::optional<QString> plainText() override
    {
        return timed(QStringLiteral("clipboard plainText"), [&] { return m_real.plainText(); });
    }
    qint64 changeCount() override { return m_real.changeCount(); }
    QCoro::Task<platform::ClipboardContents> readContents() override
    {
        return timed(QStringLiteral("clipboard readContents"), [&] { return m_real.readContents(); });
    }
    QCoro::Task<std::optional<QString>> readPlainText() override
    {
        return timed(QStringLiteral("clipboard readPlainText"), [&] { return m_real.readPlainText(); });
    }

private:
    platform::Pasteboard &m_real;
};

// The real desktop, counting the arrow presses a run sends.
class CountingPlatform final : public platform::Platform {
public:
    explicit CountingPlatform(platform::Platform &real)
        : m_real(real), m_keyboard(real.keyboard(), *this), m_accessibility(real.accessibility()),
          m_pasteboard(real.pasteboard())
    {
    }

    platform::Accessibility &accessibility() override { return m_accessibility; }
    platform::Keyboard &keyboard() override { return m_keyboard; }
    platform::Pasteboard &pasteboard() override { return m_pasteboard; }
    platform::Workspace &workspace() override { return m_real.workspace(); }
    platform::InputMonitor &input() override { return m_real.input(); }
    platform::Permissions &permissions() override { return m_real.permissions(); }
    platform::Desktop &desktop() override { return m_real.desktop(); }

    int arrows = 0;
    int keys = 0;

private:
    class Keyboard final : public platform::Keyboard {
    public:
        Keyboard(platform::Keyboard &real, CountingPlatform &counts) : m_real(real), m_counts(counts) {}
        QCoro::Task<> prepare(const QString &text) override { return m_real.prepare(text); }
        QCoro::Task<> typeGrapheme(const QString &grapheme) override
        {
            ++m_counts.keys;
            return timed(QStringLiteral("key"), [&] { return m_real.typeGrapheme(grapheme); });
        }
        QCoro::Task<> press(platform::Key key) override
        {
            ++m_counts.keys;
            if (key == platform::Key::Left || key == platform::Key::Right)
                ++m_counts.arrows;
            return timed(QStringLiteral("press"), [&] { return m_real.press(key); });
        }
        QCoro::Task<> shortcut(platform::Shortcut shortcut) override
        {
            ++m_counts.keys;
            return timed(QStringLiteral("shortcut"), [&] { return m_real.shortcut(shortcut); });
        }
        void finish() override { m_real.finish(); }
        void releaseAll() override { m_real.releaseAll(); }
        int backspacePresses(const QString &stretch) override { return m_real.backspacePresses(stretch); }
        int arrowPresses(const QString &stretch) override { return m_real.arrowPresses(stretch); }

    private:
        platform::Keyboard &m_real;
        CountingPlatform &m_counts;
    };

    platform::Platform &m_real;
    Keyboard m_keyboard;
    TimedAccessibility m_accessibility;
    TimedPasteboard m_pasteboard;
};

// Where a row types: one of the small target programs' text views, or a
// real editor's field.
struct Editor {
    std::optional<TargetApp::Kind> target;
    DocumentApp::Kind document = DocumentApp::Kind::Firefox;
    const char *field = "";
};

struct Row {
    const char *name;
    Editor editor;
    bool humanize;
    const char *review;
    bool tabs = false; // a tab opens each paragraph of the essay
};

struct Result {
    bool ran = false;
    QString lastPhase;
    bool exact = false;
    int wrong = -1;
    int rewritten = 0;
    double wallS = 0;
    double reviewS = 0;
    int keys = 0;
    int reviewKeys = 0;
    double arrowsPerChar = 0;
    int stalls = 0;
    double worstStallMs = 0;
    double ownCpu = 0;
    double targetCpu = 0;
};

// Gaps of this process's event loop over 100 ms while `on` holds: a timer
// that should fire every 5 ms, and the time since it last did.
class StallMeter {
public:
    explicit StallMeter(const std::function<bool()> &on) : m_on(on)
    {
        m_clock.start();
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.elapsed();
            const qint64 gap = now - m_last;
            m_last = now;
            const QStringList calls = CallLog::instance().take();
            if (!m_on() || gap <= kStallMs)
                return;
            ++stalls;
            worstMs = std::max(worstMs, double(gap));
            if (CallLog::instance().on)
                std::fprintf(stderr, "[%.3f] stall %lld ms: %s\n", double(CallLog::instance().clock.elapsed()) / 1000,
                             qint64(gap), qPrintable(calls.join(QStringLiteral("; "))));
        });
        m_timer.start();
    }

    static constexpr qint64 kStallMs = 100;
    int stalls = 0;
    double worstMs = 0;

private:
    std::function<bool()> m_on;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    QTimer m_timer;
};

// The program a row types into, started and with its field focused.
class Field {
public:
    explicit Field(const Editor &editor)
    {
        if (editor.target)
            m_target = std::make_unique<TargetApp>(*editor.target);
        else
            m_document = std::make_unique<DocumentApp>(editor.document, QString::fromLatin1(editor.field));
    }

    bool start(QString *why)
    {
        if (m_target)
            return m_target->start(why) && m_target->activate();
        return m_document->start(why) && m_document->activate();
    }
    qint64 pid() const { return m_target ? m_target->pid() : m_document->pid(); }

    Element focus(platform::Accessibility &ax)
    {
        if (m_target)
            m_target->command(QStringLiteral("focus view"));
        Element view;
        e2e::waitUntil(
            [&] {
                if (m_document)
                    m_document->activate();
                view = ax.systemFocusedElement();
                if (!view || view.pid() != pid())
                    return false;
                if (m_target)
                    return ax.read(view, Attribute::Role) == QVariant(platform::Roles::TextArea);
                return ax.read(view, Attribute::Editable) == QVariant(true)
                       && ax.read(view, Attribute::Value).has_value();
            },
            e2e::kStartMs);
        return view;
    }

    // The editor's own copy of its text: the target program's own dump, or
    // select all and copy in a real editor (without the one line break some
    // add to the end of a copy).
    std::optional<QString> text(platform::Pasteboard &pasteboard, const QString &intended)
    {
        if (m_target)
            return m_target->dump(QStringLiteral("view"));
        const qint64 before = pasteboard.changeCount();
        if (!m_document->activate() || !m_document->keys({QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")}))
            return std::nullopt;
        if (!e2e::waitUntil([&] { return pasteboard.changeCount() != before; }, e2e::kSettleMs))
            return std::nullopt;
        e2e::pump(200);
        std::optional<QString> copy = pasteboard.plainText();
        const auto breaksAtEnd = [](const QString &t) {
            qsizetype n = 0;
            while (n < t.size() && t.at(t.size() - 1 - n) == QLatin1Char('\n'))
                ++n;
            return n;
        };
        if (copy && breaksAtEnd(*copy) == breaksAtEnd(intended) + 1)
            copy->chop(1);
        return copy;
    }

private:
    std::unique_ptr<TargetApp> m_target;
    std::unique_ptr<DocumentApp> m_document;
};

Result runRow(const Row &row, const QString &text, linuxdesktop::LinuxPlatform &platform, QtScheduler &real,
              Scheduler &brisk, int wpm)
{
    Result out;
    Field target(row.editor);
    QString why;
    if (!target.start(&why)) {
        std::fprintf(stderr, "%s: cannot start the target: %s\n", row.name, qPrintable(why));
        return out;
    }
    auto &ax = platform.accessibility();
    const Element view = target.focus(ax);
    if (!view) {
        std::fprintf(stderr, "%s: no focused text field within %s\n", row.name,
                     qPrintable(e2e::seconds(e2e::kStartMs)));
        return out;
    }

    CountingPlatform counting(platform);
    SeededRandom random(2026);
    engine::TypingEngine engine(counting, brisk, random);
    bool done = false;
    double reviewFromMs = -1;
    int keysBeforeReview = 0;
    StallMeter meter([&] { return reviewFromMs >= 0 && !done; });
    const bool debug = qEnvironmentVariableIsSet("QUORVEL_BENCH_DEBUG");
    auto job = [&]() -> QCoro::Task<> {
        qv::engine::RunOptions options{.text = text,
                                       .review = QString::fromLatin1(row.review),
                                       .humanize = row.humanize,
                                       .targetWpm = wpm,
                                       .target = view,
                                       .onPhase =
                                           [&](engine::RunPhase phase) {
                                               out.lastPhase = engine::phaseName(phase);
                                               if (phase == engine::RunPhase::Editing && reviewFromMs < 0) {
                                                   reviewFromMs = real.nowMs();
                                                   keysBeforeReview = counting.keys;
                                               }
                                           },
                                       .onDebug =
                                           [&](const QString &line) {
                                               if (debug)
                                                   std::fprintf(stderr, "[%.3f] %s: %s\n",
                                                                double(CallLog::instance().clock.elapsed()) / 1000,
                                                                row.name, qPrintable(line));
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
    out.keys = counting.keys;
    out.reviewKeys = reviewFromMs >= 0 ? counting.keys - keysBeforeReview : 0;
    out.stalls = meter.stalls;
    out.worstStallMs = meter.worstMs;
    const QString intended = engine.lastIntendedText().isEmpty() ? text : engine.lastIntendedText();
    e2e::pump(500); // keys still on their way
    const auto own = target.text(platform.pasteboard(), intended);
    out.exact = own && *own == intended;
    // Off: what differs for any reason but the editor's own rewriting of
    // typed text (typographic quotes, tabs as spaces), counted apart.
    if (own) {
        const engine::FieldComparison compared = engine::compareField(*own, intended);
        out.wrong = compared.off;
        out.rewritten = compared.rewritten;
        if (debug) {
            for (const engine::FieldComparison::Stretch &stretch : compared.stretches)
                std::fprintf(
                    stderr, "%s: differs at %lld: \"%s\" where \"%s\" was meant\n", row.name, qint64(stretch.at),
                    qPrintable(own->mid(stretch.at, stretch.length).replace(QLatin1Char('\n'), QStringLiteral("⏎"))),
                    qPrintable(QString(stretch.replacement).replace(QLatin1Char('\n'), QStringLiteral("⏎"))));
        }
    } else {
        out.wrong = -1;
    }
    if (own && !out.exact) {
        qsizetype at = 0;
        while (at < own->size() && at < intended.size() && own->at(at) == intended.at(at))
            ++at;
        const auto shown = [&](const QString &t) {
            return t.mid(std::max<qsizetype>(at - 20, 0), 40).replace(QLatin1Char('\n'), QStringLiteral("⏎"));
        };
        std::fprintf(stderr, "%s: the editor holds %lld units for %lld; from unit %lld: \"%s\" for \"%s\"\n", row.name,
                     qint64(own->size()), qint64(intended.size()), qint64(at), qPrintable(shown(*own)),
                     qPrintable(shown(intended)));
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!qv::bench::insideDesktopSession(argv[0]))
        return 2;
    if (qEnvironmentVariableIsSet("QUORVEL_BENCH_DEBUG")) {
        // The backend's slow calls, timed, and kept for the stall they fall in.
        CallLog::instance().on = true;
        CallLog::instance().clock.start();
        QLoggingCategory::setFilterRules(QStringLiteral("quorvel.platform.calls.debug=true"));
        static QtMessageHandler previous = nullptr;
        previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &msg) {
            if (context.category && std::strcmp(context.category, "quorvel.platform.calls") == 0) {
                std::fprintf(stderr, "[%.3f] %s\n", double(CallLog::instance().clock.elapsed()) / 1000,
                             qPrintable(msg));
                CallLog::instance().note(msg);
                return;
            }
            if (previous)
                previous(type, context, msg);
        });
    }
    using Kind = TargetApp::Kind;
    using Doc = DocumentApp::Kind;
    const Row rows[] = {
        {"gtk-off", {Kind::Gtk}, false, "light"},
        {"gtk-on", {Kind::Gtk}, true, "heavy"},
        {"qt-off", {Kind::Qt}, false, "light"},
        {"qt-on", {Kind::Qt}, true, "heavy"},
        {"chromium-off", {Kind::Chromium}, false, "light"},
        {"chromium-on", {Kind::Chromium}, true, "heavy"},
        {"chromium-rich-on", {std::nullopt, Doc::Chromium, "rich"}, true, "heavy", true},
        {"firefox-area-on", {std::nullopt, Doc::Firefox, "area"}, true, "heavy", true},
        {"firefox-rich-on", {std::nullopt, Doc::Firefox, "rich"}, true, "heavy", true},
        {"kwrite-on", {std::nullopt, Doc::KWrite, ""}, true, "heavy", true},
        {"writer-on", {std::nullopt, Doc::Writer, ""}, true, "heavy", true},
    };
    const QStringList wanted = app.arguments().mid(1);
    for (const QString &name : wanted) {
        if (std::none_of(std::begin(rows), std::end(rows),
                         [&](const Row &row) { return name == QLatin1String(row.name); })) {
            std::fprintf(stderr, "no row named %s\n", qPrintable(name));
            return 2;
        }
    }
    // A row that could not run is a failed benchmark, not a row of dashes.
    QStringList notRun;
    const double factor = qEnvironmentVariableIsSet("QUORVEL_E2E_PACE")
                              ? qEnvironmentVariable("QUORVEL_E2E_PACE").toDouble()
                              : 20.0;
    const int wpm = qEnvironmentVariableIsSet("QUORVEL_BENCH_WPM") ? qEnvironmentVariableIntValue("QUORVEL_BENCH_WPM")
                                                                   : 250;
    QtScheduler real;
    e2e::BriskScheduler brisk(real, factor);
    linuxdesktop::LinuxPlatform platform(real);
    const QString text = QString::fromUtf8(kSampleText);
    QString tabbed = text;
    tabbed.replace(QStringLiteral("\n\n"), QStringLiteral("\n\n\t"));
    std::printf("text: %d characters; %d WPM, pauses shortened %.0fx\n", text::graphemeCount(text), wpm, factor);
    std::printf("%-17s %-5s %-6s %5s %5s %5s %7s %8s %6s %7s %7s %8s %6s %7s %6s  %s\n", "row", "human", "review",
                "exact", "off", "rewr", "wall s", "review s", "rev %", "keys", "rev key", "arrow/ch", "stalls", "worst",
                "cpu %", "target cpu %  (last phase)");
    std::fflush(stdout);
    for (const Row &row : rows) {
        if (!wanted.isEmpty() && !wanted.contains(QString::fromLatin1(row.name)))
            continue;
        const Result r = runRow(row, row.tabs ? tabbed : text, platform, real, brisk, wpm);
        // The review's share of the typing before it.
        const double typingS = r.wallS - r.reviewS;
        std::printf("%-17s %-5s %-6s %5s %5d %5d %7.1f %8.1f %6.1f %7d %7d %8.2f %6d %7.0f %6.1f  %.1f (%s)\n",
                    row.name, row.humanize ? "on" : "off", row.review,
                    !r.ran         ? "-"
                    : r.exact      ? "yes"
                    : r.wrong == 0 ? "rewr"
                                   : "NO",
                    r.wrong, r.rewritten, r.wallS, r.reviewS, typingS > 0 ? 100.0 * r.reviewS / typingS : 0.0, r.keys,
                    r.reviewKeys, r.arrowsPerChar, r.stalls, r.worstStallMs, r.ownCpu, r.targetCpu,
                    qPrintable(r.lastPhase));
        std::fflush(stdout);
        if (!r.ran)
            notRun.append(QString::fromLatin1(row.name));
    }
    if (!notRun.isEmpty()) {
        std::fprintf(stderr, "could not run: %s\n", qPrintable(notRun.join(QStringLiteral(", "))));
        return 1;
    }
    return 0;
}
