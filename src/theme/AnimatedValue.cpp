#include "theme/AnimatedValue.h"

#include "theme/Easing.h"
#include "theme/ThemeEnvironment.h"

#include <QEvent>
#include <QWidget>

namespace qv {

AnimatedValue::AnimatedValue(double initial, QWidget *owner)
    : QObject(owner), m_owner(owner), m_from(initial), m_to(initial)
{
    if (owner) {
        owner->installEventFilter(this);
        connect(this, &AnimatedValue::changed, owner, [owner] { owner->update(); });
    }
}

AnimatedValue::~AnimatedValue() { stopTick(); }

double AnimatedValue::fractionAt(qint64 nowNs) const
{
    const double elapsedMs = double(nowNs - m_startNs) / 1e6;
    double t = 1.0;
    switch (m_animation.repeat) {
    case Animation::Repeat::Once:
        t = elapsedMs >= m_animation.durationMs ? 1.0 : elapsedMs / m_animation.durationMs;
        break;
    case Animation::Repeat::ForeverAutoreverse:
        t = easing::autoreverseFraction(elapsedMs, m_animation.durationMs);
        break;
    case Animation::Repeat::ForeverRestart:
        t = easing::repeatFraction(elapsedMs, m_animation.durationMs);
        break;
    }
    return m_animation.curve == Animation::Curve::EaseInOut ? easing::easeInOut(t) : t;
}

bool AnimatedValue::isAnimating() const
{
    if (!m_running)
        return false;
    if (m_animation.repeat != Animation::Repeat::Once)
        return true;
    return double(m_scheduler->nowNs() - m_startNs) / 1e6 < m_animation.durationMs;
}

double AnimatedValue::value() const
{
    if (!m_running)
        return m_to;
    return easing::lerp(m_from, m_to, fractionAt(m_scheduler->nowNs()));
}

void AnimatedValue::set(double target, const Animation &animation)
{
    const double current = value();
    stopTick();
    m_to = target;
    if (animation.isNone()) {
        m_running = false;
        m_from = target;
        emit changed();
        return;
    }
    m_from = current;
    m_animation = animation;
    m_scheduler = &ThemeEnvironment::scheduler();
    m_startNs = m_scheduler->nowNs();
    m_running = true;
    emit changed();
    armTick();
}

void AnimatedValue::armTick()
{
    if (m_tick || !m_running || !m_owner || !m_owner->isVisible())
        return;
    m_tick = m_scheduler->singleShot(m_frameMs, [this] {
        m_tick = 0;
        tick();
    });
}

void AnimatedValue::tick()
{
    if (!isAnimating()) {
        // Settle on the target so later reads need no clock.
        m_running = false;
        m_from = m_to;
    }
    emit changed();
    armTick();
}

void AnimatedValue::stopTick()
{
    if (m_tick && m_scheduler)
        m_scheduler->cancel(m_tick);
    m_tick = 0;
}

bool AnimatedValue::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_owner && event->type() == QEvent::Show)
        armTick();
    return QObject::eventFilter(watched, event);
}

} // namespace qv
