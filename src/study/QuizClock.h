#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace qv {
class Scheduler;
}

namespace qv::study {

// The timed quiz's clock: its limit, the time left once started and the
// repeating one-second tick while the session is shown.
class QuizClock {
public:
    // `onTick` runs after every tick that counted down.
    QuizClock(Scheduler &scheduler, std::function<void()> onTick);
    ~QuizClock();
    QuizClock(const QuizClock &) = delete;
    QuizClock &operator=(const QuizClock &) = delete;

    void setLimit(int minutes); // whole minutes, 0 (no limit) to 30
    // Starts the countdown from the whole limit.
    void start();

    void startTicking();
    void stopTicking();

    int limit() const { return m_limit; }
    bool started() const { return m_started; }
    bool timeUp() const { return m_timeUp; }
    // Only a started quiz with a limit counts down.
    bool isTimed() const { return m_started && m_limit > 0; }
    QString remainingLabel() const; // "m:ss"
    QString limitLabel() const;     // "Unlimited" or "N min"

private:
    void scheduleTick();
    bool countDown();

    Scheduler &m_scheduler;
    std::function<void()> m_onTick;
    int m_limit = 0;
    bool m_started = false;
    bool m_timeUp = false;
    std::optional<qint64> m_startNs;
    qint64 m_remaining = 0;
    std::optional<quint64> m_timer;
};

} // namespace qv::study
