#pragma once

#include "platform/Accessibility.h"

#include <functional>
#include <map>
#include <memory>

namespace qv::sim {

class SimDesktop;
class SimElement;

// Accessibility of the simulated desktop: answers from the element tree,
// through each element's overrides and quirks; hung or quit applications
// answer nothing, and without the accessibility permission nothing answers.
// Every read and write is logged.
class SimAccessibility final : public platform::Accessibility {
public:
    explicit SimAccessibility(SimDesktop &desktop);
    ~SimAccessibility() override;

    platform::Element systemFocusedElement() override;
    platform::Element applicationElement(qint64 pid) override;
    platform::Element elementAtPoint(QPoint global) override;
    std::optional<QVariant> read(const platform::Element &element, platform::Attribute attribute) override;
    std::optional<bool> isSettable(const platform::Element &element, platform::Attribute attribute) override;
    bool write(const platform::Element &element, platform::Attribute attribute, const QVariant &value) override;
    bool isTerminal(const platform::Element &element) override;
    platform::SubscriptionPtr observeFocus(qint64 pid, std::function<void()> changed) override;

    // The system-wide focus query fails (the application's own still answers).
    void setSystemFocusQueryFails(bool fails) { m_systemFocusFails = fails; }
    // Focus notifications reach observers this long after the change.
    void setNotificationDelayMs(double ms) { m_notificationDelayMs = ms; }
    // Tells the observers of `pid` that its focus, key window or activation changed.
    void notifyFocusChanged(qint64 pid);
    int observerCount(qint64 pid) const;

private:
    class Observer;
    // An element that can answer now: alive and in a responsive application.
    SimElement *answering(const platform::Element &element) const;
    bool permitted() const;

    SimDesktop &m_desktop;
    bool m_systemFocusFails = false;
    double m_notificationDelayMs = 0;
    std::uint64_t m_nextObserver = 1;
    struct Entry {
        qint64 pid;
        std::function<void()> callback;
    };
    // Shared with the subscriptions, so that one outliving the desktop can still end.
    std::shared_ptr<std::map<std::uint64_t, Entry>> m_observers = std::make_shared<std::map<std::uint64_t, Entry>>();
};

} // namespace qv::sim
