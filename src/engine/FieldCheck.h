#pragma once

#include <QString>

namespace qv::engine {

// Whether `live` is `intended` as the target application rewrote it while
// it was typed (typographic quotes and apostrophes, dashes, ellipses): equal
// once those are read as the plain characters typed, and not already equal.
// No repair can undo such a rewrite: typing the text again has it rewritten
// again.
bool rewrittenByTarget(const QString &live, const QString &intended);

} // namespace qv::engine
