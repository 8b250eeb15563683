#pragma once

#include "engine/RunOutcome.h"
#include "engine/RunPhase.h"
#include "model/Project.h"
#include "platform/Element.h"
#include "state/ClickMonitors.h"
#include "state/JobTarget.h"
#include "state/ResumeStore.h"
#include "state/TypingFlags.h"

#include <QCoro/QCoroTask>
#include <QHash>
#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace qv {
class Scheduler;
namespace engine {
class TypingEngine;
}
namespace platform {
class Accessibility;
class Desktop;
class InputMonitor;
class Permissions;
class Workspace;
} // namespace platform
} // namespace qv

namespace qv::state {

class Preferences;
class TargetDetector;

// The typing job: arms a job for one writing project, waits until the user
// clicks into (or focuses) a text box of another application, runs the
// typing engine there, follows clicks while it types (pausing when the user
// clicks away, following a second text box of the same application), pauses
// and continues from the panel, remembers where each project stopped, and
// ends, stops or resets the job. AppState publishes its values.
//
// Each job has an id and its own stop and pause flags. Only the current job
// changes what is published; a run that outlives its job (stopped, then a
// new job armed) still stores its project's resume position but changes
// nothing else, and the next run starts only once it has returned, so the
// one engine never runs twice at once.
//
// Engine callbacks and the end of a run are posted to the scheduler, so they
// apply in the order the engine made them, before what follows the run.
//
// The class lives in four files along its seams: TypingJob.cpp (published
// values, arming, stop and reset), TypingJobCapture.cpp (the start click and
// the focus poll that find the target), TypingJobPause.cpp (clicks while
// typing, pause and resume) and TypingJobRun.cpp (one run of the engine and
// its reports).
class TypingJob final : public QObject {
    Q_OBJECT
public:
    using Element = platform::Element;

    struct Services {
        Scheduler *scheduler = nullptr;
        Preferences *preferences = nullptr;
        platform::Workspace *workspace = nullptr;
        platform::Permissions *permissions = nullptr;
        // Without these three no job can be armed (a state object built
        // without a desktop, as in tests of other parts).
        platform::Accessibility *accessibility = nullptr;
        platform::InputMonitor *input = nullptr;
        std::shared_ptr<engine::TypingEngine> engine;
        platform::Desktop *desktop = nullptr; // null: no launcher badge
        // The permission state as last recorded (at launch or by the dashboard).
        std::function<bool()> accessibilityReady;
        std::function<bool()> inputMonitoringReady;
    };

    explicit TypingJob(Services services, QObject *parent = nullptr);
    ~TypingJob() override;

    // ---- operations of the typing panel
    void prepareTyping(const Project &project);
    void togglePause();
    void stopTyping();
    void resetTyping();
    int resumeIndex(const Project &project) const { return m_resume.resumeIndex(project); }
    void setResumeIndex(qint64 index, const Project &project) { m_resume.setResumeIndex(index, project); }
    void clearResumeIndex(const Project &project)
    {
        m_stoppedRuns.remove(project.id);
        m_resume.clearResumeIndex(project);
    }

    // The road a start click and the focus poll take: starts the run on
    // `target` when the job is armed and still waiting; returns when the run
    // has ended (at once when it does not start).
    QCoro::Task<> startTypingSession(Project project, Element target, int resumeIndex);

    // ---- published values
    const QString &statusText() const { return m_statusText; }
    bool isTyping() const { return m_isTyping; }
    bool isPaused() const { return m_isPaused; }
    double progress() const { return m_progress; }
    engine::RunPhase phase() const { return m_phase; }
    const QString &typingTargetAppName() const { return m_typingTargetAppName; }
    const QString &detectionDebug() const { return m_detectionDebug; }
    // What the last finished run could not type into the text box (the line
    // breaks or tabs it left out, and why); empty when nothing was left out.
    const QString &runNote() const { return m_runNote; }
    // Characters by which the text box differed from the project when the
    // run ended in Differs (absent when unknown); cleared by a new job.
    std::optional<int> typingDifference() const { return m_typingDifference; }

    void setStatusText(const QString &v);
    void setIsTyping(bool v);
    void setIsPaused(bool v);
    void setProgress(double v);
    void setPhase(engine::RunPhase v);
    void setTypingTargetAppName(const QString &v);
    void setDetectionDebug(const QString &v);
    void setRunNote(const QString &v);
    void setTypingDifference(std::optional<int> v);

