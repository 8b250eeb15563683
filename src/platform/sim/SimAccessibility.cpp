#include "platform/sim/SimAccessibility.h"

#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimElementRef.h"

namespace qv::sim {

using platform::Attribute;
using platform::Element;

class SimAccessibility::Observer final : public platform::Subscription {
public:
    Observer(const std::shared_ptr<std::map<std::uint64_t, Entry>> &observers, std::uint64_t id)
        : m_observers(observers), m_id(id)
    {
    }
    ~Observer() override
    {
        if (auto observers = m_observers.lock())
            observers->erase(m_id);
    }

private:
    std::weak_ptr<std::map<std::uint64_t, Entry>> m_observers;
    std::uint64_t m_id;
};

SimAccessibility::SimAccessibility(SimDesktop &desktop) : m_desktop(desktop) {}

SimAccessibility::~SimAccessibility() = default;

SimElement *SimAccessibility::answering(const Element &element) const
{
    SimElement *node = SimElementRef::resolve(element);
    if (!permitted() || !node || !node->isLive() || node->app().isHung())
        return nullptr;
    return node;
}

bool SimAccessibility::permitted() const { return m_desktop.simPermissions().accessibilityReady(); }

Element SimAccessibility::systemFocusedElement()
{
    SimApp *front = m_desktop.frontmost();
    if (!permitted() || m_systemFocusFails || !front || front->isHung())
        return {};
    SimElement *focused = front->focusedElement();
    return focused ? focused->element() : Element();
}

Element SimAccessibility::applicationElement(qint64 pid)
{
    SimApp *app = m_desktop.app(pid);
    if (!permitted() || !app || !app->isRunning())
        return {};
    return app->applicationElement().element();
}

Element SimAccessibility::elementAtPoint(QPoint global)
{
    SimElement *window = m_desktop.windowAt(global);
    if (!permitted() || !window || window->app().isHung())
        return {};
    return m_desktop.elementAt(global)->element();
}

std::optional<QVariant> SimAccessibility::read(const Element &element, Attribute attribute)
{
    SimElement *node = answering(element);
    std::optional<QVariant> answer = node ? node->read(attribute) : std::nullopt;
    m_desktop.log().reads.push_back({m_desktop.scheduler().nowNs(), element, attribute, false, answer.has_value()});
    return answer;
}

std::optional<bool> SimAccessibility::isSettable(const Element &element, Attribute attribute)
{
    SimElement *node = answering(element);
    std::optional<bool> answer = node ? node->isSettable(attribute) : std::nullopt;
    m_desktop.log().reads.push_back({m_desktop.scheduler().nowNs(), element, attribute, true, answer.has_value()});
    return answer;
}

bool SimAccessibility::write(const Element &element, Attribute attribute, const QVariant &value)
{
    SimElement *node = answering(element);
    bool accepted = false;
    if (node) {
        const auto outcome = node->evaluateWrite(attribute, value);
        accepted = outcome != SimElement::WriteOutcome::Refused;
        if (outcome == SimElement::WriteOutcome::Apply) {
            const double delay = node->quirks().writeDelayMs;
            if (delay > 0) {
                std::weak_ptr<SimElement> weak = node->weak_from_this();
                m_desktop.schedule(delay, [weak, attribute, value] {
                    if (auto n = weak.lock())
                        n->applyWrite(attribute, value);
                });
            } else {
                node->applyWrite(attribute, value);
            }
        }
    }
    m_desktop.log().writes.push_back({m_desktop.scheduler().nowNs(), element, attribute, value, accepted});
    return accepted;
}

bool SimAccessibility::isTerminal(const Element &element)
{
    SimElement *node = SimElementRef::resolve(element);
    return node && node->isLive() && node->isTerminal();
}

platform::SubscriptionPtr SimAccessibility::observeFocus(qint64 pid, std::function<void()> changed)
{
    SimApp *app = m_desktop.app(pid);
    if (!permitted() || !app || !app->isRunning() || !app->isObservable() || !changed)
        return nullptr;
    const std::uint64_t id = m_nextObserver++;
    m_observers->emplace(id, Entry{pid, std::move(changed)});
    return std::make_unique<Observer>(m_observers, id);
}

void SimAccessibility::notifyFocusChanged(qint64 pid)
{
    for (const auto &[id, entry] : *m_observers) {
        if (entry.pid != pid)
            continue;
        // Notifications arrive through the event loop, never inside the call
        // that changed the focus; an observer gone by then hears nothing.
        m_desktop.schedule(m_notificationDelayMs, [this, id = id] {
            auto it = m_observers->find(id);
            if (it == m_observers->end())
                return;
            SimApp *app = m_desktop.app(it->second.pid);
            if (app && app->isRunning()) {
                auto callback = it->second.callback;
                callback();
            }
        });
    }
}

int SimAccessibility::observerCount(qint64 pid) const
{
    int n = 0;
    for (const auto &[id, entry] : *m_observers)
        n += entry.pid == pid ? 1 : 0;
    return n;
}

} // namespace qv::sim
