#include "study/views/FlashcardDeck.h"

#include <algorithm>

namespace qv::study {

int FlashcardDeck::shownIndex(qsizetype count) const
{
    const qsizetype last = std::max<qsizetype>(count, 1) - 1;
    return int(std::clamp<qsizetype>(currentIndex, 0, last));
}

bool FlashcardDeck::move(int step, qsizetype count)
{
    if (count <= 0)
        return false;
    // From the raw stored index, so a position past the end of a shrunk set
    // comes back to the first card.
    qint64 next = qint64(currentIndex) + step;
    if (next < 0)
        next = count - 1;
    if (next >= count)
        next = 0;
    slideDirection = step < 0 ? -1.0 : 1.0;
    currentIndex = int(next);
    showDefinition = false;
    return true;
}

} // namespace qv::study
