#pragma once

#include "editor/TypingPanelRules.h"
#include "model/Project.h"

#include <QObject>

#include <functional>
#include <optional>

namespace qv::state {
class AppState;
}

namespace qv::editor {

// The typing panel without its widgets: the panel's own state (the pulse, the
// stop confirmation, the dismissed target card) and its actions, each of
// which goes through the state object. Everything it shows comes from the
// state object's published typing values and the project.
//
// `onClose` closes the panel's window; it runs from inside the action that
// ends the panel, so it must not delete the panel on the spot.
class TypingPanelModel : public QObject {
    Q_OBJECT
public:
    TypingPanelModel(state::AppState &appState, Project project, std::function<void()> onClose,
                     QObject *parent = nullptr);

    // The panel was installed: starts the pulse. A job left over (done or
    // stopped by an earlier panel's close) is reset first, keeping every
    // saved position, so the panel starts with its own project's Start or
    // Resume instead of another job's end.
    void appear();

    const Project &project() const { return m_project; }
    state::AppState &appState() const { return m_app; }

    // ---- view state
    bool shimmer() const { return m_shimmer; }
    bool showStopConfirm() const { return m_showStopConfirm; }
    bool focusOverlayDismissed() const { return m_focusOverlayDismissed; }
    // The panel ended itself (closed, stopped or exited).
    bool isClosed() const { return m_closed; }

    // ---- what the panel shows
    engine::RunPhase phase() const;
    QString statusMessage() const;
    // Why the run did not end Done (empty unless the text box differs).
    QString differenceNote() const;
    QString percentComplete() const;
    panel::ActionRow actionRow() const;
    QString startLabel() const;
    QString pauseLabel() const;
    bool pauseEnabled() const;
    bool overlayVisible() const;
    // The target card's wording: the job lost its target (rather than waits
    // for the first one).
    bool overlayFocusLost() const;
    bool showsPermissionWarning() const;
    QString detectionDebug() const;
    // Under the status once the run is done: what it left out of the text box.
    QString runNote() const;
    QString targetAppName() const;
    bool reduceMotion() const;
    int estimatedMinutes() const;
    QString progressHeader() const;
    bool highlightVisible() const;

    // ---- actions
    void start();
    void togglePause();
    // Asks before stopping (the action row's and the card's "Stop").
    void requestStop();
    void cancelStop();
    void confirmStop();
    // Ends the job for good: forgets the project's position and resets.
    void exit();
    // The header's close, and a close from the window manager.
    void close();
    // "Got it" on the target card.
    void dismissOverlay();

signals:
    // Anything shown may have changed.
    void changed();
    // The phase changed (the view animates the change).
    void phaseChanged();
    // The stop confirmation opened or closed.
    void stopConfirmChanged();

private:
    void onPhaseChanged();
    void stopIfTyping();
    void finish();

    state::AppState &m_app;
    Project m_project;
    std::function<void()> m_onClose;
    bool m_shimmer = false;
    bool m_showStopConfirm = false;
    bool m_focusOverlayDismissed = false;
    bool m_closed = false;
};

} // namespace qv::editor
