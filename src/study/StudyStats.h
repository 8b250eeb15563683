#pragma once

#include <QtGlobal>

namespace qv {
struct StudyItem;
struct StudyProject;
} // namespace qv

namespace qv::study {

// The mastery class of a card, by its two counters alone. A card never
// answered is in no class but still counts among the cards.
enum class MasteryClass { none, learning, mastered, weak };
MasteryClass masteryClass(const StudyItem &item);
inline bool isMastered(const StudyItem &item) { return masteryClass(item) == MasteryClass::mastered; }

// The figures of one set shown in a library row.
struct StudyStats {
    StudyStats() = default;
    explicit StudyStats(const StudyProject &project);

    qint64 mastered = 0; // cards with at least 2 right and none wrong
    qint64 streak = 0;   // the highest right count of any card, 0 without cards
    double ratio = 0.0;  // mastered / cards, dividing by 1 for an empty set
};

} // namespace qv::study
