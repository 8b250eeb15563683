#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace qv::state {

// Runs a flush when the application quits and when the process gets SIGTERM,
// SIGINT or SIGHUP, so debounced preference writes are not lost. A signal
// only wakes the event loop (a byte on a socket pair); the flush and the quit
// that follows run there, never inside the signal handler. One instance per
// process.
class TerminationFlush final : public QObject {
    Q_OBJECT
public:
    explicit TerminationFlush(std::function<void()> flush, QObject *parent = nullptr);
    ~TerminationFlush() override;

    // Installs the signal handlers; false when the socket pair cannot be made.
    bool installSignalHandlers();

    // What a delivered signal does on the event loop; public for tests.
    void handleTermination(int signalNumber);

signals:
    void terminationRequested(int signalNumber);

private:
    static void onSignal(int signalNumber);
    void readSignal();

    std::function<void()> m_flush;
    QSocketNotifier *m_notifier = nullptr;
    bool m_installed = false;
};

} // namespace qv::state
