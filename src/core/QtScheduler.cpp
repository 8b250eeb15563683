#include "core/QtScheduler.h"

#include <QTimer>

#include <chrono>

namespace qv {

QtScheduler::QtScheduler(QObject *parent) : QObject(parent) { m_clock.start(); }

QtScheduler::~QtScheduler()
{
    for (auto &[id, timer] : m_timers)
        delete timer;
}

qint64 QtScheduler::nowNs() const { return m_clock.nsecsElapsed(); }

Scheduler::TimerId QtScheduler::scheduleNs(qint64 delayNs, Callback callback)
{
    const TimerId id = m_nextId++;
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    // Qt timers have millisecond resolution: round up so a wake-up is never early.
    const qint64 ms = delayNs <= 0 ? 0 : (delayNs + 999'999) / 1'000'000;
    timer->setInterval(std::chrono::milliseconds(ms));
    connect(timer, &QTimer::timeout, this, [this, id, cb = std::move(callback)]() mutable {
        auto it = m_timers.find(id);
        if (it == m_timers.end())
            return;
        QTimer *t = it->second;
        m_timers.erase(it);
        t->deleteLater();
        Callback run = std::move(cb);
        run();
    });
    m_timers.emplace(id, timer);
    timer->start();
    return id;
}

bool QtScheduler::cancel(TimerId id)
{
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return false;
    it->second->stop();
    it->second->deleteLater();
    m_timers.erase(it);
    return true;
}

} // namespace qv
