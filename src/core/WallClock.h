#pragma once

#include <QDateTime>

namespace qv {

class Scheduler;

// UTC "now" for dates that are stored or shown. Injected so tests can fix it.
class WallClock {
public:
    virtual ~WallClock() = default;
    virtual QDateTime nowUtc() const = 0;
};

class SystemWallClock final : public WallClock {
public:
    QDateTime nowUtc() const override;
};

// A clock for tests: a fixed instant, moved by hand or, when a scheduler is
// given, moving with that scheduler's virtual time.
class FixedWallClock final : public WallClock {
public:
    explicit FixedWallClock(QDateTime start, const Scheduler *follow = nullptr);
    QDateTime nowUtc() const override;
    void set(QDateTime when);
    void advanceMs(qint64 ms) { m_start = m_start.addMSecs(ms); }

private:
    QDateTime m_start;
    const Scheduler *m_follow;
    qint64 m_followOriginNs = 0;
};

} // namespace qv
