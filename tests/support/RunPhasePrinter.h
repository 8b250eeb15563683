#pragma once

#include "engine/RunPhase.h"

#include <ostream>

namespace qv::engine {
// Failure messages name the phase instead of its number.
inline void PrintTo(RunPhase phase, std::ostream *os) { *os << phaseName(phase).toStdString(); }
} // namespace qv::engine
