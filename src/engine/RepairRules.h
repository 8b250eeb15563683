#pragma once

#include <QString>

#include <optional>

namespace qv::engine {

// Pure rules of the end-of-run repairs. Lengths and positions are UTF-16
// units; every boundary a rule hands back lies between two grapheme clusters
// of both texts, so a selection or a count never splits a character.

// Length of the common start of `a` and `b`, moved back to the last offset
// that is a grapheme boundary in both.
int commonPrefixLength(const QString &a, const QString &b);

// How `live` differs from `target`: a common prefix, a common suffix within
// what the prefix left, and the differing middles between them.
struct MiddleDiff {
    int prefix = 0;    // p
    int suffix = 0;    // s
    int liveMid = 0;   // live units between prefix and suffix
    int targetMid = 0; // target units between prefix and suffix
    QString targetMiddle;
    int mismatch = 0; // |L - T| + liveMid
    double ratio = 0; // mismatch / max(T, 1)
    friend bool operator==(const MiddleDiff &, const MiddleDiff &) = default;
};
MiddleDiff diffMiddle(const QString &live, const QString &target);

// Characters (grapheme clusters) in which `live` differs from `intended`:
// of the two, the larger number of characters left unmatched when as many
// as possible are matched in order (a swapped character counts once, a
// missing or an extra one once); 0 when they are equal.
int differingCharacters(const QString &live, const QString &intended);

// A difference too large to repair in place: ratio above 0.15 or mismatch
// above 120.
bool takesWholeFieldPath(const MiddleDiff &diff);

// Whether wiping a field that holds `current` to type `intended` is safe:
// the two share most of their start and differ little in length.
bool isSafeToWipeAndReplaceAll(const QString &current, const QString &intended);

// Whether the field text `current` is close enough to `target` for the
// keyboard tail fix (a shared start of at least 72 % of the target).
bool tailFixLikely(const QString &current, const QString &target);

// Whether overwriting an inserted segment that reads `segment` with
// `target` is refused: almost nothing in common at the start with a large
// length difference, or a differing middle above 120 units or above both
// 3 units and 15 % of the target (the segment then holds someone else's
// text, not a typo of ours).
bool segmentOverwriteRefused(const QString &segment, const QString &target);

// Where an inserted segment of `target` begins in the field's text `live`,
// when `before` and `after` stood in front of and behind the insertion
// point `hint` at set-up (absent: not read). Text the user typed (or
// deleted) in front of the insertion point during the run moves the
// segment: it is found again right in front of `after` when it reads whole
// there, else right after what is left of `before`. Answers `hint` when the
// text before it is unchanged or nothing tells.
qint64 anchoredSegmentStart(const QString &live, qint64 hint, const std::optional<QString> &before,
                            const std::optional<QString> &after, const QString &target);

// Where the segment the run typed stands in the field's text `live` at the
// end of the run, and whether the repairs may touch it there. `before` and
// `after` are the field's text in front of and after the insertion point
// `hint` at set-up (absent: not read).
// - The segment reads whole right in front of `after`: there (exact).
// - The text in front is unchanged: the segment begins at `hint`; while the
//   field still ends with `after`, it ends where `after` begins, and only
//   that stretch may be repaired; once `after` changed (the user typed
//   behind, or keys went into it after a click) nothing may be.
// - The text in front changed: the user typed in front of the segment, or
//   the caret was clicked into it and the run's keys went on there, which
//   the field cannot tell apart. The start found from the rest of `before`
//   only names the place; nothing is repaired.
struct SegmentPlace {
    qint64 start = 0;
    std::optional<qint64> end; // where `after` begins, while the field ends with it
    bool frontIntact = true;   // the field still starts with `before`
    bool mayRepair = true;
    friend bool operator==(const SegmentPlace &, const SegmentPlace &) = default;
};
// `caretMoved`: the run saw its caret away from its text while it typed, so
// its keys may stand in more than one place: a start is trusted only where
// the text around the segment is as it was.
SegmentPlace placeSegment(const QString &live, qint64 hint, const std::optional<QString> &before,
                          const std::optional<QString> &after, const QString &target, bool caretMoved = false);

// Where the text that followed the insertion point (`after`) begins in
// `live`, no earlier than `start`: where the field ends with it; or, unless
// the caret moved during the run, where the field ends with as many units
// that differ from it in a few places only (the application corrected a
// word in it). Absent otherwise.
std::optional<qint64> afterTextStart(const QString &live, const QString &after, qint64 start, bool caretMoved);

// Whether repairing `segment` to `target` by replacing the differing middle
// (or, `whole`, all of it) would delete units that the run's keys did not
// leave there: where the segment differs from `typed` (what the keys typed)
// by more units than the keys typed there. A segment that only lacks some
// of the typed units (a field that dropped part of a character), or holds
// others in their place (the application corrected a word), holds nothing
// foreign.
bool repairTouchesForeignText(const QString &segment, const QString &typed, const QString &target, bool whole);

// Clusters of `typed` that did not land whole, where `landed` (what the
// field shows where `typed` was typed) is `typed` with some clusters left
// out or broken: only some of their code points kept, or kept in another
// order (a field that takes the parts of a joined emoji sequence as
// separate keys), and nothing else changed. Each with the stretch of
// `landed` that stands in its place (empty when nothing of it landed),
// first to last; neighbouring broken clusters make one stretch. Absent when
// the two differ in any other way or when every cluster landed whole.
struct BrokenClusters {
    qsizetype at = 0;     // where the stretch begins in `landed`
    qsizetype length = 0; // its units: parts of the clusters, nothing else
    QString clusters;     // what belongs there, whole
    int count = 0;        // how many clusters that is
    friend bool operator==(const BrokenClusters &, const BrokenClusters &) = default;
};
std::optional<QList<BrokenClusters>> brokenClusters(const QString &landed, const QString &typed);

// Units of the field's end retyped by the review: up to 12 of a short text,
// else a twelfth of it, at most 80; never more than `cap`.
int tailRetypeCount(int length, int cap);

} // namespace qv::engine
