#pragma once

#include "platform/Element.h"
#include "platform/Subscription.h"

#include <QMetaObject>

#include <optional>

namespace qv {
class Scheduler;
namespace platform {
class Accessibility;
class Workspace;
struct AppInfo;
} // namespace platform
} // namespace qv

namespace qv::engine {

// A cache of the focused element of one application (normally the
// frontmost), kept current by that application's focus notifications, so
// the engine's frequent focus lookups need no accessibility query while the
// cache is fresh. Freshness means a notification (or the start of
// observation) was seen within the asked age, not that the focus is still
// right. Everything runs on the GUI thread, so the cache needs no lock.
//
// One instance per engine (tests get a fresh one); it follows application
// activations for as long as it lives.
class FocusMonitor {
public:
    using Element = platform::Element;

    // Subscribes to application activations and observes the frontmost
    // application, if there is one.
    FocusMonitor(platform::Accessibility &accessibility, platform::Workspace &workspace, Scheduler &scheduler);
    ~FocusMonitor();
    FocusMonitor(const FocusMonitor &) = delete;
    FocusMonitor &operator=(const FocusMonitor &) = delete;

    // Switches observation to `pid`. Observing the same process again does
    // nothing at all (no refresh, and no retry after a failed observation);
    // another process tears the old observation down first. The pid is
    // recorded even when the application cannot be observed.
    void observe(qint64 pid);
    // Re-targets observation to an application that came to the front.
    void handleAppActivated(const platform::AppInfo &app);
    // Whether the cache belongs to `frontmostPid` and was refreshed at most
    // `maxAgeSeconds` ago (inclusive). False without a frontmost pid.
    bool isFresh(std::optional<qint64> frontmostPid, double maxAgeSeconds) const;
    // Drops the observation and empties the cache; keeps the observed pid.
    void teardown();
    // Reads the observed application's focused element into the cache. A
    // failed read leaves the cache exactly as it was.
    void refreshFocus();

    Element lastFocused() const { return m_lastFocused; }
    // Scheduler time of the last refresh; nullopt means "never".
    std::optional<qint64> lastFocusedAtNs() const { return m_lastFocusedAtNs; }
    std::optional<qint64> observedPid() const { return m_observedPid; }
    bool hasObserver() const { return bool(m_observer); }

private:
    platform::Accessibility &m_accessibility;
    platform::Workspace &m_workspace;
    Scheduler &m_scheduler;
    QMetaObject::Connection m_activation;

    platform::SubscriptionPtr m_observer;
    std::optional<qint64> m_observedPid;
    Element m_appElement;
    Element m_lastFocused;
    std::optional<qint64> m_lastFocusedAtNs;
};

} // namespace qv::engine
