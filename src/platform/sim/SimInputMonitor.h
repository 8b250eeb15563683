#pragma once

#include "platform/InputMonitor.h"

#include <cstdint>
#include <map>
#include <memory>

namespace qv::sim {

// Left-mouse-up monitors of the simulated desktop. SimDesktop::click routes
// each click to the global or the local monitors; tests may also emit them.
class SimInputMonitor final : public platform::InputMonitor {
public:
    platform::SubscriptionPtr addGlobalLeftMouseUp(Handler handler) override;
    platform::SubscriptionPtr addLocalLeftMouseUp(Handler handler) override;

    void emitGlobalMouseUp(QPoint global);
    void emitLocalMouseUp(QPoint global);
    // Whether monitors can be installed (false: the add… calls give null).
    void setGlobalAvailable(bool available) { m_globalAvailable = available; }
    void setLocalAvailable(bool available) { m_localAvailable = available; }
    int globalCount() const { return int(m_global->size()); }
    int localCount() const { return int(m_local->size()); }

private:
    class Monitor;
    using Handlers = std::shared_ptr<std::map<std::uint64_t, Handler>>;
    platform::SubscriptionPtr add(const Handlers &into, Handler handler);
    static void emitTo(const Handlers &handlers, QPoint global);

    std::uint64_t m_next = 1;
    // Shared with the subscriptions, so that one outliving the monitor can still end.
    Handlers m_global = std::make_shared<std::map<std::uint64_t, Handler>>();
    Handlers m_local = std::make_shared<std::map<std::uint64_t, Handler>>();
    bool m_globalAvailable = true;
    bool m_localAvailable = true;
};

} // namespace qv::sim
