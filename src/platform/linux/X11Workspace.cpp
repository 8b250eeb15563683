#include "platform/linux/X11Workspace.h"

#include "core/Scheduler.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSocketNotifier>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <unistd.h>

namespace qv::linuxdesktop {

namespace {

// Reads a CARDINAL/WINDOW property of 32-bit items; 0 when absent.
unsigned long readLongProperty(Display *dpy, Window window, Atom property, Atom type)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    unsigned long value = 0;
    if (XGetWindowProperty(dpy, window, property, 0, 1, False, type, &actualType, &format, &count, &after, &data)
        == Success) {
        if (data && format == 32 && count >= 1)
            value = *reinterpret_cast<unsigned long *>(data);
    }
    if (data)
        XFree(data);
    return value;
}

bool hasProperty(Display *dpy, Window window, Atom property)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    const bool ok = XGetWindowProperty(dpy, window, property, 0, 0, False, AnyPropertyType, &actualType, &format,
                                       &count, &after, &data)
                        == Success
                    && actualType != 0;
    if (data)
        XFree(data);
    return ok;
}

// Errors about windows that vanished between two requests are expected.
int ignoreXErrors(Display *, XErrorEvent *) { return 0; }

QString desktopIdFromEnvironment(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/environ").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> vars = f.readAll().split('\0');
    for (const char *key : {"GIO_LAUNCHED_DESKTOP_FILE=", "BAMF_DESKTOP_FILE_HINT="}) {
        for (const QByteArray &v : vars) {
            if (v.startsWith(key)) {
                QString id = QFileInfo(QString::fromLocal8Bit(v.mid(qstrlen(key)))).fileName();
                if (id.endsWith(QLatin1String(".desktop")))
                    id.chop(8);
                if (!id.isEmpty())
                    return id;
            }
        }
    }
    return {};
}

} // namespace

X11Workspace::X11Workspace(Scheduler &scheduler, QObject *parent) : platform::Workspace(parent), m_scheduler(scheduler)
{
    m_query = XOpenDisplay(nullptr);
    m_events = XOpenDisplay(nullptr);
    if (!m_query || !m_events) {
        if (m_query)
            XCloseDisplay(m_query);
        if (m_events)
            XCloseDisplay(m_events);
        m_query = m_events = nullptr;
        return;
    }
    XSetErrorHandler(ignoreXErrors);
    m_atomActive = XInternAtom(m_query, "_NET_ACTIVE_WINDOW", False);
    m_atomPid = XInternAtom(m_query, "_NET_WM_PID", False);
    m_atomWmState = XInternAtom(m_query, "WM_STATE", False);
    m_atomClipboard = XInternAtom(m_query, "CLIPBOARD", False);
    XSelectInput(m_events, DefaultRootWindow(m_events), PropertyChangeMask);
    XFlush(m_events);
    m_notifier = new QSocketNotifier(ConnectionNumber(m_events), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { drainEvents(); });
    m_announcedPid = frontmostPid();
}

X11Workspace::~X11Workspace()
{
    delete m_notifier;
    if (m_events)
        XCloseDisplay(m_events);
    if (m_query)
        XCloseDisplay(m_query);
}

void X11Workspace::drainEvents()
{
    bool changed = false;
    while (XPending(m_events) > 0) {
        XEvent ev;
        XNextEvent(m_events, &ev);
        if (ev.type == PropertyNotify && ev.xproperty.atom == m_atomActive)
            changed = true;
    }
    if (changed)
        activeWindowChanged();
}

void X11Workspace::activeWindowChanged()
{
    const qint64 pid = frontmostPid();
    if (pid == 0) {
        // Between two windows: look again once the gap may have closed.
        if (!m_recheckPending) {
            m_recheckPending = true;
            QPointer<X11Workspace> self(this);
            m_scheduler.scheduleNs(FrontmostDebounce::kGapNs + 10'000'000, [self] {
                if (!self)
                    return;
                self->m_recheckPending = false;
                self->activeWindowChanged();
            });
        }
        return;
    }
    if (pid == m_announcedPid)
        return;
    m_announcedPid = pid;
    emit applicationActivated(appInfo(pid));
}

