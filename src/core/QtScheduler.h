#pragma once

#include "core/Scheduler.h"

#include <QElapsedTimer>
#include <QObject>

#include <unordered_map>

class QTimer;

namespace qv {

// Production scheduler: precise Qt timers on the GUI thread.
class QtScheduler final : public QObject, public Scheduler {
public:
    explicit QtScheduler(QObject *parent = nullptr);
    ~QtScheduler() override;

    qint64 nowNs() const override;
    TimerId scheduleNs(qint64 delayNs, Callback callback) override;
    bool cancel(TimerId id) override;

private:
    QElapsedTimer m_clock;
    TimerId m_nextId = 1;
    std::unordered_map<TimerId, QTimer *> m_timers;
};

} // namespace qv
