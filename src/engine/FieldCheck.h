#pragma once

#include <QString>

#include <optional>

namespace qv::engine {

// How the text box compares with what the run meant to leave there, read at
// the very end of a run.
enum class FieldCheck {
    Exact,      // it holds the intended text
    Rewritten,  // the application rewrote what was typed (typographic quotes,
                // dashes, ellipses) in a way no repair can undo
    Differs,    // it holds something else
    Unverified, // it could not be read back
};

// Whether `live` is `intended` as the target application rewrote it while
// it was typed: equal once quotes, apostrophes, dashes and ellipses are read
// as the plain characters typed, and not already equal.
bool rewrittenByTarget(const QString &live, const QString &intended);

// The check of a whole field (`live` absent: unreadable).
FieldCheck checkField(const std::optional<QString> &live, const QString &intended);

// The phase a finished run reports for a check: "done" only for an exact
// field; "differs" otherwise, the reason going to the debug lines.
QString outcomePhase(FieldCheck check);
QString checkName(FieldCheck check);

} // namespace qv::engine
