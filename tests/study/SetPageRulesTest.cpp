#include "study/views/FlashcardDeck.h"
#include "study/views/StudyMode.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::study;

TEST(StudyModeTest, ModesAreReadByExactTitleAndOnlyLearnAndReviewAreSessions)
{
    EXPECT_EQ(studyModeFromRawValue(u"Review"), StudyMode::review);
    EXPECT_FALSE(studyModeFromRawValue(u"review").has_value());
    EXPECT_TRUE(isSessionMode(StudyMode::learn) && isSessionMode(StudyMode::review));
    EXPECT_FALSE(isSessionMode(StudyMode::test));
}

TEST(FlashcardDeckTest, EmptySingleCardAndShrunkenSets)
{
    FlashcardDeck empty;
    empty.flip();
    EXPECT_FALSE(empty.move(1, 0));
    EXPECT_FALSE(empty.move(-1, 0));
    EXPECT_EQ(empty.shownIndex(0), 0);
    EXPECT_TRUE(empty.showDefinition); // the arrows do nothing at all

    FlashcardDeck one;
    one.flip();
    EXPECT_TRUE(one.move(-1, 1));
    EXPECT_EQ(one.currentIndex, 0);
    EXPECT_FALSE(one.showDefinition);

    // A position past the end is clamped for display and wrapped by the next step.
    FlashcardDeck deck;
    deck.currentIndex = 7; // the set shrank to 3 cards
    EXPECT_EQ(deck.shownIndex(3), 2);
    FlashcardDeck back = deck;
    EXPECT_TRUE(back.move(-1, 3));
    EXPECT_EQ(back.currentIndex, 0); // 6 is still past the end
    EXPECT_TRUE(deck.move(1, 3));
    EXPECT_EQ(deck.currentIndex, 0);
    deck.currentIndex = -4;
    EXPECT_EQ(deck.shownIndex(3), 0);
}
