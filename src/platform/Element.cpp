#include "platform/Element.h"

namespace qv::platform {

bool operator==(const Element &a, const Element &b)
{
    if (a.m_ref == b.m_ref)
        return true;
    if (!a.m_ref || !b.m_ref)
        return false;
    return a.m_ref->sameElement(*b.m_ref);
}

} // namespace qv::platform
