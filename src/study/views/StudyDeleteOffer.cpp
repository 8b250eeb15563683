#include "study/views/StudyDeleteOffer.h"

#include "state/AppState.h"

namespace qv::study {

StudyDeleteOffer::StudyDeleteOffer(state::AppState &appState, Scheduler &scheduler, QObject *parent)
    : QObject(parent), m_appState(&appState), m_scheduler(scheduler)
{
}

StudyDeleteOffer::~StudyDeleteOffer() { cancelTimer(); }

void StudyDeleteOffer::request(const StudyProject &set)
{
    m_pending = set;
    emit pendingChanged();
}

void StudyDeleteOffer::dismiss()
{
    if (!m_pending)
        return;
    m_pending.reset();
    emit pendingChanged();
}

SaveResult StudyDeleteOffer::confirm()
{
    SaveResult result = SaveResult::success();
    if (m_pending) {
        const StudyProject set = *m_pending;
        if (m_appState)
            result = m_appState->deleteStudyProject(set);
        cancelTimer();
        QPointer<StudyDeleteOffer> self(this);
        m_timer = m_scheduler.singleShot(kOfferMs, [self] {
            if (!self)
                return;
            self->m_timer = 0;
            self->setRecent(std::nullopt);
        });
        setRecent(set);
    }
    dismiss();
    return result;
}

SaveResult StudyDeleteOffer::undo()
{
    cancelTimer();
    if (!m_recent)
        return SaveResult::success();
    const StudyProject set = *m_recent;
    SaveResult result = SaveResult::success();
    if (m_appState)
        result = m_appState->saveStudyProject(set);
    setRecent(std::nullopt);
    return result;
}

QString StudyDeleteOffer::bannerText(const StudyProject &set)
{
    return QStringLiteral("Deleted \"") + set.title + QLatin1Char('"');
}

void StudyDeleteOffer::setRecent(std::optional<StudyProject> set)
{
    // A second deletion replaces the first: announce it even when equal.
    m_recent = std::move(set);
    emit recentlyDeletedChanged();
}

void StudyDeleteOffer::cancelTimer()
{
    if (m_timer != 0)
        m_scheduler.cancel(m_timer);
    m_timer = 0;
}

} // namespace qv::study
