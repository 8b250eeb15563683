#include "state/TypingJob.h"

#include "core/Scheduler.h"
#include "engine/RunKeyGate.h"
#include "engine/TypingEngine.h"
#include "platform/Workspace.h"
#include "state/TargetDetector.h"
#include "state/TypingJobParts.h"

#include <QPointer>

namespace qv::state {

using engine::RunPhase;
using namespace jobparts;

// ---- clicks while typing, pause and resume

void TypingJob::startTypingPauseMonitor() { installMonitors(m_pauseMonitors, &TypingJob::pauseClick); }

void TypingJob::armResumeClick() { installMonitors(m_startMonitors, &TypingJob::resumeClick); }

QCoro::Task<> TypingJob::pauseClick(QPoint, bool)
{
    QPointer<TypingJob> self(this);
    if (!m_isTyping || m_phase != RunPhase::Typing || !m_job)
        co_return;
    const quint64 jobId = m_job->id;
    co_await m_scheduler.sleep(kPauseClickSettleMs);
    // A job stopped or replaced meanwhile is not paused after the fact.
    if (!self || !isCurrent(jobId) || !m_isTyping)
        co_return;
    if (isOwnApplicationFrontmost()) {
        pauseForFocusLoss();
        co_return;
    }
    const auto front = m_workspace.frontmostApplication();
    if (m_target.pid && front && front->pid != *m_target.pid) {
        pauseForFocusLoss();
        co_return;
    }
    const Element focused = m_detector->focusedElement();
    const Element under = m_detector->elementAtMouseLocation();
    Element candidate;
    if (m_detector->isTextInput(focused))
        candidate = focused;
    else if (m_detector->isTextInput(under))
        candidate = under;
    if (candidate.isNull()) {
        pauseForFocusLoss();
        co_return;
    }
    // Another text box of the same application: typing follows it, and the
    // run, its text now split over two boxes, must not check or repair
    // either as if it held the whole text.
    if (m_target.element.isNull() || m_target.element != candidate) {
        if (!m_target.element.isNull() && m_services.engine)
            m_services.engine->keyGate().follow(candidate);
        captureTypingTarget(candidate);
    }
}

void TypingJob::pauseForFocusLoss()
{
    if (!m_job)
        return;
    m_job->flags->pause = true;
    setIsPaused(true);
    setStatusText(says::pausedByClick);
    setPhase(RunPhase::Paused);
    m_pauseMonitors.remove();
    m_startMonitors.remove();
    armResumeClick();
    startFocusPolling();
}

void TypingJob::togglePause()
{
    if (!m_isTyping || !m_job)
        return;
    if (!m_isPaused) {
        setIsPaused(true);
        m_job->flags->pause = true;
        setStatusText(says::paused);
        setPhase(RunPhase::Paused);
        m_startMonitors.remove();
        return;
    }
    // Continue: the pause holds until a click or the focus finds a text box.
    setStatusText(says::clickToContinue);
    setPhase(RunPhase::Awaiting);
    m_startMonitors.remove();
    armResumeClick();
    startFocusPolling();
}

QCoro::Task<> TypingJob::resumeClick(QPoint point, bool local)
{
    QPointer<TypingJob> self(this);
    if (!m_isPaused || !m_job)
        co_return;
    const quint64 jobId = m_job->id;
    co_await m_scheduler.sleep(kStartClickSettleMs);
    if (!self || !isCurrent(jobId) || !m_isTyping || (m_phase != RunPhase::Paused && m_phase != RunPhase::Awaiting))
        co_return;
    if (local && isOwnApplicationFrontmost()) {
        setDetectionDebug(notes::ownFrontmost);
        co_return;
    }
    const Element found = co_await m_detector->detectAfterClick(kDetectionDeadlineMs, point);
    if (!self || !isCurrent(jobId) || !m_isTyping)
        co_return;
    if (!found.isNull()) {
        resumeWith(found);
        co_return;
    }
    // Resumed by the focus poll meanwhile: nothing to report.
    if (!m_isPaused)
        co_return;
    setStatusText(says::clickToResume);
    setPhase(RunPhase::Paused);
    setDetectionDebug(notes::nothingFound);
}

void TypingJob::resumeWith(const Element &element)
{
    if (!m_job)
        return;
    captureTypingTarget(element);
    m_startMonitors.remove();
    setIsPaused(false);
    m_job->flags->pause = false;
    if (!m_job->sessionStarted) {
        // Paused before any run began: resuming means starting it now.
        setPhase(RunPhase::Awaiting);
        startTypingSession(m_job->project, element, resumeIndex(m_job->project));
        return;
    }
    setStatusText(says::typing);
    setPhase(RunPhase::Typing);
    startTypingPauseMonitor();
}

} // namespace qv::state
