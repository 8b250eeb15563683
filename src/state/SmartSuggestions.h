#pragma once

#include "state/SmartProfile.h"

#include <QString>
#include <QStringList>

namespace qv::state::smart {

// The three stored preferences the suggestion falls back on.
struct StoredDefaults {
    QString grade = QStringLiteral("12");
    QString review = QStringLiteral("medium");
    QString preset = QStringLiteral("balanced");
};

// Suggested grade, review, title, essay type, time and preset for a draft.
SmartProfile smartDefaults(const QString &text, const StoredDefaults &stored);
// One sentence that explains the suggestion.
QString smartReason(const QString &text);

// Characters (grapheme clusters) that are not whitespace; line breaks are whitespace.
int nonWhitespaceCount(const QString &text);
// How many of `markers` occur at least once in `text`, as plain substrings.
int countMatches(const QString &text, const QStringList &markers);

const QStringList &argumentMarkers();
const QStringList &analysisMarkers();
const QStringList &narrativeMarkers();
const QStringList &expositionMarkers();

} // namespace qv::state::smart
