#include "editor/TypingPanelModel.h"

#include "state/AppState.h"

namespace qv::editor {

using engine::RunPhase;

TypingPanelModel::TypingPanelModel(state::AppState &appState, Project project, std::function<void()> onClose,
                                   QObject *parent)
    : QObject(parent), m_app(appState), m_project(std::move(project)), m_onClose(std::move(onClose))
{
    using state::AppState;
    connect(&m_app, &AppState::phaseChanged, this, &TypingPanelModel::onPhaseChanged);
    for (auto signal : {&AppState::isTypingChanged, &AppState::isPausedChanged, &AppState::progressChanged,
                        &AppState::reduceMotionEnabledChanged, &AppState::inputMonitoringReadyChanged,
                        &AppState::typingTargetAppNameChanged, &AppState::detectionDebugChanged,
                        &AppState::runNoteChanged, &AppState::typingDifferenceChanged})
        connect(&m_app, signal, this, &TypingPanelModel::changed);
}

void TypingPanelModel::appear()
{
    // Not only Done and Stopped: a report the engine posted before a stop
    // can still stand for a moment as Typing after it.
    if (!m_app.isTyping() && m_app.phase() != RunPhase::Idle)
        m_app.resetTyping();
    m_shimmer = true;
    emit changed();
}

RunPhase TypingPanelModel::phase() const { return m_app.phase(); }

QString TypingPanelModel::statusMessage() const { return panel::statusMessage(m_app.phase(), m_project.humanize); }

QString TypingPanelModel::differenceNote() const
{
    return panel::differenceNote(m_app.phase(), m_app.typingDifference());
}

QString TypingPanelModel::percentComplete() const { return panel::percentComplete(m_app.progress()); }

panel::ActionRow TypingPanelModel::actionRow() const { return panel::actionRowFor(m_app.phase()); }

QString TypingPanelModel::startLabel() const { return panel::startLabel(m_app.resumeIndex(m_project)); }

QString TypingPanelModel::pauseLabel() const { return panel::pauseLabel(m_app.isPaused()); }

bool TypingPanelModel::pauseEnabled() const { return panel::pauseEnabled(m_app.phase(), m_app.isPaused()); }

bool TypingPanelModel::overlayVisible() const { return panel::overlayVisible(m_app.phase(), m_focusOverlayDismissed); }

bool TypingPanelModel::overlayFocusLost() const { return m_app.phase() == RunPhase::Paused; }

bool TypingPanelModel::showsPermissionWarning() const { return !m_app.inputMonitoringReady(); }

QString TypingPanelModel::detectionDebug() const { return m_app.detectionDebug(); }

QString TypingPanelModel::runNote() const
{
    // Also beside Differs: the characters left out are not what differs.
    const RunPhase phase = m_app.phase();
    return phase == RunPhase::Done || phase == RunPhase::Differs || phase == RunPhase::Unchecked ? m_app.runNote()
                                                                                                 : QString();
}

QString TypingPanelModel::targetAppName() const { return m_app.typingTargetAppName(); }

bool TypingPanelModel::reduceMotion() const { return m_app.reduceMotionEnabled(); }

int TypingPanelModel::estimatedMinutes() const { return panel::estimatedMinutes(m_project.text, m_project.wpm); }

QString TypingPanelModel::progressHeader() const { return panel::progressHeader(m_app.progress(), estimatedMinutes()); }

bool TypingPanelModel::highlightVisible() const { return panel::highlightVisible(m_app.phase()); }

void TypingPanelModel::onPhaseChanged()
{
    // Each new wait for the target shows the card again.
    if (panel::waitsForTarget(m_app.phase()))
        m_focusOverlayDismissed = false;
    emit phaseChanged();
    emit changed();
}

// ---- actions

void TypingPanelModel::start()
{
    if (m_closed || actionRow() != panel::ActionRow::Start)
        return;
    m_app.prepareTyping(m_project);
}

void TypingPanelModel::togglePause()
{
    if (m_closed || actionRow() != panel::ActionRow::PauseStop || !pauseEnabled())
        return;
    m_app.togglePause();
}

void TypingPanelModel::requestStop()
{
    if (m_closed || m_showStopConfirm)
        return;
    m_showStopConfirm = true;
    emit stopConfirmChanged();
}

void TypingPanelModel::cancelStop()
{
    if (!m_showStopConfirm)
        return;
    m_showStopConfirm = false;
    emit stopConfirmChanged();
}

void TypingPanelModel::confirmStop()
{
    if (m_closed)
        return;
    cancelStop();
    // Keeps the project's position: a later panel offers to resume.
    stopIfTyping();
    finish();
}

void TypingPanelModel::exit()
{
    if (m_closed)
        return;
    stopIfTyping();
    m_app.clearResumeIndex(m_project);
    m_app.resetTyping();
    finish();
}

void TypingPanelModel::close()
{
    if (m_closed)
        return;
    cancelStop();
    stopIfTyping();
    finish();
}

void TypingPanelModel::dismissOverlay()
{
    if (m_focusOverlayDismissed)
        return;
    m_focusOverlayDismissed = true;
    emit changed();
}

void TypingPanelModel::stopIfTyping()
{
    if (m_app.isTyping())
        m_app.stopTyping();
}

void TypingPanelModel::finish()
{
    // One close per panel: a second click that arrives before the window
    // is gone must not stop or reset a job started meanwhile elsewhere.
    m_closed = true;
    if (m_onClose)
        m_onClose();
}

} // namespace qv::editor
