#pragma once

#include "platform/Workspace.h"

#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace qv::sim {

class SimDesktop;
class SimElement;

// One application of the simulated desktop: its process, its application
// element and its windows. Made by SimDesktop::addApp and kept until the
// desktop goes, also after it quits.
class SimApp {
public:
    SimApp(SimDesktop &desktop, qint64 pid, QString name, QString bundleId);
    ~SimApp();
    SimApp(const SimApp &) = delete;
    SimApp &operator=(const SimApp &) = delete;

    SimDesktop &desktop() const { return m_desktop; }
    qint64 pid() const { return m_pid; }
    QString name() const { return m_name; }
    QString bundleId() const { return m_bundleId; }
    void setName(const QString &name) { m_name = name; }
    void setBundleId(const QString &bundleId) { m_bundleId = bundleId; }
    platform::AppInfo info() const { return {m_pid, m_name, m_bundleId}; }

    // A new window (role "window") that holds the elements added to it. It
    // opens on top when the application is frontmost, else just behind the
    // frontmost application's windows, and becomes the application's key window.
    SimElement &addWindow(QRect frame, const QString &title = {});
    SimElement &applicationElement() { return *m_root; }
    // Its windows, front to back.
    std::vector<SimElement *> windows() const;
    // The frontmost of its windows, whose focus is the application's focus.
    SimElement *keyWindow() const;
    // The element with the application's keyboard focus (null when none).
    SimElement *focusedElement() const;

    // Brings the application to the front (like SimDesktop::activate).
    void activate();
    bool isFrontmost() const;
    // A hung application answers every accessibility query as absent and
    // queues the keys it gets until it recovers.
    void setHung(bool hung);
    bool isHung() const { return m_hung; }
    // Quits: its windows go, its elements answer nothing, keys go elsewhere.
    void quit();
    bool isRunning() const { return m_running; }
    // Whether focus observers can be created for it.
    void setObservable(bool observable) { m_observable = observable; }
    bool isObservable() const { return m_observable; }

    // Keys that reached the application while it hung.
    std::vector<std::function<void()>> &pendingKeys() { return m_pendingKeys; }

private:
    SimDesktop &m_desktop;
    qint64 m_pid;
    QString m_name;
    QString m_bundleId;
    std::shared_ptr<SimElement> m_root;
    bool m_hung = false;
    bool m_running = true;
    bool m_observable = true;
    std::vector<std::function<void()>> m_pendingKeys;
};

} // namespace qv::sim
