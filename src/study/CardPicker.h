#pragma once

#include <QList>
#include <QtGlobal>

namespace qv {
class Random;
struct StudyItem;
} // namespace qv

namespace qv::study {

// The rules by which a session chooses its next card. Pure apart from the
// draws of the injected Random.

// Weight of a card in the shuffled draw: max(1, 2 × wrong + 1 − right) from
// its whole history; saturates instead of overflowing on huge counters.
qint64 cardWeight(const StudyItem &item);

// Index into `pool` drawn by weight: r uniform over [0, total) and the first
// card whose running sum exceeds r. `pool` must not be empty.
qsizetype weightedPick(const QList<StudyItem> &pool, Random &random);

// The cards sorted by lower-cased term in code-point order, stably.
QList<StudyItem> termOrder(const QList<StudyItem> &items);

// The goals offered for a pool of n cards: 5, 10, 15, 20 where the pool is
// larger, then the whole pool (at least 1).
QList<int> goalOptions(qsizetype n);

} // namespace qv::study
