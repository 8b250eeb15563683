#pragma once

#include "platform/InputMonitor.h"

#include <QList>
#include <QObject>

#include <functional>

struct _XDisplay;
class QSocketNotifier;

namespace qv::linuxdesktop {

// Left-button releases. Global ones come from XInput 2 raw events on the
// root window, which see every click whoever receives it; clicks that land
// on our own windows are dropped there (the local monitor reports them).
// Local ones come from an application-wide event filter.
class X11InputMonitor final : public QObject, public platform::InputMonitor {
public:
    // `pointerLocation` gives the pointer now; `pidAt` the process that owns
    // the window at a point.
    X11InputMonitor(std::function<std::optional<QPoint>()> pointerLocation, std::function<qint64(QPoint)> pidAt,
                    qint64 ownPid, QObject *parent = nullptr);
    ~X11InputMonitor() override;

    bool globalAvailable() const { return m_display != nullptr; }

    platform::SubscriptionPtr addGlobalLeftMouseUp(Handler handler) override;
    platform::SubscriptionPtr addLocalLeftMouseUp(Handler handler) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class Token;
    struct Entry {
        quint64 id;
        Handler handler;
    };
    void drainEvents();
    void remove(quint64 id);
    void dispatch(const QList<Entry> &entries, QPoint point);

    std::function<std::optional<QPoint>()> m_pointer;
    std::function<qint64(QPoint)> m_pidAt;
    qint64 m_ownPid;
    _XDisplay *m_display = nullptr;
    int m_xiOpcode = 0;
    QSocketNotifier *m_notifier = nullptr;
    QList<Entry> m_global;
    QList<Entry> m_local;
    bool m_filterInstalled = false;
    quint64 m_nextId = 1;
};

} // namespace qv::linuxdesktop
