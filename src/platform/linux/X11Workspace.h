#pragma once

#include "platform/Workspace.h"
#include "platform/linux/FrontmostDebounce.h"

#include <QHash>
#include <QPair>

#include <memory>

struct _XDisplay;
class QSocketNotifier;

namespace qv {
class Scheduler;
}

namespace qv::linuxdesktop {

// Applications and the pointer on an X11 desktop: the frontmost application
// is the process of the window manager's active window (EWMH), watched for
// changes on the root window.
class X11Workspace final : public platform::Workspace {
    Q_OBJECT
public:
    explicit X11Workspace(Scheduler &scheduler, QObject *parent = nullptr);
    ~X11Workspace() override;

    bool isConnected() const { return m_query != nullptr; }

    std::optional<platform::AppInfo> frontmostApplication() override;
    qint64 ownPid() const override;
    std::optional<QPoint> pointerLocation() override;
    bool openUrl(const QUrl &url) override;

    // Process id of the active window, debounced (0 when none).
    qint64 frontmostPid();
    // Process id of the topmost application window at a global point (0
    // when unknown).
    qint64 pidOfWindowAt(QPoint global);
    // Window id of the clipboard's current owner (0 when none).
    quint64 clipboardOwner();
    // What we know of a process: its name and a stable id.
    platform::AppInfo appInfo(qint64 pid);

private:
    void drainEvents();
    void activeWindowChanged();
    qint64 activeWindowPid();
    qint64 pidOfWindow(unsigned long window);
    unsigned long clientWindowOf(unsigned long window, int depth);

    Scheduler &m_scheduler;
    _XDisplay *m_query = nullptr;  // round trips
    _XDisplay *m_events = nullptr; // root window property changes only
    QSocketNotifier *m_notifier = nullptr;
    FrontmostDebounce m_debounce;
    qint64 m_announcedPid = 0;
    bool m_recheckPending = false;
    QHash<qint64, QPair<QString, platform::AppInfo>> m_appInfo; // by pid, with its executable
    unsigned long m_atomActive = 0;
    unsigned long m_atomPid = 0;
    unsigned long m_atomWmState = 0;
    unsigned long m_atomClipboard = 0;
};

} // namespace qv::linuxdesktop
