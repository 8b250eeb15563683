#pragma once

#include <QtGlobal>

#include <coroutine>
#include <cstdint>
#include <functional>

namespace qv {

// The one source of monotonic time and delayed work. Production runs it on
// Qt timers; tests run it on a virtual clock that jumps to the next wake-up,
// so every delay the application makes is exact and costs no real time.
class Scheduler {
public:
    using TimerId = std::uint64_t;
    using Callback = std::function<void()>;

    virtual ~Scheduler() = default;

    // Monotonic time since an arbitrary origin.
    virtual qint64 nowNs() const = 0;
    double nowMs() const { return double(nowNs()) / 1e6; }

    // Runs `callback` once after `delayNs` (clamped at 0). Callbacks due at the
    // same time run in the order they were scheduled.
    virtual TimerId scheduleNs(qint64 delayNs, Callback callback) = 0;
    // Returns whether the timer was still pending.
    virtual bool cancel(TimerId id) = 0;

    TimerId singleShot(double ms, Callback callback) { return scheduleNs(msToNs(ms), std::move(callback)); }

    // Milliseconds to nanoseconds, truncated toward zero; NaN and negatives give 0.
    static qint64 msToNs(double ms);

    class SleepAwaiter {
    public:
        SleepAwaiter(Scheduler &scheduler, qint64 ns) : m_scheduler(scheduler), m_ns(ns) {}
        bool await_ready() const noexcept { return false; }
        void await_suspend(std::coroutine_handle<> handle)
        {
            m_scheduler.scheduleNs(m_ns, [handle] { handle.resume(); });
        }
        void await_resume() const noexcept {}

    private:
        Scheduler &m_scheduler;
        qint64 m_ns;
    };

    // `co_await scheduler.sleep(ms)` inside a coroutine. A zero or negative
    // wait still yields once to the event loop, as a task sleep does.
    SleepAwaiter sleep(double ms) { return SleepAwaiter(*this, msToNs(ms)); }
    SleepAwaiter sleepNs(qint64 ns) { return SleepAwaiter(*this, ns); }
};

} // namespace qv
