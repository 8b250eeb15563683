#pragma once

#include <QString>

namespace qv::engine {

// Where a typing job stands. The engine reports Typing, Paused, Editing and
// one of Done, Differs or Unchecked; the job adds the phases around a run (Idle,
// Awaiting its text box, Stopped), and the typing panel shows them all.
enum class RunPhase {
    Idle,
    Awaiting,
    Typing,
    Paused,
    Editing,
    Done,
    // The run reached its end, but the field, read back, does not hold what
    // the run meant to leave there (the whole field when the run owned it,
    // else the run's own segment).
    Differs,
    // The run reached its end, but what the field holds could not be read
    // back (or the run's segment could not be found in it): it was not
    // checked, and the run does not claim Done.
    Unchecked,
    Stopped,
};

// The phase's name for logs and test output ("typing", "differs" …).
inline QString phaseName(RunPhase phase)
{
    switch (phase) {
    case RunPhase::Idle:
        return QStringLiteral("idle");
    case RunPhase::Awaiting:
        return QStringLiteral("awaiting");
    case RunPhase::Typing:
        return QStringLiteral("typing");
    case RunPhase::Paused:
        return QStringLiteral("paused");
    case RunPhase::Editing:
        return QStringLiteral("editing");
    case RunPhase::Done:
        return QStringLiteral("done");
    case RunPhase::Differs:
        return QStringLiteral("differs");
    case RunPhase::Unchecked:
        return QStringLiteral("unchecked");
    case RunPhase::Stopped:
        return QStringLiteral("stopped");
    }
    return {};
}

} // namespace qv::engine
