#include "platform/linux/X11InputMonitor.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace qv::linuxdesktop {

class X11InputMonitor::Token final : public platform::Subscription {
public:
    Token(X11InputMonitor *owner, quint64 id) : m_owner(owner), m_id(id) {}
    ~Token() override
    {
        if (m_owner)
            m_owner->remove(m_id);
    }

private:
    QPointer<X11InputMonitor> m_owner;
    quint64 m_id;
};

X11InputMonitor::X11InputMonitor(std::function<std::optional<QPoint>()> pointerLocation,
                                 std::function<qint64(QPoint)> pidAt, qint64 ownPid, QObject *parent)
    : QObject(parent), m_pointer(std::move(pointerLocation)), m_pidAt(std::move(pidAt)), m_ownPid(ownPid)
{
    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy)
        return;
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(dpy, "XInputExtension", &m_xiOpcode, &event, &error)
        || XIQueryVersion(dpy, &major, &minor) != Success || major < 2) {
        XCloseDisplay(dpy);
        return;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawButtonRelease);
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof bits;
    mask.mask = bits;
    XISelectEvents(dpy, DefaultRootWindow(dpy), &mask, 1);
    XFlush(dpy);
    m_display = dpy;
    m_notifier = new QSocketNotifier(ConnectionNumber(dpy), QSocketNotifier::Read, this);
    m_notifier->setEnabled(false); // listens only while someone subscribes
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { drainEvents(); });
}

X11InputMonitor::~X11InputMonitor()
{
    if (m_filterInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    delete m_notifier;
    if (m_display)
        XCloseDisplay(m_display);
}

void X11InputMonitor::drainEvents()
{
    bool released = false;
    while (XPending(m_display) > 0) {
        XEvent ev;
        XNextEvent(m_display, &ev);
        if (ev.xcookie.type != GenericEvent || ev.xcookie.extension != m_xiOpcode)
            continue;
        if (XGetEventData(m_display, &ev.xcookie)) {
            if (ev.xcookie.evtype == XI_RawButtonRelease) {
                const auto *raw = static_cast<XIRawEvent *>(ev.xcookie.data);
                if (raw->detail == 1)
                    released = true;
            }
            XFreeEventData(m_display, &ev.xcookie);
        }
    }
    if (!released || m_global.isEmpty())
        return;
    // Raw events carry no position: the pointer has not moved since.
    const std::optional<QPoint> point = m_pointer ? m_pointer() : std::nullopt;
    if (!point)
        return;
    if (m_pidAt && m_pidAt(*point) == m_ownPid)
        return;
    dispatch(m_global, *point);
}

void X11InputMonitor::dispatch(const QList<Entry> &entries, QPoint point)
{
    // A handler may unsubscribe (itself or others): call from a copy, and
    // only those still subscribed.
    const QList<Entry> copy = entries;
    for (const Entry &e : copy) {
        const bool still = std::any_of(m_global.begin(), m_global.end(), [&](const Entry &x) { return x.id == e.id; })
                           || std::any_of(m_local.begin(), m_local.end(), [&](const Entry &x) { return x.id == e.id; });
        if (still && e.handler)
            e.handler(point);
    }
}

platform::SubscriptionPtr X11InputMonitor::addGlobalLeftMouseUp(Handler handler)
{
    if (!m_display)
        return nullptr;
    const quint64 id = m_nextId++;
    m_global.append({id, std::move(handler)});
    if (!m_notifier->isEnabled()) {
        // Drop clicks that happened while nobody listened.
        while (XPending(m_display) > 0) {
            XEvent ev;
            XNextEvent(m_display, &ev);
        }
        m_notifier->setEnabled(true);
    }
    return std::make_unique<Token>(this, id);
}

platform::SubscriptionPtr X11InputMonitor::addLocalLeftMouseUp(Handler handler)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return nullptr;
    const quint64 id = m_nextId++;
    m_local.append({id, std::move(handler)});
    if (!m_filterInstalled) {
        app->installEventFilter(this);
        m_filterInstalled = true;
    }
    return std::make_unique<Token>(this, id);
}

void X11InputMonitor::remove(quint64 id)
{
    m_global.removeIf([id](const Entry &e) { return e.id == id; });
    m_local.removeIf([id](const Entry &e) { return e.id == id; });
    if (m_global.isEmpty() && m_notifier)
        m_notifier->setEnabled(false);
}

bool X11InputMonitor::eventFilter(QObject *watched, QEvent *event)
{
    // Each release reaches the filter once per object it travels through;
    // windows get it first, so count it there only.
    if (event->type() == QEvent::MouseButtonRelease && !m_local.isEmpty() && watched->isWindowType()) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            dispatch(m_local, mouse->globalPosition().toPoint());
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qv::linuxdesktop
