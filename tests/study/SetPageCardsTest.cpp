#include "SetPageFixture.h"

#include "study/views/ClampedText.h"
#include "study/views/StudyCardEditorRow.h"
#include "study/views/StudySlideMenu.h"
#include "theme/QVLineEdit.h"
#include "theme/Typography.h"

#include <QMessageBox>
#include <QTest>

using namespace qv;
using namespace qv::study;

namespace {

class SetPageCardsTest : public qv::test::SetPageTest {
protected:
    static void answerAlert(StudySetPage *page, const QString &button)
    {
        QMessageBox *box = page->deleteCardAlert();
        ASSERT_NE(box, nullptr);
        click(buttonIn(box, button));
    }
    // Opens the row's menu and presses its Delete or Edit entry.
    static void fromRowMenu(StudySetPage *page, qsizetype row, QVButton *(StudyCardRow::*entry)() const)
    {
        StudyCardRow *r = page->cardList()->cardRow(row);
        ASSERT_NE(r, nullptr);
        click(r->menuButton());
        click((r->*entry)());
    }
    static void askDelete(StudySetPage *page, qsizetype row) { fromRowMenu(page, row, &StudyCardRow::deleteButton); }
    static void openEditor(StudySetPage *page, qsizetype row) { fromRowMenu(page, row, &StudyCardRow::editButton); }
};

TEST_F(SetPageCardsTest, AnEmptySetShowsNoCard)
{
    StudySetPage *page = open(makeSet("Empty", 1));
    EXPECT_EQ(counter(page), "1 / 1");
    EXPECT_FALSE(page->carousel()->cardView()->card().has_value());
    click(page->carousel()->toggleButton());
    EXPECT_EQ(page->carousel()->toggleButton()->text(), "Show Term");
    EXPECT_EQ(page->cardList()->rowCount(), 0);
}

TEST_F(SetPageCardsTest, ArrowsWrapBothWaysAndSlideFromTheMatchingEdge)
{
    StudySetPage *page = open(makeSet("Twelve", 1, cards(12)));
    EXPECT_EQ(counter(page), "1 / 12");
    click(page->carousel()->previousButton());
    EXPECT_EQ(counter(page), "12 / 12");
    EXPECT_EQ(shownTerm(page), "term 12");
    EXPECT_EQ(page->deck().slideDirection, -1.0);
    EXPECT_TRUE(page->carousel()->cardView()->isSliding());
    scheduler.advance(StudySetPage::kStepSlideMs + 20);
    EXPECT_FALSE(page->carousel()->cardView()->isSliding());

    click(page->carousel()->toggleButton());
    click(page->carousel()->nextButton());
    EXPECT_EQ(counter(page), "1 / 12");
    EXPECT_EQ(page->deck().slideDirection, 1.0);
    EXPECT_FALSE(page->carousel()->cardView()->showsDefinition()); // arrives term side up
    EXPECT_EQ(page->carousel()->toggleButton()->text(), "Show Definition");
}

TEST_F(SetPageCardsTest, ClickingTheCardTurnsItLikeTheButton)
{
    StudySetPage *page = open(makeSet("Set", 1, cards(2)));
    StudyFlashcardView *view = page->carousel()->cardView();
    QTest::mouseClick(view, Qt::LeftButton);
    EXPECT_TRUE(page->deck().showDefinition);
    EXPECT_TRUE(view->isTurning());
    EXPECT_EQ(page->carousel()->toggleButton()->text(), "Show Term");
    scheduler.advance(StudyFlashcardView::kTurnMs + 20);
    EXPECT_FALSE(view->isTurning());
    click(page->carousel()->toggleButton());
    EXPECT_FALSE(page->deck().showDefinition);

    // One card: the arrows only turn a turned card back.
    StudySetPage *one = open(makeSet("One", 2, cards(1)));
    click(one->carousel()->toggleButton());
    click(one->carousel()->nextButton());
    EXPECT_EQ(counter(one), "1 / 1");
    EXPECT_FALSE(one->deck().showDefinition);
    EXPECT_FALSE(one->carousel()->cardView()->isSliding());
}

TEST_F(SetPageCardsTest, AChangeOfCardCountReturnsToTheFirstTerm)
{
    StudyProject set = makeSet("Set", 1, cards(5));
    StudySetPage *page = open(set);
    for (int i = 0; i < 3; ++i)
        click(page->carousel()->nextButton());
    click(page->carousel()->toggleButton());
    const int recomputes = page->statsRecomputeCount();

    set.items.removeAt(4);
    EXPECT_TRUE(app->saveStudyProject(set));
    settle();
    EXPECT_EQ(counter(page), "1 / 4");
    EXPECT_EQ(shownTerm(page), "term 1");
    EXPECT_FALSE(page->deck().showDefinition);
    EXPECT_EQ(page->statsRecomputeCount(), recomputes + 1);

    // The same count keeps the position and the statistics.
    click(page->carousel()->nextButton());
    set.items[0].incorrectCount = 3;
    EXPECT_TRUE(app->saveStudyProject(set));
    settle();
    EXPECT_EQ(counter(page), "2 / 4");
    EXPECT_EQ(page->statsRecomputeCount(), recomputes + 1);
}

TEST_F(SetPageCardsTest, RowsAreNumberedInPlainTextAndWeakCardsAreMarked)
{
    StudySetPage *page = open(makeSet("Set", 1, {card("<b>weak</b> & co", "w", 5, 1), card("fine", "f", 2)}));
    EXPECT_TRUE(page->carousel()->cardView()->showsWeakBadge());
    StudyCardRow *weak = page->cardList()->cardRow(0);
    EXPECT_EQ(weak->numberLabel()->text(), "#1");
    EXPECT_EQ(weak->termLabel()->text(), "<b>weak</b> & co");
    EXPECT_EQ(weak->termLabel()->textFormat(), Qt::PlainText);
    EXPECT_FALSE(weak->weakLabel()->isHidden());
    EXPECT_TRUE(page->cardList()->cardRow(1)->weakLabel()->isHidden());
    click(page->carousel()->nextButton());
    EXPECT_FALSE(page->carousel()->cardView()->showsWeakBadge());
}

TEST_F(SetPageCardsTest, SavingAnEditTrimsTheSidesAndKeepsEverythingElse)
{
    StudyProject set = makeSet("Set", 1, {card("a", "1"), card("b", "2", 3, 1), card("c", "3")});
    set.items[1].isStarred = true;
    set.items[1].lastReviewedAt = set.updatedAt;
    StudySetPage *page = open(set);
    const int recomputes = page->statsRecomputeCount();
    openEditor(page, 1);
    EXPECT_FALSE(page->activeCardMenu().has_value());
    settle();
    StudyCardEditorRow *editor = page->cardList()->editorRow(1);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->termField()->text(), "b");
    editor->termField()->selectAll();
    QTest::keyClicks(editor->termField(), "  beta");
    page->setDraftTerm(page->draftTerm() + "\n");
    page->setDraftDefinition("\tsecond ");
    clock.advanceMs(90'000);
    click(editor->saveButton());

    const StudyProject stored = storedSet(set.id);
    const StudyItem &b = stored.items[1];
    EXPECT_EQ(b.term, "beta");
    EXPECT_EQ(b.definition, "second");
    EXPECT_EQ(b.id, set.items[1].id);
    EXPECT_EQ(b.correctCount, 3);
    EXPECT_EQ(b.incorrectCount, 1);
    EXPECT_TRUE(b.isStarred);
    EXPECT_EQ(b.lastReviewedAt, set.updatedAt);
    EXPECT_EQ(stored.updatedAt, clock.nowUtc());
    EXPECT_FALSE(page->editingCard().has_value());
    EXPECT_TRUE(page->draftTerm().isEmpty());
    EXPECT_EQ(page->statsRecomputeCount(), recomputes); // an edit changes no counter
    settle();
    EXPECT_EQ(page->cardList()->cardRow(1)->termLabel()->text(), "beta");
}

TEST_F(SetPageCardsTest, ABlankSideKeepsTheEditorOpenAndACancelledDeleteDeletesNothing)
{
    StudyProject set = makeSet("Set", 1, cards(3));
    StudySetPage *page = open(set);
    openEditor(page, 0);
    page->setDraftTerm("   ");
    page->setDraftDefinition("kept");
    click(page->cardList()->editorRow(0)->saveButton());
    EXPECT_TRUE(page->editingCard().has_value());
    EXPECT_EQ(page->draftDefinition(), "kept");
    EXPECT_EQ(storedSet(set.id), set);
    click(page->cardList()->editorRow(0)->cancelButton());
    EXPECT_FALSE(page->editingCard().has_value());
    settle();
    EXPECT_NE(page->cardList()->cardRow(0), nullptr);

    // Cancelling or dismissing the delete alert.
    askDelete(page, 1);
    answerAlert(page, "Cancel");
    EXPECT_FALSE(page->pendingCardDelete().has_value());
    askDelete(page, 1);
    page->deleteCardAlert()->reject();
    EXPECT_FALSE(page->pendingCardDelete().has_value());
    settle();
    EXPECT_EQ(storedSet(set.id), set);
    EXPECT_EQ(page->cardList()->rowCount(), 3);
}

TEST_F(SetPageCardsTest, EditingAnotherCardDropsTheFirstDraftsAndAVanishedCardClosesTheEditor)
{
    StudyProject set = makeSet("Set", 1, cards(3));
    StudySetPage *page = open(set);
    openEditor(page, 0);
    page->setDraftTerm("unsaved");
    openEditor(page, 2);
    EXPECT_EQ(page->editingCard()->id, set.items[2].id);
    EXPECT_EQ(page->draftTerm(), "term 3");
    settle();
    EXPECT_NE(page->cardList()->cardRow(0), nullptr);
    ASSERT_NE(page->cardList()->editorRow(2), nullptr);

    // The card disappears meanwhile (the set window removed it).
    StudyProject edited = set;
    edited.items.removeAt(2);
    EXPECT_TRUE(app->saveStudyProject(edited));
    settle();
    page->setDraftTerm("new text");
    page->saveCardEdit(set.items[2]);
    EXPECT_FALSE(page->editingCard().has_value());
    EXPECT_EQ(storedSet(set.id), edited);
}

TEST_F(SetPageCardsTest, DeletingACardRemovesEveryCardWithItsIdAndCountsAtOnce)
{
    StudyProject set = makeSet(
        "Set", 1, {card("same", "1", 0, 2), card("same", "2"), card("c", "3", 2), card("d", "4"), card("e", "5")});
    StudySetPage *page = open(set);
    for (int i = 0; i < 4; ++i)
        click(page->carousel()->nextButton()); // card 5 of 5
    EXPECT_EQ(page->sessionStats().weakCount, 1);

    askDelete(page, 0);
    EXPECT_FALSE(page->activeCardMenu().has_value());
    ASSERT_TRUE(page->pendingCardDelete().has_value());
    answerAlert(page, "Delete");
    EXPECT_FALSE(page->pendingCardDelete().has_value());
    const StudyProject stored = storedSet(set.id);
    ASSERT_EQ(stored.items.size(), 4);
    EXPECT_EQ(stored.items[0].id, set.items[1].id); // the other "same" stays
    EXPECT_EQ(stored.updatedAt, clock.nowUtc());
    EXPECT_EQ(page->sessionStats().weakCount, 0); // before the page gets the stored copy
    settle();
    EXPECT_EQ(counter(page), "1 / 4");
    EXPECT_EQ(page->cardList()->rowCount(), 4);
    EXPECT_EQ(page->cardList()->cardRow(3)->numberLabel()->text(), "#4");
    EXPECT_EQ(page->pillTexts().at(1), "4 Cards");

    // Cards sharing an id go together.
    StudyProject twins = makeSet("Twins", 2, {card("x", "1"), card("y", "2")});
    twins.items[1].id = twins.items[0].id;
    StudySetPage *other = open(twins);
    other->deleteCard(twins.items[0]);
    EXPECT_TRUE(storedSet(twins.id).items.isEmpty());
}

TEST_F(SetPageCardsTest, LongSidesAreCutAfterSixLines)
{
    const QFont font = Typography::font(TextStyle::Title2, QFont::DemiBold);
    const ClampedText longText = clampText(QString("word ").repeated(200), font, 300, 6);
    EXPECT_EQ(longText.lines.size(), 6);
    EXPECT_TRUE(longText.elided);
    EXPECT_TRUE(longText.lines.last().endsWith(QStringLiteral("\u2026")));
    const ClampedText shortText = clampText("cell\nunit", font, 300, 6);
    EXPECT_EQ(shortText.lines, (QStringList{"cell", "unit"}));
    EXPECT_FALSE(shortText.elided);
}

} // namespace
