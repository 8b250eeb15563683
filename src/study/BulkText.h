#pragma once

#include "model/StudyItem.h"
#include "study/StudyDelimiter.h"

#include <QList>
#include <QString>

#include <optional>

namespace qv::study {

// One card's two sides as cut from a pasted line.
struct BulkCard {
    QString term;
    QString definition;
    bool operator==(const BulkCard &) const = default;
};

// The token that cuts one (already trimmed) line: the fixed choice's token,
// or for `Auto` the first of tab, " - ", "|", ":", ";", "," that the line
// holds anywhere. The order of the tests decides, not the position.
std::optional<QString> resolveDelimiter(const QString &line, StudyDelimiter preferred);

// One card per line that holds a non-empty term and definition around the
// first occurrence of its token; every other line is skipped silently.
QList<BulkCard> parseBulkCards(const QString &text, StudyDelimiter delimiter);

// The same lines as new cards: a fresh id each, no answers, no star.
QList<StudyItem> parseBulkText(const QString &text, StudyDelimiter delimiter);

} // namespace qv::study
