#pragma once

#include "core/Scheduler.h"

namespace qv::e2e {

// The real clock, with a typist's long pauses shortened so an engine run on
// the real desktop takes seconds, not minutes. Waits of 200 ms and more
// (sentence and paragraph pauses, stalls, the review's breather, the slices
// of stop-aware waits, polls for the front window) pass `factor` times
// faster; shorter ones (key delays, Backspace spacing, the wait for the
// clipboard to settle after a copy) run at their length, capped at
// `capMs`, which is still well above what the desktop needs between them.
// A factor of 1 leaves every wait as it is. Time itself is not bent:
// nowNs() is the real clock's.
class BriskScheduler final : public Scheduler {
public:
    explicit BriskScheduler(Scheduler &real, double factor = 20, double capMs = 50);

    // The length a wait of `ms` really takes.
    double effectiveMs(double ms) const;

    qint64 nowNs() const override { return m_real.nowNs(); }
    TimerId scheduleNs(qint64 delayNs, Callback callback) override;
    bool cancel(TimerId id) override { return m_real.cancel(id); }

    static constexpr double kPauseFromMs = 200;

private:
    Scheduler &m_real;
    double m_factor;
    double m_capMs;
};

} // namespace qv::e2e
