#pragma once

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

typedef struct _XDisplay Display;

namespace qv {
class Scheduler;
}

namespace qv::linuxdesktop {

// Reads the CLIPBOARD selection of another application without blocking the
// event loop: each request goes out on a connection of its own and is
// awaited, polling that connection while the loop runs. Large contents
// arrive in increments (the INCR protocol). Requests are served one at a
// time.
class X11SelectionReader {
public:
    enum class Answer {
        Ok,       // `data` holds the bytes (possibly none)
        Refused,  // the owner could not give this target
        TimedOut, // the owner did not answer in time
        Failed,   // no connection, or the transfer broke off
    };
    struct Read {
        Answer answer = Answer::Failed;
        QByteArray data;
    };

    explicit X11SelectionReader(Scheduler &scheduler);
    ~X11SelectionReader();
    X11SelectionReader(const X11SelectionReader &) = delete;
    X11SelectionReader &operator=(const X11SelectionReader &) = delete;

    bool usable() const { return m_display != nullptr; }

    // The targets the owner lists, by atom name, in its order.
    QCoro::Task<std::optional<QList<QByteArray>>> targets(qint64 timeoutNs);
    // The bytes the owner gives for one target.
    QCoro::Task<Read> read(QByteArray target, qint64 timeoutNs);

    static QString answerText(Answer answer);

private:
    QCoro::Task<Read> request(QByteArray target, qint64 timeoutNs);
    // Handles the events that came; true once the pending request ended.
    void pump();
    QByteArray takeProperty(bool &incr, bool &ok);

    Scheduler &m_scheduler;
    Display *m_display = nullptr;
    unsigned long m_window = 0;
    unsigned long m_clipboard = 0;
    unsigned long m_property = 0;
    unsigned long m_incr = 0;
    bool m_busy = false;
    // The request under way.
    struct Pending {
        unsigned long target = 0;
        bool notified = false; // the owner answered the conversion
        bool incr = false;     // the data comes in increments
        bool progressed = false; // a piece came since last looked
        bool done = false;
        Read result;
    };
    std::optional<Pending> m_pending;
};

} // namespace qv::linuxdesktop
