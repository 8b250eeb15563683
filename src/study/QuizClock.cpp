#include "study/QuizClock.h"

#include "core/Scheduler.h"

#include <algorithm>

namespace qv::study {

namespace {
constexpr qint64 kTickNs = 1'000'000'000;
} // namespace

QuizClock::QuizClock(Scheduler &scheduler, std::function<void()> onTick)
    : m_scheduler(scheduler), m_onTick(std::move(onTick))
{
}

QuizClock::~QuizClock() { stopTicking(); }

void QuizClock::setLimit(int minutes) { m_limit = std::clamp(minutes, 0, 30); }

void QuizClock::start()
{
    m_started = true;
    m_timeUp = false;
    m_startNs = m_scheduler.nowNs();
    m_remaining = qint64(m_limit) * 60;
}

bool QuizClock::countDown()
{
    if (!isTimed() || !m_startNs)
        return false;
    // Worked out from the start time on every tick, so a late tick never drifts.
    const qint64 elapsedSeconds = (m_scheduler.nowNs() - *m_startNs) / kTickNs;
    const qint64 remaining = qint64(m_limit) * 60 - elapsedSeconds;
    m_remaining = std::max<qint64>(remaining, 0);
    if (remaining < 1)
        m_timeUp = true;
    return true;
}

QString QuizClock::remainingLabel() const
{
    return QString::asprintf("%lld:%02lld", static_cast<long long>(m_remaining / 60),
                             static_cast<long long>(m_remaining % 60));
}

QString QuizClock::limitLabel() const
{
    return m_limit == 0 ? QStringLiteral("Unlimited") : QStringLiteral("%1 min").arg(m_limit);
}

void QuizClock::startTicking()
{
    if (!m_timer)
        scheduleTick();
}

void QuizClock::stopTicking()
{
    if (m_timer) {
        m_scheduler.cancel(*m_timer);
        m_timer.reset();
    }
}

void QuizClock::scheduleTick()
{
    m_timer = m_scheduler.scheduleNs(kTickNs, [this] {
        m_timer.reset();
        scheduleTick();
        if (countDown() && m_onTick)
            m_onTick();
    });
}

} // namespace qv::study
