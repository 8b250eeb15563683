#pragma once

namespace qv::state {

// The stop and pause flags of one typing job. Each job gets its own, shared
// with the engine's closures, so that a run that outlives its job (stopped,
// then a new job armed) keeps seeing its own stop and never the new job's
// cleared flags. Everything runs on the GUI thread, so no lock is needed.
struct TypingFlags {
    bool stop = false;
    bool pause = false;
};

} // namespace qv::state
