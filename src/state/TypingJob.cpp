#include "state/TypingJob.h"

#include "core/Scheduler.h"
#include "core/Text.h"
#include "engine/TypingEngine.h"
#include "platform/Desktop.h"
#include "platform/InputMonitor.h"
#include "platform/Permissions.h"
#include "platform/Workspace.h"
#include "state/TargetDetector.h"
#include "state/TypingJobParts.h"

#include <QPointer>

namespace qv::state {

using engine::RunPhase;
using namespace jobparts;

namespace {
const QString badgeLabel = QStringLiteral("Typing");
} // namespace

TypingJob::TypingJob(Services services, QObject *parent)
    : QObject(parent), m_services(std::move(services)), m_scheduler(*m_services.scheduler),
      m_workspace(*m_services.workspace), m_resume(*m_services.preferences)
{
    Q_ASSERT(m_services.scheduler && m_services.preferences && m_services.workspace && m_services.permissions);
    if (m_services.accessibility && m_services.engine)
        m_detector = std::make_unique<TargetDetector>(*m_services.accessibility, m_workspace, m_scheduler,
                                                      m_services.engine->elements());
}

TypingJob::~TypingJob()
{
    // A run still typing would otherwise go on with nobody to stop it; the
    // engine, kept alive by the run, notices at its next check.
    if (m_runningFlags)
        m_runningFlags->stop = true;
    stopFocusPolling();
}

bool TypingJob::canArm() const { return m_detector && m_services.input && m_services.engine; }

std::optional<Project> TypingJob::currentProject() const
{
    if (!m_job)
        return std::nullopt;
    return m_job->project;
}

// ---- published values

namespace {
template <typename T>
bool change(T &field, const T &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}
} // namespace

void TypingJob::setStatusText(const QString &v)
{
    if (change(m_statusText, v))
        emit statusTextChanged();
}

void TypingJob::setIsTyping(bool v)
{
    const bool changed = change(m_isTyping, v);
    updateBadge();
    if (changed)
        emit isTypingChanged();
}

void TypingJob::setIsPaused(bool v)
{
    if (change(m_isPaused, v))
        emit isPausedChanged();
}

void TypingJob::setProgress(double v)
{
    if (change(m_progress, v))
        emit progressChanged();
}

void TypingJob::setPhase(RunPhase v)
{
    if (change(m_phase, v))
        emit phaseChanged();
}

void TypingJob::setTypingTargetAppName(const QString &v)
{
    if (change(m_typingTargetAppName, v))
        emit typingTargetAppNameChanged();
}

void TypingJob::setDetectionDebug(const QString &v)
{
    if (change(m_detectionDebug, v))
        emit detectionDebugChanged();
}

void TypingJob::setRunNote(const QString &v)
{
    if (change(m_runNote, v))
        emit runNoteChanged();
}

void TypingJob::setTypingDifference(std::optional<int> v)
{
    if (change(m_typingDifference, v))
        emit typingDifferenceChanged();
}

void TypingJob::updateBadge()
{
    if (m_services.desktop)
        m_services.desktop->setBadgeLabel(m_isTyping ? badgeLabel : QString());
}

// ---- arming

void TypingJob::prepareTyping(const Project &project)
{
    if (m_isTyping)
        return;
    if (!m_services.accessibilityReady || !m_services.accessibilityReady()) {
        setStatusText(says::needAccessibility);
        m_services.permissions->openAccessibilitySettings();
        return;
    }
    if (!m_services.inputMonitoringReady || !m_services.inputMonitoringReady()) {
        setStatusText(says::needInput);
        m_services.permissions->openInputSettings();
        m_services.permissions->requestInputSynthesis();
        return;
    }
    if (!canArm())
        return;

    setStatusText(says::clickToStart);
    setDetectionDebug({});
    setTypingTargetAppName({});
    setTypingDifference(std::nullopt);
    setPhase(RunPhase::Awaiting);
    forgetTarget();

    const int r = resumeIndex(project);
    setProgress(fraction(r, text::graphemeCount(project.text)));

    // Fresh flags: a run of an earlier job that has not returned yet keeps its own.
    m_job = Job{m_nextJobId++, project, std::make_shared<TypingFlags>(), r, false};
    setIsTyping(true);
    setIsPaused(false);
    startFocusPolling();
    installMonitors(m_startMonitors, &TypingJob::startClick);
}

void TypingJob::installMonitors(ClickMonitors &monitors, ClickTask handler)
{
    QPointer<TypingJob> self(this);
    monitors.install(*m_services.input, [self, handler](QPoint at, bool local) {
        if (self)
            (self->*handler)(at, local);
    });
}

bool TypingJob::isOwnApplicationFrontmost() const
{
    const auto front = m_workspace.frontmostApplication();
    return front && front->pid == m_workspace.ownPid();
}

// ---- stop and reset

void TypingJob::stopTyping()
{
    if (!m_isTyping)
        return;
    if (m_job)
        m_job->flags->stop = true;
    setIsTyping(false);
    setIsPaused(false);
    stopFocusPolling();
    m_startMonitors.remove();
    m_pauseMonitors.remove();
    setTypingTargetAppName({});
    forgetTarget();
    setStatusText(says::stopped);
    setPhase(RunPhase::Stopped);
}

void TypingJob::resetTyping()
{
    if (m_job) {
        m_job->flags->pause = false;
        // Once reset, nothing could stop a run of this job any more.
        if (m_runningJobId == m_job->id)
            m_job->flags->stop = true;
    }
    setIsTyping(false);
    setIsPaused(false);
    stopFocusPolling();
    m_pauseMonitors.remove();
    setProgress(0);
    setTypingDifference(std::nullopt);
    setPhase(RunPhase::Idle);
    setStatusText(says::idle);
    setRunNote({});
    m_job.reset();
    setTypingTargetAppName({});
    forgetTarget();
}

} // namespace qv::state
