#include "state/TypingJob.h"

#include "core/Scheduler.h"
#include "engine/TypingEngine.h"
#include "state/TargetDetector.h"
#include "state/TypingJobParts.h"

#include <QLoggingCategory>
#include <QPointer>

#include <algorithm>
#include <limits>

namespace qv::state {

using engine::RunPhase;
using namespace jobparts;

// The engine's diagnostic lines (debug level: QT_LOGGING_RULES="quorvel.typing.debug=true"
// shows them) and why a run ended with the text box differing (info).
Q_LOGGING_CATEGORY(typingLog, "quorvel.typing", QtInfoMsg)

namespace {
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
    // Words a line break kept apart stay apart.
    const QString spaces = left.returnsAsSpaces > 0 ? QStringLiteral(" Line breaks were typed as spaces.") : QString();
    if (reasons.size() == 2 && reasons[0] == reasons[1])
        return QStringLiteral("Left out %1 and %2: %3.").arg(parts[0], parts[1], reasons[0]) + spaces;
    for (int i = 0; i < parts.size(); ++i)
        parts[i] += QStringLiteral(" (") + reasons[i] + QLatin1Char(')');
    return QStringLiteral("Left out ") + parts.join(QStringLiteral(" and ")) + QLatin1Char('.') + spaces;
}

// The panel's line on the text in front of a resumed run, when the run
// left it as it stood.
QString earlierTextNote(const std::optional<engine::TypingEngine::EarlierTextLeft> &left)
{
    if (!left)
        return {};
    if (left->differs && left->firstDiffering)
        return QStringLiteral("The text typed before this run resumed does not read as your project from its "
                              "character %1 on; it was left as it stands.")
            .arg(*left->firstDiffering);
    if (left->differs)
        return QStringLiteral("The text typed before this run resumed does not read as your project there; "
                              "it was left as it stands.");
    return QStringLiteral("The text typed before this run resumed could not be checked; it was left as it stands.");
}

QString runNoteOf(const engine::TypingEngine &engine)
{
    QStringList lines;
    for (const QString &line : {leftOutNote(engine.lastLeftOut()), earlierTextNote(engine.lastEarlierTextLeft())})
        if (!line.isEmpty())
            lines << line;
    return lines.join(QLatin1Char(' '));
}
} // namespace

// ---- the run

QCoro::Task<> TypingJob::startTypingSession(Project project, Element target, int resumeIndex)
{
    // Everything up to the first suspension runs at once, so a click and a
    // poll tick that find the target together start one session only.
    if (!m_isTyping || m_phase != RunPhase::Awaiting || !m_job)
        co_return;
    m_job->sessionStarted = true;
    const quint64 jobId = m_job->id;
    const std::shared_ptr<TypingFlags> flags = m_job->flags;

    captureTypingTarget(target);
    setDetectionDebug(notes::startFromFocus + m_detector->summary(target));
    m_startMonitors.remove();
    stopFocusPolling();
    setStatusText(says::typing);
    setPhase(RunPhase::Typing);
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
    // A stopped run of this project knows best where it stands: the field
    // showed it once its keys had landed, possibly after the position above
    // was read. The typos it left for its review come along.
    QList<engine::DeferredError> earlierTypos;
    if (const auto stop = m_stoppedRuns.constFind(project.id); stop != m_stoppedRuns.cend() && resumeIndex > 0) {
        resumeIndex = stop->resumeIndex;
        earlierTypos = stop->typos;
    }
    m_stoppedRuns.remove(project.id);
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
                               .earlierTypos = earlierTypos,
                               .stopFlag = stopFlagOf(flags),
                               .pauseFlag = pauseFlagOf(flags),
                               .onProgress = progressSink(jobId, project),
                               .onPhase = phaseSink(jobId, project),
                               .onDebug = [](const QString &line) { qCDebug(typingLog).noquote() << line; }};
    co_await engine->typeText(std::move(options));
    if (!self)
        co_return;
    if (engine->lastStop())
        m_stoppedRuns.insert(project.id, *engine->lastStop());
    m_runningJobId.reset();
    m_runningFlags.reset();
    postRunEnd(jobId, flags, runNoteOf(*engine));
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

engine::PhaseSink TypingJob::phaseSink(quint64 jobId, const Project &project)
{
    QPointer<TypingJob> self(this);
    Scheduler *scheduler = &m_scheduler;
    std::weak_ptr<engine::TypingEngine> weakEngine = m_services.engine;
    return [self, scheduler, jobId, project, weakEngine](RunPhase phase) {
        // The engine's account of a difference belongs to this report: taken
        // now, before a later run could clear it.
        std::optional<int> difference;
        if (const auto engine = weakEngine.lock(); engine && engine->lastDifference() && phase == RunPhase::Differs) {
            difference = engine->lastDifference()->characters;
            qCInfo(typingLog).noquote() << "run ended, the text box differs from the project:"
                                        << engine->lastDifference()->reason;
        } else if (engine && engine->lastUncheckedReason() && phase == RunPhase::Unchecked) {
            qCInfo(typingLog).noquote() << "run ended, the text box was not checked:" << *engine->lastUncheckedReason();
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
    // Paused never stands over Stopped.
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

void TypingJob::applyPhase(quint64 jobId, const Project &project, RunPhase phase, std::optional<int> difference)
{
    // Only an exact end forgets the position: a field that differs, or
    // could not be checked, keeps it, as a stopped run does.
    if (phase == RunPhase::Done)
        clearResumeIndex(project);
    if (!isCurrent(jobId))
        return;
    if (phase == RunPhase::Differs)
        setTypingDifference(difference);
    setPhase(phase);
    if (phase == RunPhase::Editing)
        setStatusText(says::editing);
    else if (phase == RunPhase::Paused)
        setStatusText(says::pausedByEngine);
    else if (phase == RunPhase::Done)
        setStatusText(says::done);
    else if (phase == RunPhase::Differs)
        setStatusText(says::differs(difference));
    else if (phase == RunPhase::Unchecked)
        setStatusText(says::unchecked);
}

void TypingJob::finishRun(quint64 jobId, bool stopped, const QString &note)
{
    if (!isCurrent(jobId))
        return;
    m_pauseMonitors.remove();
    if (stopped) {
        setPhase(RunPhase::Stopped);
        setStatusText(says::stopped);
    } else {
        setRunNote(note);
    }
    setIsTyping(false);
    setIsPaused(false);
}

} // namespace qv::state
