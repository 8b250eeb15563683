#pragma once

#include "engine/DeferredError.h"

#include <QList>
#include <QString>

namespace qv::engine {

// Rules that keep the run's typed buffer and its deferred typos true, and
// that put the typos right at the end. Every position is a UTF-16 offset.

// Where `wrong` (compared as one code unit) stands nearest to
// `expectedIndex` (clamped into the text): the earlier of two equally near
// positions; the clamped expected index when `wrong` occurs nowhere; -1 for
// an empty text.
int findErrorIndex(const QString &text, int expectedIndex, const QString &wrong);

// The text with its deferred typos put right. The buffer is exact by
// construction, so each typo is corrected only where its whole `wrong`
// sequence stands at its exact index (errors are applied in index order and
// later indexes shift by the length difference of earlier corrections); a
// typo that is not where it should be is left alone rather than "corrected"
// somewhere in correctly typed text.
QString applyDeferredErrors(const QString &text, QList<DeferredError> errors);

// At most `count` errors spread evenly from the last one backwards,
// returned in ascending index order (all when there are no more than count).
QList<DeferredError> selectErrors(QList<DeferredError> errors, int count);

// Replaces `deleteCount` units at `start` (both clamped into the buffer) by
// `replacement`, and re-anchors the deferred errors: those before the stretch
// stay, those after it move by the length difference, those inside it follow
// their wrong character into the replacement (same offset, else the nearest
// within 3 units) or are dropped.
void applyBufferEdit(QString &buffer, QList<DeferredError> &deferredErrors, int start, int deleteCount,
                     const QString &replacement);

// The text with the one UTF-16 unit at `index` replaced by `character`;
// unchanged when the index is outside the text.
QString replaceChar(const QString &text, int index, const QString &character);

// A deletion at the end of the buffer, widened so that it starts on a
// grapheme boundary: keys delete whole graphemes in some editors, so a
// stretch that began inside a cluster could not be deleted exactly. The part
// of the cluster that had to go along is put back in front of the
// replacement (never half of a surrogate pair: such a cut deletes the whole
// code point).
struct TailEdit {
    int start = 0;       // UTF-16 offset where the deletion begins
    QString deleted;     // the units removed (the stretch before the caret)
    QString replacement; // what is typed in their place
};
TailEdit tailEdit(const QString &buffer, int deleteCount, const QString &replacement);

} // namespace qv::engine
