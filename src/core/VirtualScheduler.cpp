#include "core/VirtualScheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

namespace qv {

Scheduler::TimerId VirtualScheduler::scheduleNs(qint64 delayNs, Callback callback)
{
    const TimerId id = m_nextId++;
    const qint64 due = m_now + (delayNs > 0 ? delayNs : 0);
    m_queue.emplace(Key{due, id}, std::move(callback));
    m_due.emplace(id, due);
    return id;
}

bool VirtualScheduler::cancel(TimerId id)
{
    auto it = m_due.find(id);
    if (it == m_due.end())
        return false;
    m_queue.erase(Key{it->second, id});
    m_due.erase(it);
    return true;
}

void VirtualScheduler::deliverPostedEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool VirtualScheduler::runNext()
{
    if (m_queue.empty())
        return false;
    auto node = m_queue.extract(m_queue.begin());
    m_due.erase(node.key().second);
    if (node.key().first > m_now)
        m_now = node.key().first;
    node.mapped()();
    return true;
}

void VirtualScheduler::advance(double ms)
{
    const qint64 target = m_now + msToNs(ms);
    deliverPostedEvents();
    while (!m_queue.empty() && m_queue.begin()->first.first <= target) {
        runNext();
        deliverPostedEvents();
    }
    if (target > m_now)
        m_now = target;
}

bool VirtualScheduler::runUntil(const std::function<bool()> &done, double maxVirtualMs, int realTimeoutMs)
{
    const qint64 limit = m_now + msToNs(maxVirtualMs);
    QElapsedTimer idle;
    bool idling = false;
    for (;;) {
        deliverPostedEvents();
        if (done())
            return true;
        if (!m_queue.empty()) {
            if (m_queue.begin()->first.first > limit)
                return false;
            idling = false;
            runNext();
            continue;
        }
        // Nothing scheduled: only the outside world (sockets) can move things on.
        if (!idling) {
            idle.start();
            idling = true;
        }
        if (idle.elapsed() >= realTimeoutMs || !QCoreApplication::instance())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
}

bool VirtualScheduler::runUntilIdle(double maxVirtualMs)
{
    const qint64 limit = m_now + msToNs(maxVirtualMs);
    for (;;) {
        deliverPostedEvents();
        if (m_queue.empty())
            return true;
        if (m_queue.begin()->first.first > limit)
            return false;
        runNext();
    }
}

} // namespace qv
