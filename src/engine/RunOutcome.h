#pragma once

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

} // namespace qv::engine
