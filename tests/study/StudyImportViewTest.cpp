#include "StudyViewFixture.h"

#include "study/views/StudyImportView.h"
#include "support/LayoutCheck.h"
#include "theme/CustomWindow.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"
#include "theme/QVPillPicker.h"
#include "theme/QVTextEditor.h"

#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>

using namespace qv;
using namespace qv::study;

namespace {

class StudyImportViewTest : public qv::test::StudyViewTest {
protected:
    QList<StudyProject> saves;
    int closes = 0;

    std::unique_ptr<StudyImportView> makeView(std::optional<StudyProject> existing = std::nullopt,
                                              const QString &grade = "12")
    {
        auto view = std::make_unique<StudyImportView>(
            *app, clock, std::move(existing), grade, [this](const StudyProject &p) { saves << p; },
            [this] { ++closes; });
        view->resize(880, 700);
        view->show();
        return view;
    }

    static void addCard(StudyImportView &view, const QString &term, const QString &definition)
    {
        view.termField()->setText(term);
        view.definitionField()->setText(definition);
        click(view.addButton());
    }

    static QStringList terms(const StudyProject &p)
    {
        QStringList out;
        for (const StudyItem &i : p.items)
            out << i.term;
        return out;
    }

    static void typePaste(StudyImportView &view, const QString &text)
    {
        QTextCursor cursor(view.pasteEditor()->editor()->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(text);
    }
};

} // namespace

TEST_F(StudyImportViewTest, ANewSetStartsEmptyTakesCardsOnReturnAndAnEditedSetShowsItsContent)
{
    auto view = makeView();
    const QString newHeading = view->heading()->text();
    EXPECT_EQ(view->gradePicker()->selection().toString(), QString("12"));
    EXPECT_EQ(view->importMode(), ImportMode::manual);
    EXPECT_EQ(view->tabButton(ImportMode::manual)->variant(), QVButtonVariant::primary);
    EXPECT_EQ(view->tabButton(ImportMode::paste)->variant(), QVButtonVariant::secondary);
    EXPECT_TRUE(view->emptyCards()->isVisible());
    EXPECT_TRUE(view->statusLabel()->isHidden());
    EXPECT_EQ(view->delimiterPicker()->selection().toString(), QString("Auto"));

    // Return moves the focus on and then adds the card.
    view->activateWindow();
    QApplication::setActiveWindow(view.get());
    view->termField()->setFocus();
    QTest::keyClicks(view->termField(), "sun");
    QTest::keyClick(view->termField(), Qt::Key_Return);
    EXPECT_TRUE(view->definitionField()->hasFocus());
    QTest::keyClicks(view->definitionField(), "star");
    QTest::keyClick(view->definitionField(), Qt::Key_Return);
    EXPECT_TRUE(view->termField()->hasFocus());
    ASSERT_EQ(view->draft().cards().size(), 1);
    EXPECT_EQ(view->draft().cards()[0].definition, QString("star"));

    // Return in the title does nothing further.
    view->titleField()->setFocus();
    QTest::keyClick(view->titleField(), Qt::Key_Return);
    EXPECT_TRUE(saves.isEmpty());

    click(view->tabButton(ImportMode::pdf));
    EXPECT_FALSE(view->selectPdfButton()->isEnabled());
    click(view->tabButton(ImportMode::paste));
    EXPECT_TRUE(view->pasteEditor()->isVisible());
    EXPECT_FALSE(view->termField()->isVisible());

    click(view->closeButton());
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(saves.isEmpty());

    // An edited set shows its content.
    StudyProject set = makeSet("Algebra", 1, {card("x", "1"), card("y", "2")});
    set.grade = "University";
    view = makeView(set, "9");
    EXPECT_NE(view->heading()->text(), newHeading);
    EXPECT_EQ(view->titleField()->text(), QString("Algebra"));
    EXPECT_EQ(view->grade(), QString("University"));
    ASSERT_EQ(view->draft().cards().size(), 2);
    EXPECT_EQ(view->draft().cards()[1].id, set.items[1].id);
    EXPECT_TRUE(view->rawText().isEmpty());
    EXPECT_EQ(view->delimiter(), StudyDelimiter::Auto);
    EXPECT_FALSE(view->emptyCards()->isVisible());
    EXPECT_TRUE(view->cardList()->isVisible());
}

TEST_F(StudyImportViewTest, TheCardListAddsEditsAndDeletes)
{
    auto view = makeView();
    addCard(*view, "  cat ", "\u00A0animal\t");
    addCard(*view, "", "ignored");
    EXPECT_EQ(view->termField()->text(), QString(""));
    EXPECT_EQ(view->definitionField()->text(), QString("ignored")); // nothing changes
    addCard(*view, "x", "\n\t");
    EXPECT_EQ(view->draft().cards().size(), 1);
    addCard(*view, "dog", "pet");
    settle();
    ASSERT_EQ(view->draft().cards().size(), 2);
    EXPECT_EQ(view->draft().cards()[0].term, QString("cat"));
    EXPECT_EQ(view->draft().cards()[0].definition, QString("animal"));
    const QUuid cat = view->draft().cards()[0].id;

    click(view->editButton(0));
    EXPECT_EQ(view->termField()->text(), QString("cat"));
    EXPECT_EQ(view->addButton()->text(), QString("Update"));
    view->definitionField()->setText("feline");
    click(view->addButton());
    settle();
    EXPECT_EQ(view->addButton()->text(), QString("Add"));
    EXPECT_EQ(view->draft().cards()[0].definition, QString("feline"));
    EXPECT_EQ(view->draft().cards()[0].id, cat);
    EXPECT_EQ(view->draft().cards().size(), 2);
    EXPECT_FALSE(view->draft().editingCardId());

    // Deleting the card under edit: still "Update", which then appends a new card.
    const QUuid dog = view->draft().cards()[1].id;
    click(view->editButton(1));
    click(view->deleteButton(1));
    settle();
    EXPECT_EQ(view->draft().cards().size(), 1);
    EXPECT_EQ(view->addButton()->text(), QString("Update"));
    click(view->addButton());
    settle();
    EXPECT_EQ(view->draft().cards().size(), 2);
    EXPECT_NE(view->draft().cards()[1].id, dog);
    EXPECT_EQ(view->draft().editingCardId(), dog);
    EXPECT_EQ(view->addButton()->text(), QString("Update"));

    // Edit from the Paste tab fills the manual fields, seen on Manual.
    click(view->tabButton(ImportMode::paste));
    click(view->editButton(0));
    click(view->tabButton(ImportMode::manual));
    EXPECT_EQ(view->termField()->text(), QString("cat"));
}

TEST_F(StudyImportViewTest, SavingBuildsTheSet)
{
    auto view = makeView();
    click(view->saveButton());
    EXPECT_TRUE(saves.isEmpty());
    EXPECT_TRUE(view->statusLabel()->isVisible()); // its text is the draft's

    addCard(*view, "m1", "d1");
    addCard(*view, "m2", "d2");
    // The message stays once shown.
    EXPECT_TRUE(view->statusLabel()->isVisible());

    // Paste text left behind is not read on the Manual tab.
    typePaste(*view, "p1,q1");
    click(view->saveButton());
    ASSERT_EQ(saves.size(), 1);
    EXPECT_EQ(terms(saves[0]), (QStringList{"m1", "m2"}));
    EXPECT_EQ(saves[0].grade, QString("12"));
    EXPECT_EQ(saves[0].updatedAt, clock.nowUtc());

    // On the Paste tab: manual cards first, then the pasted lines.
    click(view->tabButton(ImportMode::paste));
    typePaste(*view, "\np2\tq2\np3 - q3");
    click(view->gradePicker()->pill(0));
    view->titleField()->setText("  Mixed  ");
    click(view->saveButton());
    ASSERT_EQ(saves.size(), 2);
    EXPECT_EQ(terms(saves[1]), (QStringList{"m1", "m2", "p1", "p2", "p3"}));
    EXPECT_EQ(saves[1].title, QString("Mixed"));
    EXPECT_EQ(saves[1].grade, QString("9"));
}

TEST_F(StudyImportViewTest, PastedTextIsReadAsTyped)
{
    auto view = makeView();
    click(view->tabButton(ImportMode::paste));
    // A line separator splits lines; a non-breaking space inside a term stays.
    typePaste(*view, QString("big\u00A0cat,feline") + QChar(0x2028) + "b;2");
    click(view->saveButton());
    ASSERT_EQ(saves.size(), 1);
    ASSERT_EQ(saves[0].items.size(), 2);
    EXPECT_EQ(saves[0].items[0].term, QString("big\u00A0cat"));
    EXPECT_EQ(saves[0].items[1].definition, QString("2"));

    // A fixed delimiter applies to every line.
    view->pasteEditor()->editor()->clear();
    typePaste(*view, "a:1\nb,2");
    click(view->delimiterPicker()->pill(2)); // Comma
    EXPECT_EQ(view->delimiter(), StudyDelimiter::Comma);
    click(view->saveButton());
    ASSERT_EQ(saves.size(), 2);
    EXPECT_EQ(terms(saves[1]), QStringList{"b"});
}

TEST_F(StudyImportViewTest, ScreenshotsOfTheTabs)
{
    auto view = makeView(std::nullopt, "11");
    view->titleField()->setText("World capitals");
    addCard(*view, "France", "Paris");
    addCard(*view, "Japan", "Tokyo");
    settle();
    saveShot(*view, "study-import-manual");
    view->setImportMode(ImportMode::paste);
    typePaste(*view, "Peru\tLima\nKenya - Nairobi\nChile, Santiago");
    saveShot(*view, "study-import-paste");
    view->setImportMode(ImportMode::pdf);
    saveShot(*view, "study-import-pdf");
}

// The window at its default and minimum sizes, editing a set of 16 cards
// and creating one with three, on every tab: no two controls overlap, none
// is squeezed or cut, the card list scrolls, and scrolled to its end the form
// shows the last card whole, apart from the footer.
TEST_F(StudyImportViewTest, NothingOverlapsAtTheDefaultAndMinimumSizes)
{
    StudyProject sixteen = makeSet("Sixteen cards", 1, cards(16));
    sixteen.items[3].definition = "A definition long enough to need a second line in the list when the window is at "
                                  "its narrowest, so rows of several heights are listed";
    struct Case {
        const char *name;
        std::optional<StudyProject> set;
        int manualCards;
        ImportMode mode;
        QSize size;
    };
    const Case cases[] = {
        {"edit16-manual-default", sixteen, 0, ImportMode::manual, {880, 700}},
        {"edit16-paste-default", sixteen, 0, ImportMode::paste, {880, 700}},
        {"edit16-manual-minimum", sixteen, 0, ImportMode::manual, {700, 560}},
        {"edit16-paste-minimum", sixteen, 0, ImportMode::paste, {700, 560}},
        {"new3-paste-default", std::nullopt, 3, ImportMode::paste, {880, 700}},
        {"new3-paste-minimum", std::nullopt, 3, ImportMode::paste, {700, 560}},
        {"new0-pdf-minimum", std::nullopt, 0, ImportMode::pdf, {700, 560}},
    };
    for (const Case &c : cases) {
        auto *view = new StudyImportView(
            *app, clock, c.set, "11", [](const StudyProject &) {}, [] {});
        CustomWindow window(view, 22, true);
        window.setMinimumSize(700, 560);
        window.resize(c.size);
        window.show();
        for (int i = 1; i <= c.manualCards; ++i)
            addCard(*view, QStringLiteral("Country %1").arg(i), QStringLiteral("Capital %1").arg(i));
        view->setImportMode(c.mode);
        if (c.mode == ImportMode::paste)
            typePaste(*view, "Peru\tLima\nKenya - Nairobi");
        view->titleField()->setText("A set title");
        click(view->saveButton()); // without cards this shows the message line
        saveShot(window, QStringLiteral("study-import-layout-%1").arg(c.name));
        EXPECT_EQ(window.size(), c.size) << c.name;
        EXPECT_EQ(qv::test::lines(qv::test::overlaps(&window)), "") << c.name;
        EXPECT_EQ(qv::test::lines(qv::test::cutControls(&window)), "") << c.name;

        const qsizetype count = view->draft().cards().size();
        if (count == 0) {
            EXPECT_TRUE(view->statusLabel()->isVisibleTo(view)) << c.name;
            continue;
        }
        // The list shows at least two rows and scrolls to the last one.
        EXPECT_GE(view->cardList()->height(), StudyImportView::kCardListMinHeight) << c.name;
        QScrollBar *rows = view->cardList()->verticalScrollBar();
        if (count == 16) {
            EXPECT_GT(rows->maximum(), 0) << c.name;
        }
        rows->setValue(rows->maximum());
        QScrollBar *form = view->formArea()->verticalScrollBar();
        form->setValue(form->maximum());
        QApplication::processEvents();
        QWidget *viewport = view->cardList()->viewport();
        QWidget *last = view->deleteButton(int(count) - 1);
        const QRect listShown(viewport->mapTo(&window, QPoint(0, 0)), viewport->size());
        EXPECT_TRUE(listShown.contains(QRect(last->mapTo(&window, QPoint(0, 0)), last->size()))) << c.name;
        QWidget *save = view->saveButton();
        EXPECT_FALSE(QRect(save->mapTo(&window, QPoint(0, 0)), save->size()).intersects(listShown)) << c.name;
        EXPECT_EQ(qv::test::lines(qv::test::overlaps(&window)), "") << c.name << " scrolled";
    }
}

// The Manual tab as a user looks at it: the form at the top with no band of
// empty room inside it, and the card list right under it, as tall as its
// cards up to its limit, with a scroll bar only when they need more. With 0, 1 and 4 cards, at
// the default and the smallest window sizes.
TEST_F(StudyImportViewTest, TheManualTabSitsAtTheTopWithItsCardListRightUnderIt)
{
    const auto top = [](QWidget *w, QWidget *window) { return w->mapTo(window, QPoint(0, 0)).y(); };
    const auto bottom = [&](QWidget *w, QWidget *window) { return top(w, window) + w->height(); };
    for (const QSize size : {QSize(880, 700), QSize(700, 560)}) {
        for (const int count : {0, 1, 4}) {
            const std::string name = std::to_string(count) + " cards at " + std::to_string(size.width()) + "x" +
                                     std::to_string(size.height());
            auto *view = new StudyImportView(
                *app, clock, std::nullopt, "11", [](const StudyProject &) {}, [] {});
            CustomWindow window(view, 22, true);
            window.setMinimumSize(700, 560);
            window.resize(size);
            window.show();
            for (int i = 1; i <= count; ++i)
                addCard(*view, QStringLiteral("Country %1").arg(i), QStringLiteral("Capital %1").arg(i));
            QApplication::processEvents();
            saveShot(window, QStringLiteral("study-import-manual-%1-cards-%2x%3")
                                 .arg(count)
                                 .arg(size.width())
                                 .arg(size.height()));

            // Labels are as tall as their text.
            for (QLabel *label : {view->tabHeading(), view->emptyCards()})
                if (label->isVisibleTo(view)) {
                    EXPECT_LE(label->height(), label->sizeHint().height() + 2) << label->text().toStdString() << " "
                                                                               << name;
                }
            // One part follows the other at the form's spacing, no more.
            const int heading = bottom(view->tabHeading(), &window);
            EXPECT_LE(top(view->termField(), &window) - heading, 10 + 2) << name;
            QWidget *below = count == 0 ? static_cast<QWidget *>(view->emptyCards()) : view->editButton(0);
            const int under = count == 0 ? top(below, &window) : top(view->cardList(), &window);
            EXPECT_LE(under - bottom(view->termField(), &window), 10 + 2) << name;
            // The form itself has room: it does not scroll.
            EXPECT_EQ(view->formArea()->verticalScrollBar()->maximum(), 0) << name;
            EXPECT_EQ(qv::test::lines(qv::test::overlaps(&window)), "") << name;
            if (count == 0)
                continue;

            // The list right under the form, as tall as its rows up to its
            // limit, with a scroll bar only when the rows are taller.
            QScrollArea *list = view->cardList();
            EXPECT_LE(top(view->editButton(0), &window) - top(list, &window), 20) << name;
            const int rows = list->widget()->layout()->minimumSize().height();
            const int wanted = std::min(rows, StudyImportView::kCardListMaxHeight);
            EXPECT_LE(list->height(), wanted) << name;
            // Shorter only when the window has no more room: then the list
            // reaches down to the footer's spacing.
            if (list->height() < wanted) {
                EXPECT_LE(bottom(view->formArea(), &window) - bottom(list, &window), 2) << name;
            }
            EXPECT_EQ(list->verticalScrollBar()->isVisible(), rows > list->viewport()->height())
                << name << ": rows " << rows << " in " << list->viewport()->height();
        }
    }
}
