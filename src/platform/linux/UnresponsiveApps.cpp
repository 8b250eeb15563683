#include "platform/linux/UnresponsiveApps.h"

namespace qv::linuxdesktop {

void UnresponsiveApps::mark(qint64 pid, qint64 nowNs) { m_until.insert(pid, nowNs + kBackoffNs); }

bool UnresponsiveApps::isBackedOff(qint64 pid, qint64 nowNs) const
{
    const auto it = m_until.constFind(pid);
    return it != m_until.constEnd() && nowNs < *it;
}

void UnresponsiveApps::forget(qint64 pid) { m_until.remove(pid); }

} // namespace qv::linuxdesktop
