#include "platform/linux/X11SelectionReader.h"

#include "core/Scheduler.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace qv::linuxdesktop {

namespace {

// How often the connection is looked at while a request is under way: short
// against an owner's answer, long against the loop's other work.
constexpr double kPollMs = 2;
// Properties are fetched whole: the owner sends anything larger in
// increments.
constexpr long kWholeProperty = 0x1fffffff;

} // namespace

X11SelectionReader::X11SelectionReader(Scheduler &scheduler) : m_scheduler(scheduler)
{
    m_display = XOpenDisplay(nullptr);
    if (!m_display)
        return;
    m_window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 1, 1, 0, 0, 0);
    // Increments arrive as property changes on our window.
    XSelectInput(m_display, m_window, PropertyChangeMask);
    m_clipboard = XInternAtom(m_display, "CLIPBOARD", False);
    m_property = XInternAtom(m_display, "QUORVEL_CLIPBOARD_READ", False);
    m_incr = XInternAtom(m_display, "INCR", False);
    XFlush(m_display);
}

X11SelectionReader::~X11SelectionReader()
{
    if (!m_display)
        return;
    XDestroyWindow(m_display, m_window);
    XCloseDisplay(m_display);
}

QString X11SelectionReader::answerText(Answer answer)
{
    switch (answer) {
    case Answer::Ok:
        return QStringLiteral("read");
    case Answer::Refused:
        return QStringLiteral("refused by its owner");
    case Answer::TimedOut:
        return QStringLiteral("timed out");
    case Answer::Failed:
        return QStringLiteral("failed");
    }
    return {};
}

QByteArray X11SelectionReader::takeProperty(bool &incr, bool &ok)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    incr = false;
    ok = XGetWindowProperty(m_display, m_window, m_property, 0, kWholeProperty, True, AnyPropertyType, &type, &format,
                            &count, &after, &data)
         == Success;
    QByteArray out;
    if (ok && data) {
        incr = type == m_incr;
        if (format == 8) {
            out = QByteArray(reinterpret_cast<const char *>(data), qsizetype(count));
        } else if (format == 16) {
            // Xlib hands 16-bit items as shorts, 32-bit ones as longs: the
            // bytes kept are the items at their own width.
            const auto *items = reinterpret_cast<const short *>(data);
            for (unsigned long i = 0; i < count; ++i) {
                const std::uint16_t v = std::uint16_t(items[i]);
                out.append(reinterpret_cast<const char *>(&v), sizeof v);
            }
        } else if (format == 32) {
            const auto *items = reinterpret_cast<const long *>(data);
            for (unsigned long i = 0; i < count; ++i) {
                const std::uint32_t v = std::uint32_t(items[i]);
                out.append(reinterpret_cast<const char *>(&v), sizeof v);
            }
        }
    }
    if (data)
        XFree(data);
    return out;
}

void X11SelectionReader::pump()
{
    while (XPending(m_display) > 0) {
        XEvent ev;
        XNextEvent(m_display, &ev);
        if (!m_pending || m_pending->done)
            continue; // a late answer to a request given up on
        Pending &p = *m_pending;
        if (ev.type == SelectionNotify && ev.xselection.requestor == m_window && ev.xselection.selection == m_clipboard
            && ev.xselection.target == p.target && !p.notified) {
            p.notified = true;
            if (ev.xselection.property == None) {
                p.result.answer = Answer::Refused;
                p.done = true;
                continue;
            }
            bool incr = false;
            bool ok = false;
            QByteArray data = takeProperty(incr, ok);
            if (!ok) {
                p.result.answer = Answer::Failed;
                p.done = true;
            } else if (incr) {
                // Taking the property asked the owner for the first piece.
                p.incr = true;
            } else {
                p.result = Read{Answer::Ok, std::move(data)};
                p.done = true;
            }
        } else if (ev.type == PropertyNotify && ev.xproperty.window == m_window && ev.xproperty.atom == m_property
                   && ev.xproperty.state == PropertyNewValue && p.incr) {
            bool incr = false;
            bool ok = false;
            const QByteArray piece = takeProperty(incr, ok);
            if (!ok) {
                p.result = Read{Answer::Failed, {}};
                p.done = true;
            } else if (piece.isEmpty()) {
                p.result.answer = Answer::Ok; // an empty piece ends the transfer
                p.done = true;
            } else {
                p.result.data.append(piece);
                p.progressed = true;
            }
        }
    }
}

QCoro::Task<X11SelectionReader::Read> X11SelectionReader::request(QByteArray target, qint64 timeoutNs)
{
    if (!m_display)
        co_return Read{};
    qint64 deadline = m_scheduler.nowNs() + timeoutNs;
    while (m_busy) {
        if (m_scheduler.nowNs() >= deadline)
            co_return Read{Answer::TimedOut, {}};
        co_await m_scheduler.sleep(kPollMs);
    }
    m_busy = true;
    // Whatever an earlier, abandoned request left.
    XDeleteProperty(m_display, m_window, m_property);
    pump();
    m_pending = Pending{};
    m_pending->target = XInternAtom(m_display, target.constData(), False);
    XConvertSelection(m_display, m_clipboard, m_pending->target, m_property, m_window, CurrentTime);
    XFlush(m_display);
    for (;;) {
        pump();
        if (m_pending->done)
            break;
        if (m_pending->progressed) {
            // A large transfer is timed piece by piece.
            m_pending->progressed = false;
            deadline = m_scheduler.nowNs() + timeoutNs;
        }
        if (m_scheduler.nowNs() >= deadline) {
            m_pending->result = Read{Answer::TimedOut, {}};
            break;
        }
        co_await m_scheduler.sleep(kPollMs);
    }
    Read result = std::move(m_pending->result);
    m_pending.reset();
    if (result.answer != Answer::Ok)
        XDeleteProperty(m_display, m_window, m_property);
    XFlush(m_display);
    m_busy = false;
    co_return result;
}

QCoro::Task<X11SelectionReader::Read> X11SelectionReader::read(QByteArray target, qint64 timeoutNs)
{
    return request(std::move(target), timeoutNs);
}

QCoro::Task<std::optional<QList<QByteArray>>> X11SelectionReader::targets(qint64 timeoutNs)
{
    const Read read = co_await request(QByteArrayLiteral("TARGETS"), timeoutNs);
    if (read.answer != Answer::Ok)
        co_return std::nullopt;
    const qsizetype count = read.data.size() / qsizetype(sizeof(std::uint32_t));
    std::vector<Atom> atoms(std::size_t(count), None);
    for (qsizetype i = 0; i < count; ++i) {
        std::uint32_t v = 0;
        std::memcpy(&v, read.data.constData() + i * qsizetype(sizeof v), sizeof v);
        atoms[std::size_t(i)] = Atom(v);
    }
    QList<QByteArray> names;
    if (atoms.empty())
        co_return names;
    std::vector<char *> raw(atoms.size(), nullptr);
    if (!XGetAtomNames(m_display, atoms.data(), int(atoms.size()), raw.data())) {
        // One unknown atom fails them all: ask one by one.
        std::fill(raw.begin(), raw.end(), nullptr);
        for (std::size_t i = 0; i < atoms.size(); ++i)
            raw[i] = XGetAtomName(m_display, atoms[i]);
    }
    for (char *name : raw) {
        if (!name)
            continue;
        const QByteArray n(name);
        XFree(name);
        if (!n.isEmpty() && !names.contains(n))
            names.append(n);
    }
    co_return names;
}

} // namespace qv::linuxdesktop
