#include "platform/linux/FrontmostDebounce.h"

namespace qv::linuxdesktop {

qint64 FrontmostDebounce::observe(qint64 pid, qint64 nowNs)
{
    if (pid > 0) {
        m_lastPid = pid;
        m_noneSinceNs = -1;
        return pid;
    }
    if (m_noneSinceNs < 0)
        m_noneSinceNs = nowNs;
    if (m_lastPid > 0 && nowNs - m_noneSinceNs < kGapNs)
        return m_lastPid;
    m_lastPid = 0;
    return 0;
}

} // namespace qv::linuxdesktop
