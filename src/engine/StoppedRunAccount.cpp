#include "engine/StoppedRunAccount.h"

#include "core/Text.h"
#include "engine/RepairRules.h"

#include <algorithm>

namespace qv::engine {

namespace {
bool standsAt(const QString &live, qint64 at, const QString &wrong)
{
    return at >= 0 && QStringView(live).mid(at, wrong.size()) == wrong;
}
} // namespace

std::optional<StoppedRun> accountForStop(const StopFacts &f)
{
    if (!f.insertionStart || *f.insertionStart < 0 || *f.insertionStart > f.live.size())
        return std::nullopt;
    const qint64 at = *f.insertionStart;
    // The user's text around the run's keys must stand as it did: otherwise
    // nothing says where they are.
    if (f.textBefore && QStringView(f.live).left(at) != *f.textBefore)
        return std::nullopt;
    QString mine = f.live.mid(at);
    if (f.textAfter) {
        if (!mine.endsWith(*f.textAfter))
            return std::nullopt;
        mine.chop(f.textAfter->size());
    }

    // Keys land in order: what is missing is the end of the buffer, one
    // character of the text for each of its characters.
    const int landed = commonPrefixLength(mine, f.buffer);
    const int missing = text::graphemeCount(QStringView(f.buffer).mid(landed));
    StoppedRun out;
    out.resumeIndex = std::clamp(f.typedCount - missing, f.start, std::max(f.start, f.typedCount));
    // A key it could not take back stands where the next character goes:
    // that character landed, as itself or as a typo of it.
    const std::optional<DeferredError> &stray = f.strayKey;
    const bool strayStands = stray && landed == f.buffer.size() && stray->index == f.buffer.size()
                             && mine == f.buffer + stray->wrong;
    if (strayStands)
        out.resumeIndex = f.typedCount + 1;

    // The earlier text ends where the run's keys began.
    const qint64 earlierStart = at - f.earlierLength;
    if (earlierStart < 0)
        return out; // not all there: none of its offsets holds
    for (const DeferredError &typo : f.earlierTypos)
        if (typo.index + typo.wrong.size() <= f.earlierLength
            && standsAt(f.live, earlierStart + typo.index, typo.wrong))
            out.typos.append(typo);
    for (const DeferredError &typo : f.deferredErrors)
        if (typo.index + typo.wrong.size() <= landed && standsAt(f.live, at + typo.index, typo.wrong))
            out.typos.append({int(f.earlierLength + typo.index), typo.correct, typo.wrong});
    if (strayStands && stray->wrong != stray->correct)
        out.typos.append({int(f.earlierLength + stray->index), stray->correct, stray->wrong});
    return out;
}

} // namespace qv::engine
