#pragma once

#include "platform/Element.h"

#include <memory>

namespace qv::sim {

class SimElement;

// The handle the simulated desktop gives out for one of its elements.
class SimElementRef final : public platform::ElementRef {
public:
    explicit SimElementRef(const std::shared_ptr<SimElement> &node);

    bool sameElement(const platform::ElementRef &other) const override;
    qint64 pid() const override { return m_pid; }
    QString describe() const override;

    // The element, or null once it is gone.
    SimElement *node() const;
    // The element behind a handle of this desktop, or null.
    static SimElement *resolve(const platform::Element &element);

private:
    std::weak_ptr<SimElement> m_node;
    quint64 m_id;
    qint64 m_pid;
};

} // namespace qv::sim
