#include "platform/sim/SimInputMonitor.h"

#include <vector>

namespace qv::sim {

class SimInputMonitor::Monitor final : public platform::Subscription {
public:
    Monitor(std::shared_ptr<std::map<std::uint64_t, Handler>> handlers, std::uint64_t id)
        : m_handlers(std::move(handlers)), m_id(id)
    {
    }
    ~Monitor() override
    {
        if (auto handlers = m_handlers.lock())
            handlers->erase(m_id);
    }

private:
    std::weak_ptr<std::map<std::uint64_t, Handler>> m_handlers;
    std::uint64_t m_id;
};

platform::SubscriptionPtr SimInputMonitor::addGlobalLeftMouseUp(Handler handler)
{
    return m_globalAvailable ? add(m_global, std::move(handler)) : nullptr;
}

platform::SubscriptionPtr SimInputMonitor::addLocalLeftMouseUp(Handler handler)
{
    return m_localAvailable ? add(m_local, std::move(handler)) : nullptr;
}

platform::SubscriptionPtr SimInputMonitor::add(const Handlers &into, Handler handler)
{
    const std::uint64_t id = m_next++;
    into->emplace(id, std::move(handler));
    return std::make_unique<Monitor>(into, id);
}

void SimInputMonitor::emitTo(const Handlers &handlers, QPoint global)
{
    // A handler may remove monitors (its own or others): each is looked up afresh.
    std::vector<std::uint64_t> ids;
    for (const auto &[id, handler] : *handlers)
        ids.push_back(id);
    for (std::uint64_t id : ids) {
        auto it = handlers->find(id);
        if (it == handlers->end())
            continue;
        Handler handler = it->second;
        handler(global);
    }
}

void SimInputMonitor::emitGlobalMouseUp(QPoint global) { emitTo(m_global, global); }

void SimInputMonitor::emitLocalMouseUp(QPoint global) { emitTo(m_local, global); }

} // namespace qv::sim
