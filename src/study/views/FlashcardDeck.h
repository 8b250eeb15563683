#pragma once

#include <QtGlobal>

namespace qv::study {

// Where the flashcards stand: the position (possibly beyond the end of a set
// that shrank), the face shown and the direction of the last step.
struct FlashcardDeck {
    int currentIndex = 0;
    bool showDefinition = false;
    double slideDirection = 1.0;

    // The position shown: the stored one clamped into the cards (0 without cards).
    int shownIndex(qsizetype count) const;
    // One step of the arrows, wrapping at both ends; the new card shows its
    // term. Without cards nothing changes. Returns whether it stepped.
    bool move(int step, qsizetype count);
    void flip() { showDefinition = !showDefinition; }
    // Back to the first card, term side up (the direction stays).
    void reset()
    {
        currentIndex = 0;
        showDefinition = false;
    }
};

} // namespace qv::study
