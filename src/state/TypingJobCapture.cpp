#include "state/TypingJob.h"

#include "core/Scheduler.h"
#include "platform/Workspace.h"
#include "state/TargetDetector.h"
#include "state/TypingJobParts.h"

#include <QPointer>

namespace qv::state {

using engine::RunPhase;
using namespace jobparts;

void TypingJob::captureTypingTarget(const Element &element)
{
    setTypingTargetAppName(m_target.capture(element, m_workspace));
}

void TypingJob::forgetTarget() { m_target = {}; }

// ---- the start click and the focus poll

QCoro::Task<> TypingJob::startClick(QPoint point, bool local)
{
    QPointer<TypingJob> self(this);
    if (!m_job)
        co_return;
    const quint64 jobId = m_job->id;
    co_await m_scheduler.sleep(kStartClickSettleMs);
    if (!self || !isCurrent(jobId) || !m_isTyping || m_phase != RunPhase::Awaiting)
        co_return;
    if (local && isOwnApplicationFrontmost()) {
        setDetectionDebug(notes::ownFrontmost);
        co_return;
    }
    const Element found = co_await m_detector->detectAfterClick(kDetectionDeadlineMs, point);
    // The search took time: the job may have started, stopped or gone meanwhile.
    if (!self || !isCurrent(jobId) || !m_isTyping || m_phase != RunPhase::Awaiting)
        co_return;
    if (found.isNull()) {
        setStatusText(says::clickToBegin);
        setPhase(RunPhase::Awaiting);
        setDetectionDebug(notes::nothingFound);
        co_return;
    }
    startTypingSession(m_job->project, found, m_job->armedResumeIndex);
}

void TypingJob::startFocusPolling()
{
    stopFocusPolling();
    scheduleFocusTick();
}

void TypingJob::stopFocusPolling()
{
    if (m_pollTimer)
        m_scheduler.cancel(*m_pollTimer);
    m_pollTimer.reset();
}

void TypingJob::scheduleFocusTick()
{
    QPointer<TypingJob> self(this);
    m_pollTimer = m_scheduler.singleShot(kFocusPollMs, [self] {
        if (!self)
            return;
        // The next tick is due first: this one may stop the poll.
        self->scheduleFocusTick();
        self->focusTick();
    });
}

void TypingJob::focusTick()
{
    if (!m_isTyping || (m_phase != RunPhase::Awaiting && m_phase != RunPhase::Paused))
        return;
    if (isOwnApplicationFrontmost()) {
        setDetectionDebug(notes::ownFrontmost);
        return;
    }
    const Element candidate = m_detector->resolveTextInput(m_detector->focusedElement());
    if (candidate.isNull()) {
        setDetectionDebug(notes::noFocus);
        return;
    }
    setDetectionDebug(notes::focus + m_detector->summary(candidate));
    if (m_phase == RunPhase::Paused || m_isPaused) {
        resumeWith(candidate);
        return;
    }
    if (!m_job)
        return;
    startTypingSession(m_job->project, candidate, resumeIndex(m_job->project));
}

} // namespace qv::state
