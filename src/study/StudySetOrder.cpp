#include "study/StudySetOrder.h"

#include "model/StudyProject.h"

#include <algorithm>

namespace qv::study {

bool changedLater(const StudyProject &a, const StudyProject &b) { return a.updatedAt > b.updatedAt; }

QList<StudyProject> newestFirst(QList<StudyProject> sets)
{
    std::stable_sort(sets.begin(), sets.end(), changedLater);
    return sets;
}

std::optional<StudyProject> resumeCandidate(const QList<StudyProject> &sets)
{
    if (sets.isEmpty())
        return std::nullopt;
    // The first of a stable newest-first sort is the earliest of the latest.
    auto it = std::min_element(sets.begin(), sets.end(), changedLater);
    return *it;
}

} // namespace qv::study
