#include "dashboard/UndoOffer.h"

#include <QPointer>

namespace qv::dashboard {

UndoOffer::UndoOffer(Scheduler &scheduler, QObject *parent) : QObject(parent), m_scheduler(scheduler) {}

UndoOffer::~UndoOffer() { cancelTimer(); }

void UndoOffer::cancelTimer()
{
    if (m_timer)
        m_scheduler.cancel(m_timer);
    m_timer = 0;
}

void UndoOffer::offer(const Project &project)
{
    m_recentlyDeleted = project;
    cancelTimer();
    QPointer<UndoOffer> self(this);
    m_timer = m_scheduler.singleShot(kOfferMs, [self] {
        if (!self)
            return;
        self->m_timer = 0;
        self->m_recentlyDeleted.reset();
        emit self->changed();
    });
    emit changed();
}

std::optional<Project> UndoOffer::take()
{
    // The expiry is cancelled first, so it cannot run after an undo.
    cancelTimer();
    std::optional<Project> project = std::move(m_recentlyDeleted);
    m_recentlyDeleted.reset();
    if (project)
        emit changed();
    return project;
}

} // namespace qv::dashboard
