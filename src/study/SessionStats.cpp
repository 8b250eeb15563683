#include "study/SessionStats.h"

#include "model/StudyProject.h"
#include "study/Counters.h"
#include "study/StudyStats.h"

#include <algorithm>

namespace qv::study {

SessionStats::SessionStats(const StudyProject &project)
{
    cardCount = project.items.size();
    for (const StudyItem &item : project.items) {
        switch (masteryClass(item)) {
        case MasteryClass::mastered:
            ++masteredCount;
            break;
        case MasteryClass::learning:
            ++learningCount;
            break;
        case MasteryClass::weak:
            ++weakCount;
            weakIds.insert(item.id);
            break;
        case MasteryClass::none:
            break;
        }
    }
    progress = double(masteredCount) / double(std::max<qint64>(cardCount, 1));
}

int SessionStats::progressPercent() const { return percentOf(masteredCount, cardCount); }

} // namespace qv::study
