#include "engine/RepairRules.h"

#include "core/Text.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace qv::engine {

namespace {
bool boundaryInBoth(const QString &a, int ia, const QString &b, int ib)
{
    return text::isGraphemeBoundary(a, ia) && text::isGraphemeBoundary(b, ib);
}
} // namespace

int commonPrefixLength(const QString &a, const QString &b)
{
    const int m = int(std::min(a.size(), b.size()));
    int p = 0;
    while (p < m && a.at(p) == b.at(p))
        ++p;
    // A boundary depends on what follows, so test it in each text.
    while (p > 0 && !boundaryInBoth(a, p, b, p))
        --p;
    return p;
}

MiddleDiff diffMiddle(const QString &live, const QString &target)
{
    const int L = int(live.size());
    const int T = int(target.size());
    MiddleDiff d;
    d.prefix = commonPrefixLength(live, target);
    const int room = std::min(L, T) - d.prefix;
    int s = 0;
    while (s < room && live.at(L - 1 - s) == target.at(T - 1 - s))
        ++s;
    // The suffix starts later until its start lies between clusters in both.
    while (s > 0 && !boundaryInBoth(live, L - s, target, T - s))
        --s;
    d.suffix = s;
    d.liveMid = L - d.prefix - s;
    d.targetMid = T - d.prefix - s;
    d.targetMiddle = d.targetMid > 0 ? target.mid(d.prefix, d.targetMid) : QString();
    d.mismatch = std::abs(L - T) + d.liveMid;
    d.ratio = double(d.mismatch) / double(std::max(T, 1));
    return d;
}

namespace {
// The length of the shortest script of grapheme insertions and deletions
// that turns `a` into `b` (Myers), or -1 when it exceeds `limit`.
int editDistance(const QStringList &a, const QStringList &b, int limit)
{
    const int n = int(a.size());
    const int m = int(b.size());
    const int offset = limit + 1;
    std::vector<int> furthest(2 * offset + 1, 0);
    for (int d = 0; d <= limit; ++d) {
        for (int k = -d; k <= d; k += 2) {
            int x = (k == -d || (k != d && furthest[offset + k - 1] < furthest[offset + k + 1]))
                        ? furthest[offset + k + 1]
                        : furthest[offset + k - 1] + 1;
            int y = x - k;
            while (x < n && y < m && a.at(x) == b.at(y)) {
                ++x;
                ++y;
            }
            furthest[offset + k] = x;
            if (x >= n && y >= m)
                return d;
        }
    }
    return -1;
}
} // namespace

int differingCharacters(const QString &live, const QString &intended)
{
    const MiddleDiff d = diffMiddle(live, intended);
    const QStringList have = text::graphemes(QStringView(live).mid(d.prefix, d.liveMid));
    const QStringList want = text::graphemes(QStringView(intended).mid(d.prefix, d.targetMid));
    const int widest = int(std::max(have.size(), want.size()));
    // Characters left over on either side once the most are matched in
    // order: scattered typos count one each, not the stretch between them.
    const int distance = editDistance(have, want, std::min(int(have.size() + want.size()), 4000));
    if (distance < 0)
        return widest;
    const int matched = (int(have.size() + want.size()) - distance) / 2;
    return std::max(int(have.size()) - matched, int(want.size()) - matched);
}

std::optional<QList<BrokenClusters>> brokenClusters(const QString &landed, const QString &typed)
{
    const QStringList clusters = text::graphemes(typed);
    const auto landsAt = [&](qsizetype pos, qsizetype k) {
        return QStringView(landed).mid(pos).startsWith(clusters.at(k))
               && text::isGraphemeBoundary(landed, int(pos + clusters.at(k).size()));
    };
    QList<BrokenClusters> broken;
    qsizetype at = 0;
    for (qsizetype k = 0; k < clusters.size();) {
        // A cluster that is there is taken as landed: the field treats the
        // same kind of character the same way every time.
        if (landsAt(at, k)) {
            at += clusters.at(k).size();
            ++k;
            continue;
        }
        // What stands in its place is made of its own code points only,
        // each at most as often as it holds it, up to where the next cluster
        // lands; a part of the next one as well makes that one broken too.
        BrokenClusters stretch{at, 0, clusters.at(k), 1};
        QList<uint> parts = clusters.at(k).toUcs4();
        qsizetype next = k + 1;
        qsizetype end = at;
        for (;;) {
            if (next < clusters.size() ? landsAt(end, next) : end == landed.size())
                break;
            const char32_t cp = end < landed.size() ? text::firstScalar(QStringView(landed).mid(end)) : 0;
            const qsizetype part = end < landed.size() ? parts.indexOf(uint(cp)) : -1;
            if (part >= 0) {
                parts.removeAt(part);
                end += QChar::requiresSurrogates(cp) ? 2 : 1;
                continue;
            }
            if (next >= clusters.size())
                return std::nullopt;
            stretch.clusters += clusters.at(next);
            ++stretch.count;
            parts += clusters.at(next).toUcs4();
            ++next;
        }
        stretch.length = end - at;
        broken.append(stretch);
        at = end;
        k = next;
    }
    if (at != landed.size() || broken.isEmpty())
        return std::nullopt;
    return broken;
}

