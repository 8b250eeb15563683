#include "BriskScheduler.h"

#include <algorithm>

namespace qv::e2e {

BriskScheduler::BriskScheduler(Scheduler &real, double factor, double capMs)
    : m_real(real), m_factor(std::max(factor, 1.0)), m_capMs(capMs)
{
}

double BriskScheduler::effectiveMs(double ms) const
{
    if (m_factor <= 1)
        return ms;
    if (ms >= kPauseFromMs)
        return ms / m_factor;
    return std::min(ms, m_capMs);
}

Scheduler::TimerId BriskScheduler::scheduleNs(qint64 delayNs, Callback callback)
{
    const double ms = effectiveMs(double(delayNs) / 1e6);
    return m_real.scheduleNs(msToNs(ms), std::move(callback));
}

} // namespace qv::e2e
