#pragma once

#include "engine/DeferredError.h"

#include <QList>
#include <QString>

#include <optional>

namespace qv::engine {

// Why the field differs, for the debug log and the typing panel.
struct FieldDifference {
    // Characters (grapheme clusters) that differ; absent when the field
    // could not be compared character by character.
    std::optional<int> characters;
    QString reason;
};

// Where a run stopped before its end leaves its job, as the field shows it
// once the keys it sent have landed: the characters of the text that stand
// there (where the next run resumes; a key that was dropped or never landed
// is not among them), and the typos deferred for a review the run never
// reached that still stand in them. A typo's `index` is its UTF-16 offset
// from the start of the job's text in the field (the earlier text of the run
// that resumes).
struct StoppedRun {
    int resumeIndex = 0;
    QList<DeferredError> typos;
    friend bool operator==(const StoppedRun &, const StoppedRun &) = default;
};

} // namespace qv::engine
