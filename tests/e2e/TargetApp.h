#pragma once

#include <QCoro/QCoroTask>
#include <QPointer>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <optional>
#include <utility>

namespace qv::e2e {

// How long a program may take to start (its process, its window, its first
// answer), and the desktop to follow it (a window in front, a field
// focused), on a small machine crowded with other work. Every wait ends as
// soon as what it waits for holds, so a quiet machine never waits this long.
inline constexpr int kStartMs = 90000;
inline constexpr int kSettleMs = 45000;

// "12.3 s": a time for a message.
QString seconds(qint64 ms);
// A start that took long is worth a line on the error stream (every start
// with QUORVEL_E2E_VERBOSE): it tells a loaded machine from a program that
// waits on something.
void noteSlowStart(const QString &program, qint64 elapsedMs);

// One of the small target programs, started for a test and driven by line
// commands; each command is answered by one line. The GTK and Qt programs
// read them on their standard input; the Chromium page (a <textarea> "view",
// an <input> "entry" and a contenteditable "rich") fetches them from a
// loopback server of the test's own, on a free port.
//   focus view|entry        bring the window to the front, focus the widget
//   set view|entry TEXT     replace the widget's text (\n and \t escaped)
//   dump view|entry PATH    write the widget's own text to PATH
//                           (Chromium: "dump WHICH" answers "text JSON")
//   sel view|entry          "sel START END" of the widget's own selection,
//                           in UTF-16 units of its text
//   geom view|entry         "geom X Y W H" of the widget, global
//   clip                    (GTK) own the clipboard with several types
//   readclip TARGET         "clip TARGET HEX" of the clipboard ("-": none)
//   dialog                  (Qt) open a dialog whose line edit ("dialog" as the
//                           widget) would press the default OK on Return
//   dialogstate             (Qt) "dialogstate VISIBLE ACCEPTED" of that dialog
//   hang SECONDS            stop answering for a while
//   quit
class TargetApp {
public:
    enum class Kind { Gtk, Qt, Chromium };

    explicit TargetApp(Kind kind);
    ~TargetApp();
    TargetApp(const TargetApp &) = delete;
    TargetApp &operator=(const TargetApp &) = delete;

    // Starts the program and waits for its window; false with a reason.
    bool start(QString *why = nullptr);
    qint64 pid() const { return m_pid; }
    Kind kind() const { return m_kind; }

    // Sends a command and returns its answer (empty after a time-out). The
    // event loop runs meanwhile, so the program may talk to us.
    QString command(const QString &line, int timeoutMs = 5000);
    // The widget's own text, read by the program itself.
    std::optional<QString> dump(const QString &which);
    QRect geometry(const QString &which);
    // The widget's own selection (start, end), as it reports it.
    std::optional<std::pair<qint64, qint64>> selection(const QString &which);
    bool set(const QString &which, const QString &text);
    // Activates the program's window through the window manager.
    bool activate();
    void kill();

private:
    std::optional<QString> nextLine(int timeoutMs);
    QString startFailure(const QString &program, const QString &what, qint64 elapsedMs) const;
    bool startChromium(QString *why);
    void serveRequest(QTcpSocket *socket);
    void answerHeld(const QByteArray &body);

    Kind m_kind;
    QProcess m_process;
    QByteArray m_buffer;
    qint64 m_pid = 0;
    QTemporaryDir m_dir;
    int m_dumps = 0;
    // Chromium: the page's requests; the one held open carries the next command.
    QTcpServer *m_server = nullptr;
    QPointer<QTcpSocket> m_held;
    std::optional<QByteArray> m_queued;
    QTimer m_idle;
};

// Runs the event loop until `done` holds or the time is up.
bool waitUntil(const std::function<bool()> &done, int timeoutMs);
// Runs the event loop for a while.
void pump(int ms);
// Runs a short helper program with the event loop running; its output, or
// nothing when it failed or did not end within `timeoutMs`.
std::optional<QByteArray> runTool(const QString &program, const QStringList &arguments, int timeoutMs = 30000);

// Runs a coroutine on the real clock, with the event loop running.
template <typename T>
std::optional<T> runReal(QCoro::Task<T> task, int timeoutMs = 30000)
{
    std::optional<T> result;
    bool finished = false;
    auto wrapper = [&](QCoro::Task<T> t) -> QCoro::Task<> {
        result = co_await std::move(t);
        finished = true;
    };
    auto running = wrapper(std::move(task));
    waitUntil([&] { return finished; }, timeoutMs);
    return result;
}

bool runReal(QCoro::Task<> task, int timeoutMs = 30000);

} // namespace qv::e2e
