#include "study/StudySetMerge.h"

#include "model/StudyProject.h"

#include <QHash>

namespace qv::study {

namespace {
// First card per id, as every lookup by id takes the first match.
QHash<QUuid, const StudyItem *> firstById(const QList<StudyItem> &items)
{
    QHash<QUuid, const StudyItem *> byId;
    for (const StudyItem &item : items)
        if (!byId.contains(item.id))
            byId.insert(item.id, &item);
    return byId;
}

void takeProgress(StudyItem &into, const StudyItem &from)
{
    into.correctCount = from.correctCount;
    into.incorrectCount = from.incorrectCount;
    into.lastReviewedAt = from.lastReviewedAt;
    into.isStarred = from.isStarred;
}
} // namespace

StudyProject mergeSessionCopy(const StudyProject &stored, const StudyProject &sessionCopy)
{
    StudyProject merged = stored;
    const auto session = firstById(sessionCopy.items);
    for (StudyItem &item : merged.items)
        if (const StudyItem *s = session.value(item.id))
            takeProgress(item, *s);
    merged.updatedAt = sessionCopy.updatedAt;
    return merged;
}

StudyProject keepProgressAcrossEdit(const StudyProject &edited, const StudyProject &previous)
{
    StudyProject out = edited;
    const auto old = firstById(previous.items);
    for (StudyItem &item : out.items)
        if (const StudyItem *o = old.value(item.id))
            takeProgress(item, *o);
    out.options = previous.options;
    return out;
}

} // namespace qv::study
