#include "core/WallClock.h"

#include "core/Scheduler.h"

namespace qv {

QDateTime SystemWallClock::nowUtc() const { return QDateTime::currentDateTimeUtc(); }

FixedWallClock::FixedWallClock(QDateTime start, const Scheduler *follow)
    : m_start(start.toUTC()), m_follow(follow), m_followOriginNs(follow ? follow->nowNs() : 0)
{
}

QDateTime FixedWallClock::nowUtc() const
{
    if (!m_follow)
        return m_start;
    return m_start.addMSecs((m_follow->nowNs() - m_followOriginNs) / 1'000'000);
}

void FixedWallClock::set(QDateTime when)
{
    m_start = when.toUTC();
    if (m_follow)
        m_followOriginNs = m_follow->nowNs();
}

} // namespace qv
