#include "platform/sim/SimElementRef.h"

#include "platform/sim/SimApp.h"
#include "platform/sim/SimElement.h"

namespace qv::sim {

SimElementRef::SimElementRef(const std::shared_ptr<SimElement> &node)
    : m_node(node), m_id(node->id()), m_pid(node->app().pid())
{
}

bool SimElementRef::sameElement(const platform::ElementRef &other) const
{
    const auto *o = dynamic_cast<const SimElementRef *>(&other);
    return o && o->m_id == m_id;
}

QString SimElementRef::describe() const
{
    if (const SimElement *n = node())
        return n->describe();
    return QStringLiteral("gone #%1").arg(m_id);
}

SimElement *SimElementRef::node() const { return m_node.lock().get(); }

SimElement *SimElementRef::resolve(const platform::Element &element)
{
    const auto *ref = dynamic_cast<const SimElementRef *>(element.ref());
    return ref ? ref->node() : nullptr;
}

} // namespace qv::sim
