#include "study/StudyStats.h"

#include "model/StudyProject.h"

#include <algorithm>

namespace qv::study {

MasteryClass masteryClass(const StudyItem &item)
{
    if (item.incorrectCount > 0)
        return MasteryClass::weak;
    if (item.incorrectCount == 0 && item.correctCount >= 2)
        return MasteryClass::mastered;
    if (item.incorrectCount == 0 && item.correctCount == 1)
        return MasteryClass::learning;
    return MasteryClass::none;
}

StudyStats::StudyStats(const StudyProject &project)
{
    for (const StudyItem &item : project.items) {
        if (isMastered(item))
            ++mastered;
        streak = std::max(streak, item.correctCount);
    }
    ratio = double(mastered) / double(std::max<qsizetype>(project.items.size(), 1));
}

} // namespace qv::study
