#pragma once

#include "engine/EndOfRun.h"
#include "platform/Element.h"

#include <QCoro/QCoroTask>

#include <optional>

namespace qv::engine {

class TypingEngine;

// The gate the end-of-run repairs pass before each edit. It lets an edit
// through only while the run's application is in front, no pause is
// requested and the focused element takes text; otherwise it reports
// Paused, waits (120 ms steps while paused, 200 ms while another
// application is in front, a wait for a text input while the focus is
// elsewhere) and reports `resumePhase` (Editing unless told) once it lets
// the edit through. The run's key gate uses it for every key.
class EditGate {
public:
    EditGate(TypingEngine &engine, std::optional<qint64> requiredPid, StopFlag stopFlag, PauseFlag pauseFlag,
             PhaseSink onPhase);

    // False when a stop ended the wait: the caller ends its procedure.
    QCoro::Task<bool> pass();
    // Whether pass() would wait for the application or the focus (the
    // pause aside). Cheap while the focus stays on an element already found
    // to take text: that answer is kept until the focus moves.
    bool blocked() { return wrongApplication() || focusElsewhere(); }

    void setResumePhase(RunPhase phase) { m_resumePhase = phase; }
    static constexpr double kFocusSettleMs = 50;
    // Whether the focus is judged at all (absent: always).
    void setFocusChecks(std::function<bool()> enabled) { m_focusChecks = std::move(enabled); }

private:
    bool stopped() const { return m_stop && m_stop(); }
    bool paused() const { return m_pause && m_pause(); }
    bool wrongApplication();
    bool focusElsewhere();
    void phase(RunPhase name);

    TypingEngine &m_engine;
    std::optional<qint64> m_requiredPid;
    StopFlag m_stop;
    PauseFlag m_pause;
    PhaseSink m_onPhase;
    RunPhase m_resumePhase = RunPhase::Editing;
    std::function<bool()> m_focusChecks;
    platform::Element m_takesText; // the last focused element found to take text
};

} // namespace qv::engine
