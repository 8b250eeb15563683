#pragma once

#include "core/Scheduler.h"

#include <functional>
#include <map>
#include <unordered_map>
#include <utility>

namespace qv {

// Test scheduler: time stands still until a test moves it, then jumps from
// wake-up to wake-up in order. A twelve-minute typing run takes milliseconds.
class VirtualScheduler final : public Scheduler {
public:
    explicit VirtualScheduler(qint64 startNs = 0) : m_now(startNs) {}

    qint64 nowNs() const override { return m_now; }
    TimerId scheduleNs(qint64 delayNs, Callback callback) override;
    bool cancel(TimerId id) override;

    // Runs every wake-up due within `ms` from now, in order, then sets the
    // clock to now + ms. Posted Qt events are delivered between wake-ups.
    void advance(double ms);

    // Runs wake-ups in order until `done` holds. Posted Qt events and, when
    // no wake-up is pending, real socket events are delivered in between, so
    // tests can mix the virtual clock with a local server. Gives up (false)
    // after `maxVirtualMs` of virtual time or `realTimeoutMs` of real time
    // spent waiting for outside events.
    bool runUntil(const std::function<bool()> &done, double maxVirtualMs = 24.0 * 3600 * 1000,
                  int realTimeoutMs = 5000);

    // Runs until nothing is pending (bounded like runUntil).
    bool runUntilIdle(double maxVirtualMs = 24.0 * 3600 * 1000);

    // Runs the earliest pending wake-up; false when none is pending.
    bool runNext();

    bool hasPending() const { return !m_queue.empty(); }
    std::size_t pendingCount() const { return m_queue.size(); }
    // Due time of the earliest pending wake-up, or -1.
    qint64 nextDueNs() const { return m_queue.empty() ? -1 : m_queue.begin()->first.first; }

private:
    static void deliverPostedEvents();

    using Key = std::pair<qint64, TimerId>;
    qint64 m_now;
    TimerId m_nextId = 1;
    std::map<Key, Callback> m_queue;
    std::unordered_map<TimerId, qint64> m_due;
};

} // namespace qv
