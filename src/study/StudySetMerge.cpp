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

// Each card takes the counters, review date and star of the first card
// with its id in `from`; cards without one keep their own.
void takeProgress(QList<StudyItem> &items, const QList<StudyItem> &from)
{
    const auto source = firstById(from);
    for (StudyItem &item : items) {
        if (const StudyItem *s = source.value(item.id)) {
            item.correctCount = s->correctCount;
            item.incorrectCount = s->incorrectCount;
            item.lastReviewedAt = s->lastReviewedAt;
            item.isStarred = s->isStarred;
        }
    }
}
} // namespace

StudyProject mergeSessionCopy(const StudyProject &stored, const StudyProject &sessionCopy)
{
    StudyProject merged = stored;
    takeProgress(merged.items, sessionCopy.items);
    merged.updatedAt = sessionCopy.updatedAt;
    return merged;
}

StudyProject keepProgressAcrossEdit(const StudyProject &edited, const StudyProject &previous)
{
    StudyProject out = edited;
    takeProgress(out.items, previous.items);
    out.options = previous.options;
    return out;
}

} // namespace qv::study