qint64 X11Workspace::activeWindowPid()
{
    if (!m_query)
        return 0;
    const Window root = DefaultRootWindow(m_query);
    const Window active = readLongProperty(m_query, root, m_atomActive, XA_WINDOW);
    if (active == 0)
        return 0;
    return pidOfWindow(active);
}

qint64 X11Workspace::frontmostPid() { return m_debounce.observe(activeWindowPid(), m_scheduler.nowNs()); }

qint64 X11Workspace::pidOfWindow(unsigned long window)
{
    if (!m_query || window == 0)
        return 0;
    if (const unsigned long pid = readLongProperty(m_query, window, m_atomPid, XA_CARDINAL))
        return qint64(pid);
    const Window client = clientWindowOf(window, 0);
    if (client != 0 && client != window)
        return qint64(readLongProperty(m_query, client, m_atomPid, XA_CARDINAL));
    return 0;
}

unsigned long X11Workspace::clientWindowOf(unsigned long window, int depth)
{
    if (hasProperty(m_query, window, m_atomWmState))
        return window;
    if (depth >= 4)
        return 0;
    Window rootRet = 0;
    Window parentRet = 0;
    Window *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(m_query, window, &rootRet, &parentRet, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned int i = count; i > 0 && found == 0; --i)
        found = clientWindowOf(children[i - 1], depth + 1);
    if (children)
        XFree(children);
    return found;
}

qint64 X11Workspace::pidOfWindowAt(QPoint global)
{
    if (!m_query)
        return 0;
    const Window root = DefaultRootWindow(m_query);
    Window child = 0;
    int x = 0;
    int y = 0;
    if (!XTranslateCoordinates(m_query, root, root, global.x(), global.y(), &x, &y, &child) || child == 0)
        return 0;
    return pidOfWindow(child);
}

quint64 X11Workspace::clipboardOwner()
{
    if (!m_query)
        return 0;
    return quint64(XGetSelectionOwner(m_query, m_atomClipboard));
}

std::optional<platform::AppInfo> X11Workspace::frontmostApplication()
{
    const qint64 pid = frontmostPid();
    if (pid <= 0)
        return std::nullopt;
    return appInfo(pid);
}

platform::AppInfo X11Workspace::appInfo(qint64 pid)
{
    const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    // A recycled process id runs another program: look again then.
    const auto cached = m_appInfo.constFind(pid);
    if (cached != m_appInfo.constEnd() && cached->first == exe)
        return cached->second;
    platform::AppInfo info;
    info.pid = pid;
    // The kernel's short name is cut at 15 characters: the executable's
    // name first.
    info.name = QFileInfo(exe).fileName();
    if (info.name.isEmpty()) {
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        if (comm.open(QIODevice::ReadOnly))
            info.name = QString::fromLocal8Bit(comm.readAll()).trimmed();
    }
    info.bundleId = desktopIdFromEnvironment(pid);
    if (info.bundleId.isEmpty())
        info.bundleId = exe;
    m_appInfo.insert(pid, {exe, info});
    return info;
}

qint64 X11Workspace::ownPid() const { return qint64(::getpid()); }

std::optional<QPoint> X11Workspace::pointerLocation()
{
    if (!m_query)
        return std::nullopt;
    Window rootRet = 0;
    Window childRet = 0;
    int rootX = 0;
    int rootY = 0;
    int winX = 0;
    int winY = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(m_query, DefaultRootWindow(m_query), &rootRet, &childRet, &rootX, &rootY, &winX, &winY, &mask))
        return std::nullopt;
    return QPoint(rootX, rootY);
}

bool X11Workspace::openUrl(const QUrl &url) { return url.isValid() && QDesktopServices::openUrl(url); }

} // namespace qv::linuxdesktop
