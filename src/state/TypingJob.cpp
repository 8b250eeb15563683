#include "state/TypingJob.h"

#include "core/Scheduler.h"
#include "core/Text.h"
#include "engine/TypingEngine.h"
#include "platform/Desktop.h"
#include "platform/InputMonitor.h"
#include "platform/Permissions.h"
#include "platform/Workspace.h"
#include "state/TargetDetector.h"

#include <QLoggingCategory>
#include <QPointer>

#include <algorithm>
#include <limits>

namespace qv::state {

// The engine's diagnostic lines (debug level: QT_LOGGING_RULES="quorvel.typing.debug=true"
// shows them) and why a run ended with the text box differing (info).
Q_LOGGING_CATEGORY(typingLog, "quorvel.typing", QtInfoMsg)

namespace {
namespace phases {
const QString idle = QStringLiteral("idle");
const QString awaiting = QStringLiteral("awaiting");
const QString typing = QStringLiteral("typing");
const QString paused = QStringLiteral("paused");
const QString editing = QStringLiteral("editing");
const QString done = QStringLiteral("done");
const QString differs = QStringLiteral("differs");
const QString stopped = QStringLiteral("stopped");
} // namespace phases

namespace says {
const QString idle = QStringLiteral("Idle");
const QString needAccessibility = QStringLiteral("Enable Accessibility permissions (Settings opened)");
const QString needInput = QStringLiteral("Enable Input Monitoring permissions (Settings opened)");
const QString clickToStart = QStringLiteral("Click into the document text box (outside Quorvel) to start");
const QString clickToBegin = QStringLiteral("Click into the document text box (outside Quorvel) to begin");
const QString typing = QStringLiteral("Typing...");
const QString editing = QStringLiteral("Editing...");
const QString done = QStringLiteral("Done");
const QString paused = QStringLiteral("Paused");
const QString pausedByEngine = QStringLiteral("Paused \u2014 click the target text box to continue");
const QString pausedByClick = QStringLiteral("Paused \u2014 click back into the text box (outside Quorvel) to continue");
const QString clickToContinue = QStringLiteral("Click back into the text box (outside Quorvel) to continue");
const QString clickToResume = QStringLiteral("Click back into the text box (outside Quorvel) to resume");
const QString stopped = QStringLiteral("Stopped");
QString differs(std::optional<int> characters)
{
    if (!characters || *characters < 1)
        return QStringLiteral("Finished, but the text box differs from the project");
    return QStringLiteral("Finished, but the text box differs from the project by %1 character%2")
        .arg(*characters)
        .arg(*characters == 1 ? QString() : QStringLiteral("s"));
}
} // namespace says

// The panel's line on the characters a run left out of the text box.
QString leftOutNote(const engine::TypingEngine::LeftOut &left)
{
    using Refusal = engine::RunKeyGate::Refusal;
    const auto count = [](int n, const char *one, const char *many) {
        return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
    };
    const auto why = [](Refusal refusal, const char *key) {
        if (refusal == Refusal::OneLineBox)
            return QStringLiteral("the text box has one line");
        if (refusal == Refusal::NotTaken)
            return QStringLiteral("the text box does not take %1").arg(QLatin1String(key));
        return QStringLiteral("%1 moves out of the text box").arg(QLatin1String(key));
    };
    QStringList parts;
    QStringList reasons;
    if (left.returns > 0) {
        parts << count(left.returns, "line break", "line breaks");
        reasons << why(left.returnsWhy, "Return");
    }
    if (left.tabs > 0) {
        parts << count(left.tabs, "tab", "tabs");
        reasons << why(left.tabsWhy, "Tab");
    }
    if (parts.isEmpty())
        return {};
    if (reasons.size() == 2 && reasons[0] == reasons[1])
        return QStringLiteral("Left out %1 and %2: %3.").arg(parts[0], parts[1], reasons[0]);
    for (int i = 0; i < parts.size(); ++i)
        parts[i] += QStringLiteral(" (") + reasons[i] + QLatin1Char(')');
    return QStringLiteral("Left out ") + parts.join(QStringLiteral(" and ")) + QLatin1Char('.');
}

namespace notes {
const QString ownFrontmost = QStringLiteral("Frontmost = Quorvel (ignored)");
const QString nothingFound = QStringLiteral("No editable element from click or focus");
const QString noFocus = QStringLiteral("Focus: none or not editable");
const QString focus = QStringLiteral("Focus: ");
const QString startFromFocus = QStringLiteral("Start from focus: ");
} // namespace notes

const QString badgeLabel = QStringLiteral("Typing");

double fraction(qint64 typed, qint64 total)
{
    return std::min(double(typed) / double(std::max<qint64>(total, 1)), 1.0);
}
} // namespace

TypingJob::TypingJob(Services services, QObject *parent)
    : QObject(parent),
      m_services(std::move(services)),
      m_scheduler(*m_services.scheduler),
      m_workspace(*m_services.workspace),
      m_resume(*m_services.preferences)
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
template<typename T>
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

void TypingJob::setPhase(const QString &v)
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
    setPhase(phases::awaiting);
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

void TypingJob::installMonitors(MonitorPair &pair, ClickTask handler)
{
    pair.remove();
    QPointer<TypingJob> self(this);
    pair.global = m_services.input->addGlobalLeftMouseUp([self, handler](QPoint at) {
        if (self)
            (self->*handler)(at, false);
    });
    pair.local = m_services.input->addLocalLeftMouseUp([self, handler](QPoint at) {
        if (self)
            (self->*handler)(at, true);
    });
}

bool TypingJob::isOwnApplicationFrontmost() const
{
    const auto front = m_workspace.frontmostApplication();
    return front && front->pid == m_workspace.ownPid();
}

void TypingJob::captureTypingTarget(const Element &element)
{
    m_target = element;
    // The application in front now, not the element's own: that is where the keys go.
    if (const auto front = m_workspace.frontmostApplication()) {
        m_targetPid = front->pid;
        m_targetBundleId = front->bundleId.isEmpty() ? std::nullopt : std::optional<QString>(front->bundleId);
        setTypingTargetAppName(front->name);
    } else {
        m_targetPid.reset();
        m_targetBundleId.reset();
        setTypingTargetAppName({});
    }
}

void TypingJob::forgetTarget()
{
    m_target = {};
    m_targetPid.reset();
    m_targetBundleId.reset();
}

// ---- the start click and the focus poll

QCoro::Task<> TypingJob::startClick(QPoint point, bool local)
{
    QPointer<TypingJob> self(this);
    if (!m_job)
        co_return;
    const quint64 jobId = m_job->id;
    co_await m_scheduler.sleep(kStartClickSettleMs);
    if (!self || !isCurrent(jobId) || !m_isTyping || m_phase != phases::awaiting)
        co_return;
    if (local && isOwnApplicationFrontmost()) {
        setDetectionDebug(notes::ownFrontmost);
        co_return;
    }
    const Element found = co_await m_detector->detectAfterClick(kDetectionDeadlineMs, point);
    // The search took time: the job may have started, stopped or gone meanwhile.
    if (!self || !isCurrent(jobId) || !m_isTyping || m_phase != phases::awaiting)
        co_return;
    if (found.isNull()) {
        setStatusText(says::clickToBegin);
        setPhase(phases::awaiting);
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
    if (!m_isTyping || (m_phase != phases::awaiting && m_phase != phases::paused))
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
    if (m_phase == phases::paused || m_isPaused) {
        resumeWith(candidate);
        return;
    }
    if (!m_job)
        return;
    startTypingSession(m_job->project, candidate, resumeIndex(m_job->project));
}

// ---- the run

QCoro::Task<> TypingJob::startTypingSession(Project project, Element target, int resumeIndex)
{
    // Everything up to the first suspension runs at once, so a click and a
    // poll tick that find the target together start one session only.
    if (!m_isTyping || m_phase != phases::awaiting || !m_job)
        co_return;
    m_job->sessionStarted = true;
    const quint64 jobId = m_job->id;
    const std::shared_ptr<TypingFlags> flags = m_job->flags;

    captureTypingTarget(target);
    setDetectionDebug(notes::startFromFocus + m_detector->summary(target));
    m_startMonitors.remove();
    stopFocusPolling();
    setStatusText(says::typing);
    setPhase(phases::typing);
    setRunNote({});
    startTypingPauseMonitor();

    QPointer<TypingJob> self(this);
    Scheduler &scheduler = m_scheduler;
    // The engine runs one text at a time: a stopped run of an earlier job
    // must return before this one begins.
    while (m_runningJobId) {
        co_await scheduler.sleep(kPreviousRunPollMs);
        if (!self || !isCurrent(jobId) || flags->stop)
            co_return;
    }

    const std::shared_ptr<engine::TypingEngine> engine = m_services.engine; // kept alive while it runs
    m_runningJobId = jobId;
    m_runningFlags = flags;
    const int wpm = int(std::clamp<qint64>(project.wpm, 0, std::numeric_limits<int>::max()));
    // Named first: a braced temporary inside co_await is destroyed twice
    // by some compilers.
    engine::RunOptions options{.text = project.text,
                               .grade = project.grade,
                               .review = project.review,
                               .humanize = project.humanize,
                               .targetWpm = wpm,
                               .target = target,
                               .startIndex = resumeIndex,
                               .stopFlag = stopFlagOf(flags),
                               .pauseFlag = pauseFlagOf(flags),
                               .onProgress = progressSink(jobId, project),
                               .onPhase = phaseSink(jobId, project),
                               .onDebug = [](const QString &line) { qCDebug(typingLog).noquote() << line; }};
    co_await engine->typeText(std::move(options));
    if (!self)
        co_return;
    m_runningJobId.reset();
    m_runningFlags.reset();
    postRunEnd(jobId, flags, leftOutNote(engine->lastLeftOut()));
}

// The closures handed to the engine are made outside the coroutine: they
// hold only values and a guarded pointer, never a frame's locals.
std::function<bool()> TypingJob::stopFlagOf(std::shared_ptr<TypingFlags> flags)
{
    return [flags] { return flags->stop; };
}

std::function<bool()> TypingJob::pauseFlagOf(std::shared_ptr<TypingFlags> flags)
{
    return [flags] { return flags->pause; };
}

std::function<void(int, int)> TypingJob::progressSink(quint64 jobId, const Project &project)
{
    QPointer<TypingJob> self(this);
    Scheduler *scheduler = &m_scheduler;
    return [self, scheduler, jobId, project](int typed, int total) {
        scheduler->singleShot(0, [self, jobId, project, typed, total] {
            if (self)
                self->applyProgress(jobId, project, typed, total);
        });
    };
}

std::function<void(const QString &)> TypingJob::phaseSink(quint64 jobId, const Project &project)
{
    QPointer<TypingJob> self(this);
    Scheduler *scheduler = &m_scheduler;
    std::weak_ptr<engine::TypingEngine> weakEngine = m_services.engine;
    return [self, scheduler, jobId, project, weakEngine](const QString &phase) {
        // The engine's account of a difference belongs to this report: taken
        // now, before a later run could clear it.
        std::optional<int> difference;
        if (const auto engine = weakEngine.lock(); engine && engine->lastDifference() && phase == phases::differs) {
            difference = engine->lastDifference()->characters;
            qCInfo(typingLog).noquote() << "run ended, the text box differs from the project:"
                                        << engine->lastDifference()->reason;
        }
        scheduler->singleShot(0, [self, jobId, project, phase, difference] {
            if (self)
                self->applyPhase(jobId, project, phase, difference);
        });
    };
}

void TypingJob::postRunEnd(quint64 jobId, std::shared_ptr<TypingFlags> flags, QString note)
{
    // After the progress and phase reports already posted, so a late
    // "paused" never stands over "stopped".
    QPointer<TypingJob> self(this);
    m_scheduler.singleShot(0, [self, jobId, flags, note] {
        if (self)
            self->finishRun(jobId, flags->stop, note);
    });
}

void TypingJob::applyProgress(quint64 jobId, const Project &project, int typed, int total)
{
    // The project's own position, even when its job is no longer the current one.
    setResumeIndex(typed, project);
    if (isCurrent(jobId))
        setProgress(fraction(typed, total));
}

void TypingJob::applyPhase(quint64 jobId, const Project &project, const QString &phase,
                           std::optional<int> difference)
{
    // Only an exact end forgets the position: a field that differs keeps it,
    // as a stopped run does.
    if (phase == phases::done)
        clearResumeIndex(project);
    if (!isCurrent(jobId))
        return;
    if (phase == phases::differs)
        setTypingDifference(difference);
    setPhase(phase);
    if (phase == phases::editing)
        setStatusText(says::editing);
    else if (phase == phases::paused)
        setStatusText(says::pausedByEngine);
    else if (phase == phases::done)
        setStatusText(says::done);
    else if (phase == phases::differs)
        setStatusText(says::differs(difference));
}

void TypingJob::finishRun(quint64 jobId, bool stopped, const QString &note)
{
    if (!isCurrent(jobId))
        return;
    m_pauseMonitors.remove();
    if (stopped) {
        setPhase(phases::stopped);
        setStatusText(says::stopped);
    } else {
        setRunNote(note);
    }
    setIsTyping(false);
    setIsPaused(false);
}

// ---- clicks while typing, pause and resume

void TypingJob::startTypingPauseMonitor() { installMonitors(m_pauseMonitors, &TypingJob::pauseClick); }

void TypingJob::armResumeClick() { installMonitors(m_startMonitors, &TypingJob::resumeClick); }

QCoro::Task<> TypingJob::pauseClick(QPoint, bool)
{
    QPointer<TypingJob> self(this);
    if (!m_isTyping || m_phase != phases::typing || !m_job)
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
    if (m_targetPid && front && front->pid != *m_targetPid) {
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
    // Another text box of the same application: typing follows it.
    if (m_target.isNull() || m_target != candidate)
        captureTypingTarget(candidate);
}

void TypingJob::pauseForFocusLoss()
{
    if (!m_job)
        return;
    m_job->flags->pause = true;
    setIsPaused(true);
    setStatusText(says::pausedByClick);
    setPhase(phases::paused);
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
        setPhase(phases::paused);
        m_startMonitors.remove();
        return;
    }
    // Continue: the pause holds until a click or the focus finds a text box.
    setStatusText(says::clickToContinue);
    setPhase(phases::awaiting);
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
    if (!self || !isCurrent(jobId) || !m_isTyping || (m_phase != phases::paused && m_phase != phases::awaiting))
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
    setPhase(phases::paused);
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
        setPhase(phases::awaiting);
        startTypingSession(m_job->project, element, resumeIndex(m_job->project));
        return;
    }
    setStatusText(says::typing);
    setPhase(phases::typing);
    startTypingPauseMonitor();
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
    setPhase(phases::stopped);
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
    setPhase(phases::idle);
    setStatusText(says::idle);
    setRunNote({});
    m_job.reset();
    setTypingTargetAppName({});
    forgetTarget();
}

} // namespace qv::state