bool takesWholeFieldPath(const MiddleDiff &diff) { return diff.ratio > 0.15 || diff.mismatch > 120; }

bool isSafeToWipeAndReplaceAll(const QString &current, const QString &intended)
{
    const int C = int(current.size());
    const int I = int(intended.size());
    if (I == 0)
        return C == 0;
    const int p = commonPrefixLength(current, intended);
    if (double(p) / double(std::max(std::min(C, I), 1)) < 0.84)
        return false;
    const int d = std::abs(C - I);
    return double(d) / double(std::max(I, 1)) <= 0.18 || d < 121;
}

bool tailFixLikely(const QString &current, const QString &target)
{
    if (current.isEmpty() || target.isEmpty())
        return false;
    const int p = commonPrefixLength(current, target);
    return double(p) / double(std::max<qsizetype>(target.size(), 1)) >= 0.72;
}

bool segmentOverwriteRefused(const QString &segment, const QString &target)
{
    const int S = int(segment.size());
    const int T = int(target.size());
    const int m = std::min(S, T);
    if (m >= 1) {
        const int p = commonPrefixLength(segment, target);
        if (double(p) / double(m) < 0.08 && std::abs(S - T) >= 19)
            return true;
    }
    const int segMid = diffMiddle(segment, target).liveMid;
    return segMid > 120 || (segMid > 3 && double(segMid) > 0.15 * double(T));
}

int tailRetypeCount(int length, int cap)
{
    if (length < 144)
        return std::min(cap, 12);
    return std::min({cap, length / 12, 80});
}

qint64 anchoredSegmentStart(const QString &live, qint64 hint, const std::optional<QString> &before,
                            const std::optional<QString> &after, const QString &target)
{
    if (!before)
        return hint;
    // The user's text went in (or out) where `before` and the field part
    // (at the insertion point when all of `before` is still there).
    const int changedAt = commonPrefixLength(live, *before);
    // The segment read whole right in front of the text after it.
    if (after && live.endsWith(*after)) {
        const qint64 start = live.size() - after->size() - target.size();
        if (start >= changedAt && live.mid(start, target.size()) == target)
            return start;
    }
    if (changedAt == before->size())
        return hint;
    // Else right after what stood between the change and the insertion point.
    const QString rest = before->mid(changedAt);
    if (!rest.isEmpty()) {
        const qint64 found = live.indexOf(rest, changedAt);
        if (found >= 0)
            return found + rest.size();
    }
    return hint;
}

bool repairTouchesForeignText(const QString &segment, const QString &typed, const QString &target, bool whole)
{
    const MiddleDiff foreign = diffMiddle(segment, typed);
    // Units the field lost of what was typed (parts of a character it could
    // not take), or that it holds in their place, are nothing foreign: only
    // what it holds beyond them is.
    if (foreign.liveMid <= foreign.targetMid)
        return false;
    if (whole)
        return true;
    const MiddleDiff repair = diffMiddle(segment, target);
    const int from = repair.prefix;
    const int to = repair.prefix + repair.liveMid;
    return from < foreign.prefix + foreign.liveMid && foreign.prefix < to;
}

std::optional<qint64> afterTextStart(const QString &live, const QString &after, qint64 start, bool caretMoved)
{
    const qint64 at = live.size() - after.size();
    if (at < start)
        return std::nullopt;
    if (live.endsWith(after))
        return at;
    if (caretMoved)
        return std::nullopt;
    qsizetype differing = 0;
    for (qsizetype i = 0; i < after.size(); ++i)
        differing += live.at(at + i) != after.at(i) ? 1 : 0;
    if (differing <= std::max<qsizetype>(2, after.size() / 20))
        return at;
    return std::nullopt;
}

SegmentPlace placeSegment(const QString &live, qint64 hint, const std::optional<QString> &before,
                          const std::optional<QString> &after, const QString &target, bool caretMoved)
{
    if (!before)
        return {hint, std::nullopt, true, true};
    const bool backIntact = after && live.endsWith(*after);
    const std::optional<qint64> end = backIntact ? std::optional<qint64>(live.size() - after->size()) : std::nullopt;
    const int changedAt = commonPrefixLength(live, *before);
    if (end) {
        const qint64 start = *end - target.size();
        if (start >= changedAt && live.mid(start, target.size()) == target)
            return {start, end, changedAt == before->size(), true};
    }
    if (changedAt == before->size()) {
        const std::optional<qint64> bound = after ? afterTextStart(live, *after, hint, caretMoved) : std::nullopt;
        return {hint, bound, true, bound || !after};
    }
    const qint64 start = anchoredSegmentStart(live, hint, before, after, target);
    return {start, end && *end >= start ? end : std::nullopt, false, false};
}

} // namespace qv::engine
