#pragma once

#include <QList>
#include <QString>

#include <utility>

namespace qv::engine {

// How a field's text compares with what the run meant to leave there, once
// what the application rewrites as it is typed is told apart from the rest:
// typographic quotes, apostrophes, dashes and ellipses, a tab turned into
// spaces, a capital at the start of a sentence. No repair undoes those:
// typing the text again has it rewritten again.
struct FieldComparison {
    // Characters (grapheme clusters) that differ for any other reason: a
    // typo left, text lost or doubled.
    int off = 0;
    // Characters of the intended text the application rewrote.
    int rewritten = 0;
    // The intended text with the application's rewrites as it made them:
    // what a repair makes the field equal to.
    QString accepted;
    // Each stretch that differs for another reason, in order: where it is in
    // the field (UTF-16), and what `accepted` holds in its place.
    struct Stretch {
        qsizetype at = 0;
        qsizetype length = 0;
        QString replacement;
        friend bool operator==(const Stretch &, const Stretch &) = default;
    };
    QList<Stretch> stretches;
    // Where an offset of the intended text stands in the field: the field
    // runs that many units ahead (or behind) from each intended offset on.
    QList<std::pair<qsizetype, qsizetype>> shifts;
    qsizetype liveOffset(qsizetype intendedOffset) const;
};
FieldComparison compareField(const QString &live, const QString &intended);

// Whether `live` is `intended` as the target application rewrote it while
// it was typed, with nothing else different, and not already equal.
bool rewrittenByTarget(const QString &live, const QString &intended);

} // namespace qv::engine
