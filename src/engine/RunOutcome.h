#pragma once

#include <QString>

#include <optional>

namespace qv::engine {

// The phase a run reports instead of "done" when it reached its end but the
// field, read back, does not hold what the run meant to leave there (the
// whole field when the run owned it, else the run's own segment).
inline const QString kPhaseDiffers = QStringLiteral("differs");

// Why the field differs, for the debug log and the typing panel.
struct FieldDifference {
    // Characters (grapheme clusters) that differ; absent when the field
    // could not be compared character by character.
    std::optional<int> characters;
    QString reason;
};

} // namespace qv::engine
