#pragma once

#include "core/Scheduler.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace qv {

// How a change is animated.
struct Animation {
    enum class Repeat { Once, ForeverAutoreverse, ForeverRestart };
    enum class Curve { EaseInOut, Linear };

    double durationMs = 0;
    Repeat repeat = Repeat::Once;
    Curve curve = Curve::EaseInOut;

    static Animation none() { return {}; }
    static Animation easeInOut(double ms) { return {ms, Repeat::Once, Curve::EaseInOut}; }
    static Animation easeInOutForeverAutoreverse(double ms)
    {
        return {ms, Repeat::ForeverAutoreverse, Curve::EaseInOut};
    }
    static Animation linearForever(double ms) { return {ms, Repeat::ForeverRestart, Curve::Linear}; }
    bool isNone() const { return !(durationMs > 0); }
};

// A number that moves to new targets over time. Its value is worked out from
// the scheduler's clock whenever it is read, so painting at any moment shows
// the right frame; while it moves and its owner widget is visible it ticks
// through the scheduler and asks the owner to repaint. A hidden owner costs
// nothing: ticking resumes when it is shown again.
class AnimatedValue : public QObject {
    Q_OBJECT
public:
    static constexpr double kFrameMs = 1000.0 / 60.0;

    AnimatedValue(double initial, QWidget *owner);
    ~AnimatedValue() override;

    double value() const;
    double target() const { return m_to; }
    bool isAnimating() const;

    // Moves to `target`; without an animation the change is immediate. A
    // forever-repeating animation swings between the value it started from
    // and `target` until the next set.
    void set(double target, const Animation &animation);
    // How often it ticks while it moves (60 frames a second unless set).
    void setFrameInterval(double ms) { m_frameMs = ms; }
    double frameInterval() const { return m_frameMs; }

signals:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    double fractionAt(qint64 nowNs) const;
    void armTick();
    void tick();
    void stopTick();

    QPointer<QWidget> m_owner;
    Scheduler *m_scheduler = nullptr;
    Scheduler::TimerId m_tick = 0;
    double m_from;
    double m_to;
    Animation m_animation;
    qint64 m_startNs = 0;
    double m_frameMs = kFrameMs;
    bool m_running = false;
};

} // namespace qv