    // ---- the job as it stands
    std::optional<Project> currentProject() const;
    const Element &typingTargetElement() const { return m_target.element; }
    std::optional<qint64> typingTargetPid() const { return m_target.pid; }
    std::optional<QString> typingTargetBundleId() const { return m_target.bundleId; }
    // Whether the engine is running (for this job or a stopped earlier one).
    bool isRunInFlight() const { return m_runningJobId.has_value(); }
    bool isFocusPolling() const { return m_pollTimer.has_value(); }
    // Null when no job can be armed.
    TargetDetector *detector() const { return m_detector.get(); }

    static constexpr double kStartClickSettleMs = 140;
    static constexpr double kPauseClickSettleMs = 70;
    static constexpr double kFocusPollMs = 250;
    static constexpr double kDetectionDeadlineMs = 1400;
    // How often a started session looks whether the previous run has returned.
    static constexpr double kPreviousRunPollMs = 50;

signals:
    void statusTextChanged();
    void isTypingChanged();
    void isPausedChanged();
    void progressChanged();
    void phaseChanged();
    void typingTargetAppNameChanged();
    void detectionDebugChanged();
    void runNoteChanged();
    void typingDifferenceChanged();

private:
    struct Job {
        quint64 id = 0;
        Project project;
        std::shared_ptr<TypingFlags> flags;
        int armedResumeIndex = 0; // where a start click begins
        bool sessionStarted = false;
    };
    using ClickTask = QCoro::Task<> (TypingJob::*)(QPoint, bool);

    bool canArm() const;
    bool isCurrent(quint64 jobId) const { return m_job && m_job->id == jobId; }
    bool isOwnApplicationFrontmost() const;
    void captureTypingTarget(const Element &element);
    void forgetTarget();
    void updateBadge();

    // Clicks go to `handler` while this job object lives.
    void installMonitors(ClickMonitors &monitors, ClickTask handler);
    void startTypingPauseMonitor();
    void armResumeClick();
    void startFocusPolling();
    void stopFocusPolling();
    void scheduleFocusTick();
    void focusTick();

    QCoro::Task<> startClick(QPoint point, bool local);
    QCoro::Task<> pauseClick(QPoint point, bool local);
    QCoro::Task<> resumeClick(QPoint point, bool local);
    void pauseForFocusLoss();
    void resumeWith(const Element &element);

    static std::function<bool()> stopFlagOf(std::shared_ptr<TypingFlags> flags);
    static std::function<bool()> pauseFlagOf(std::shared_ptr<TypingFlags> flags);
    std::function<void(int, int)> progressSink(quint64 jobId, const Project &project);
    std::function<void(engine::RunPhase)> phaseSink(quint64 jobId, const Project &project);
    void postRunEnd(quint64 jobId, std::shared_ptr<TypingFlags> flags, QString note);
    void applyProgress(quint64 jobId, const Project &project, int typed, int total);
    void applyPhase(quint64 jobId, const Project &project, engine::RunPhase phase, std::optional<int> difference);
    void finishRun(quint64 jobId, bool stopped, const QString &note);

    Services m_services;
    Scheduler &m_scheduler;
    platform::Workspace &m_workspace;
    ResumeStore m_resume;
    std::unique_ptr<TargetDetector> m_detector;

    QString m_statusText = QStringLiteral("Idle");
    bool m_isTyping = false;
    bool m_isPaused = false;
    double m_progress = 0;
    engine::RunPhase m_phase = engine::RunPhase::Idle;
    QString m_typingTargetAppName;
    QString m_detectionDebug;
    QString m_runNote;
    std::optional<int> m_typingDifference;

    std::optional<Job> m_job;
    quint64 m_nextJobId = 1;
    JobTarget m_target;
    // Start monitors; while a job is paused they hold the resume monitors.
    ClickMonitors m_startMonitors;
    ClickMonitors m_pauseMonitors;
    std::optional<quint64> m_pollTimer;
    std::optional<quint64> m_runningJobId;
    std::shared_ptr<TypingFlags> m_runningFlags;
    // Where a run of each project stopped while typing left it, as the field
    // showed it (with the typos it deferred), until the next run of the
    // project takes it or its position is cleared.
    QHash<QUuid, engine::StoppedRun> m_stoppedRuns;
};

} // namespace qv::state
