#pragma once

#include <QString>

#include <optional>

namespace qv::state {

// The settings suggested for a draft.
struct SmartProfile {
    QString grade;                // "9" to "12"; the stored default for an empty text
    QString review;               // "light", "medium", "heavy"; the stored default for an empty text
    std::optional<QString> title; // up to six words of the first line
    QString essayType;            // "Draft" for an empty text
    int predictedMinutes = 0;     // at least 1 unless the text is empty
    QString preset;               // the stored speed preset, as stored

    friend bool operator==(const SmartProfile &, const SmartProfile &) = default;
};

} // namespace qv::state
