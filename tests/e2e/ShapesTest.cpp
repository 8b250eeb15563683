// Shapes as a careful user sees them, by real clicks on the desktop session:
// at the main window's smallest size the window-controls island stays clear
// of the page's card on every page that reaches its corner, and the set
// window's Manual tab keeps its form at the top with the card list under it,
// with 0, 1 and 4 cards at the window's default and smallest sizes.

#include "AppFixture.h"

#include <QDir>
#include <QImage>

#include <algorithm>
#include <iostream>

namespace qv::e2e {
namespace {

const QString kEmail = QStringLiteral("shapes@example.com");
const QString kPassword = QStringLiteral("shapes-pass-5");
const QString kSetWindow = QStringLiteral("New Study Set");

class Shapes : public AppFixture {
protected:
    using Element = UiProbe::Element;

    Shapes() : AppFixture(kEmail, kPassword) {}

    void SetUp() override
    {
        AppFixture::SetUp();
        QDir().mkpath(QStringLiteral(QUORVEL_SCREENSHOT_DIR));
    }

    void TearDown() override
    {
        if (HasFailure())
            std::cerr << "the program's last words:\n" << errors.right(2000).toStdString() << std::endl;
        AppFixture::TearDown();
    }

    static int indexOf(const QList<Element> &all, const Element *e) { return int(e - all.constData()); }

    void resizeMain(QSize size)
    {
        ASSERT_TRUE(input::resizeWindowOf(quorvel.processId(), size));
        ASSERT_TRUE(waitUntil([&] { return look::mainWindow(ui->all()).size() == size; }, 5000))
            << "the window did not take " << size.width() << "x" << size.height();
    }

    void shoot(const QString &name, const QRect &area)
    {
        input::grabScreen(area).save(QStringLiteral(QUORVEL_SCREENSHOT_DIR "/shapes-%1.png").arg(name));
    }

    // ---- the island and the page's card

    // The island's card: its dots with the card's padding around them.
    static QRect island(const QList<Element> &all)
    {
        QRect dots;
        for (const char *name : {"Close", "Minimize", "Quorvel Menu"}) {
            const QRect window = look::mainWindow(all);
            for (const Element &e : all)
                if (e.name == QLatin1String(name) && e.role == kButton && window.contains(e.extents)
                    && e.extents.top() < window.top() + 60)
                    dots |= e.extents;
        }
        return dots.isNull() ? QRect() : dots.adjusted(-10, -8, 10, 8);
    }

    // The card of the page that holds `inside`: the ancestor whose own
    // parent spans the window from its left edge.
    static QRect pageCard(const QList<Element> &all, const QString &inside)
    {
        const Element *e = look::named(all, inside);
        if (!e)
            return {};
        const QRect window = look::mainWindow(all);
        for (int p = e->parent; p >= 0; p = all[p].parent) {
            const int pp = all[p].parent;
            if (pp >= 0 && all[pp].extents.left() <= window.left() && all[p].extents.left() > window.left() + 8)
                return all[p].extents;
        }
        return {};
    }

    // On the page that shows `inside`, the island and the card's corner lie
    // apart.
    void expectIslandClear(const QString &page, const QString &inside)
    {
        ASSERT_TRUE(waitFor(inside, {}, 10000)) << "no " << inside.toStdString() << " on the " << page.toStdString();
        ASSERT_NO_FATAL_FAILURE(atRest(inside));
        pump(300);
        QList<Element> all;
        QRect dots;
        QRect card;
        ASSERT_TRUE(waitUntil(
            [&] {
                all = ui->all();
                dots = island(all);
                card = pageCard(all, inside);
                return !dots.isNull() && !card.isNull();
            },
            5000))
            << "no island, or no card around " << inside.toStdString() << ", on the " << page.toStdString();
        EXPECT_FALSE(dots.intersects(card)) << "on the " << page.toStdString() << " the island "
                                            << look::describe(dots) << " reaches over the card "
                                            << look::describe(card);
        shoot(QStringLiteral("island-") + page, look::mainWindow(all));
    }

    // ---- the set window

    void addCard(const QString &term, const QString &definition)
    {
        ASSERT_TRUE(press(QStringLiteral("Term"), {}));
        ASSERT_TRUE(ui->setText(QStringLiteral("Term"), term));
        ASSERT_TRUE(press(QStringLiteral("Definition"), {}));
        ASSERT_TRUE(ui->setText(QStringLiteral("Definition"), definition));
        ASSERT_NO_FATAL_FAILURE(clickIn(kSetWindow, QStringLiteral("Add")));
        ASSERT_TRUE(waitFor(term, kLabel, 5000)) << "the card " << term.toStdString() << " was not listed";
    }

    int cardsListed() { return cardsListed(ui->all()); }
    // The cards one look found in the set window; -1 when the look missed
    // the window (a look may come while rows are being replaced).
    static int cardsListed(const QList<Element> &all)
    {
        int n = 0;
        const Element *m = look::named(all, kSetWindow);
        if (!m)
            return -1;
        for (const Element &e : all)
            if (m && e.window == m->window && e.name == QLatin1String("Edit") && e.role == kButton)
                ++n;
        return n;
    }

    void deleteCard()
    {
        const int before = cardsListed();
        ASSERT_NO_FATAL_FAILURE(clickIn(kSetWindow, QStringLiteral("Delete")));
        ASSERT_TRUE(waitUntil([&] { return cardsListed() == before - 1; }, 5000)) << "Delete removed no card";
    }

    // The Manual tab with `count` cards: the form at the top without a band
    // of empty room, the list right under it, and a scroll bar in the list
    // only when its cards need more room (`mayScroll`).
    void checkManualTab(int count, bool mayScroll)
    {
        ASSERT_TRUE(waitUntil([&] { return cardsListed() == count; }, 5000));
        ASSERT_NO_FATAL_FAILURE(atRest(QStringLiteral("Add flashcards")));
        pump(300);
        QList<Element> all;
        ASSERT_TRUE(waitUntil(
            [&] {
                all = ui->all();
                return cardsListed(all) == count && look::named(all, QStringLiteral("Add flashcards"));
            },
            5000))
            << "the set window with " << count << " cards did not show whole";
        const Element *mark = look::named(all, kSetWindow);
        ASSERT_TRUE(mark);
        const QRect window = look::windowOf(all, *mark);
        const std::string when = std::to_string(count) + " cards at " + std::to_string(window.width()) + "x" +
                                 std::to_string(window.height());
        const auto in = [&](const QString &name, const QString &role = {}) -> const Element * {
            for (const Element &e : all)
                if (e.window == mark->window && e.name == name && (role.isEmpty() || e.role == role))
                    return &e;
            return nullptr;
        };
        const Element *title = in(QStringLiteral("Set title"));
        const Element *heading = in(QStringLiteral("Add flashcards"), kLabel);
        const Element *term = in(QStringLiteral("Term"));
        const Element *save = in(QStringLiteral("Create Set"), kButton);
        ASSERT_TRUE(title && heading && term && save) << when;
        // The heading is one line of caption text.
        EXPECT_LE(heading->extents.height(), 24) << when;
        EXPECT_LE(term->extents.top() - heading->extents.bottom(), 14) << when;

        // Down from the title field to the list's last part, one part
        // follows the other at the form's spacing: no band of empty room.
        QList<QRect> parts;
        for (const Element &e : all)
            if (e.window == mark->window && !e.topLevel && e.children == 0 && e.role != QLatin1String("scroll bar")
                && !e.extents.isEmpty() && e.extents.top() >= title->extents.top()
                && e.extents.bottom() < save->extents.top() && window.contains(e.extents))
                parts << e.extents;
        std::sort(parts.begin(), parts.end(), [](const QRect &a, const QRect &b) { return a.top() < b.top(); });
        int reached = title->extents.bottom();
        for (const QRect &r : std::as_const(parts)) {
            EXPECT_LE(r.top() - reached, 24) << "a band of " << r.top() - reached << " px above "
                                             << look::describe(r) << " with " << when;
            reached = std::max(reached, r.bottom());
        }
        if (count == 0) {
            const Element *empty = in(QStringLiteral("No cards yet. Add terms and definitions."));
            ASSERT_TRUE(empty) << when;
            EXPECT_LE(empty->extents.top() - term->extents.bottom(), 14) << when;
        } else {
            const Element *first = nullptr;
            for (const Element &e : all)
                if (e.window == mark->window && e.role == kLabel && e.name.startsWith(QLatin1String("Country "))
                    && (!first || e.extents.top() < first->extents.top()))
                    first = &e;
            ASSERT_TRUE(first) << when;
            EXPECT_LE(first->extents.top() - term->extents.bottom(), 10 + 10 + 6) << when;
        }
        // The form itself never scrolls here, and the list only when its
        // cards need more room than it has.
        for (const Element &e : all)
            if (e.window == mark->window && e.role == QLatin1String("scroll bar") && !e.extents.isEmpty()) {
                const bool list = e.extents.top() > term->extents.bottom();
                EXPECT_TRUE(list && mayScroll) << "a scroll bar " << look::describe(e.extents) << " with " << when;
            }
        shoot(QStringLiteral("set-window-%1-cards-%2x%3").arg(count).arg(window.width()).arg(window.height()),
              window);
    }
};

TEST_F(Shapes, IslandClearOfTheCardAndTheSetWindowsManualTabByRealClicks)
{
    ASSERT_NO_FATAL_FAILURE(startQuorvel());
    ASSERT_NO_FATAL_FAILURE(signIn());
    ASSERT_NO_FATAL_FAILURE(enterWorkspace(QStringLiteral("Quorvel"), QStringLiteral("+ NEW PROJECT"), kButton));
    ASSERT_NO_FATAL_FAILURE(resizeMain({980, 640}));
    ASSERT_NO_FATAL_FAILURE(expectIslandClear(QStringLiteral("writer-list"), QStringLiteral("+ NEW PROJECT")));

    // The project page.
    const QString project = QStringLiteral("Shapes project");
    ASSERT_TRUE(press(QStringLiteral("+ NEW PROJECT")));
    ASSERT_TRUE(waitFor(QStringLiteral("Text"), {}, 10000)) << "no editor";
    ASSERT_TRUE(
        ui->setText(QStringLiteral("Text"), project + QStringLiteral("\n") + QStringLiteral("A line to type. ").repeated(8)));
    ASSERT_TRUE(waitUntil([&] { return ui->find(project).has_value(); }, 5000)) << "the editor took no title";
    ASSERT_TRUE(press(QStringLiteral("Save")));
    ASSERT_TRUE(gone(QStringLiteral("Text"), {}, 8000)) << "the editor stayed open";
    ASSERT_TRUE(press(project, {}, 5000));
    ASSERT_NO_FATAL_FAILURE(expectIslandClear(QStringLiteral("project-page"), QStringLiteral("DELETE PROJECT")));
    ASSERT_TRUE(press(QStringLiteral("Back")));

    // The study library.
    ASSERT_TRUE(press(QStringLiteral("Lexmoor")));
    ASSERT_TRUE(waitFor(QStringLiteral("No study sets yet"), {}, 12000)) << "no study library";
    ASSERT_NO_FATAL_FAILURE(expectIslandClear(QStringLiteral("study-library"), QStringLiteral("No study sets yet")));

    // The set window's Manual tab at its default size, then its smallest.
    ASSERT_TRUE(press(QStringLiteral("Create Set")));
    ASSERT_TRUE(waitFor(kSetWindow, kLabel, 10000)) << "no set window";
    ASSERT_NO_FATAL_FAILURE(atRest(QStringLiteral("Add flashcards")));
    ASSERT_EQ(windowShowing(kSetWindow).size(), QSize(880, 700));
    ASSERT_NO_FATAL_FAILURE(checkManualTab(0, false));
    ASSERT_NO_FATAL_FAILURE(addCard(QStringLiteral("Country 1"), QStringLiteral("Capital 1")));
    ASSERT_NO_FATAL_FAILURE(checkManualTab(1, false));
    for (int i = 2; i <= 4; ++i)
        ASSERT_NO_FATAL_FAILURE(addCard(QStringLiteral("Country %1").arg(i), QStringLiteral("Capital %1").arg(i)));
    // Four cards are taller than the list's limit: it scrolls.
    ASSERT_NO_FATAL_FAILURE(checkManualTab(4, true));

    ASSERT_TRUE(press(QStringLiteral("Set title"), {}));
    ASSERT_TRUE(ui->setText(QStringLiteral("Set title"), QStringLiteral("Capitals")));
    ASSERT_TRUE(input::resizeActiveWindow({700, 560}));
    ASSERT_TRUE(waitUntil([&] { return windowShowing(kSetWindow).size() == QSize(700, 560); }, 5000))
        << look::describe(windowShowing(kSetWindow));
    ASSERT_NO_FATAL_FAILURE(checkManualTab(4, true));
    for (int i = 0; i < 3; ++i)
        ASSERT_NO_FATAL_FAILURE(deleteCard());
    ASSERT_NO_FATAL_FAILURE(checkManualTab(1, false));
    ASSERT_NO_FATAL_FAILURE(deleteCard());
    ASSERT_NO_FATAL_FAILURE(checkManualTab(0, false));

    // Saved with two cards; its page opens.
    ASSERT_NO_FATAL_FAILURE(addCard(QStringLiteral("France"), QStringLiteral("Paris")));
    ASSERT_NO_FATAL_FAILURE(addCard(QStringLiteral("Japan"), QStringLiteral("Tokyo")));
    ASSERT_NO_FATAL_FAILURE(clickIn(kSetWindow, QStringLiteral("Create Set")));
    ASSERT_TRUE(gone(kSetWindow, kLabel, 8000)) << "the set window stayed open";
    ASSERT_NO_FATAL_FAILURE(expectIslandClear(QStringLiteral("set-page"), QStringLiteral("Learn")));
    ASSERT_TRUE(press(QStringLiteral("Back")));

    // The full-page session, and its question before leaving.
    ASSERT_TRUE(press(QStringLiteral("Study"), kButton, 10000));
    ASSERT_NO_FATAL_FAILURE(expectIslandClear(QStringLiteral("full-page-session"), QStringLiteral("I don't know")));
    ASSERT_TRUE(press(QStringLiteral("Exit")));
    ASSERT_TRUE(waitUntil(
        [&] { return ui->find(QStringLiteral("Exit this session?")) || ui->find(QStringLiteral("Learn")); }, 5000));
    if (ui->find(QStringLiteral("Exit this session?"))) {
        pump(300);
        shoot(QStringLiteral("session-exit-question-980x640"), look::mainWindow(ui->all()));
        ASSERT_TRUE(press(QStringLiteral("Stay")));
        ASSERT_TRUE(gone(QStringLiteral("Exit this session?"), {}));
        ASSERT_TRUE(press(QStringLiteral("Exit")));
        ASSERT_TRUE(waitFor(QStringLiteral("Stay"), kButton, 5000));
        const QList<Element> all = ui->all();
        const Element *stay = look::named(all, QStringLiteral("Stay"), kButton);
        ASSERT_TRUE(stay);
        // The confirming Exit stands right of Stay on the question's card.
        const Element *exit = nullptr;
        for (const Element &e : all)
            if (e.name == QLatin1String("Exit") && e.role == kButton && e.extents.left() > stay->extents.right()
                && std::abs(e.extents.center().y() - stay->extents.center().y()) < 10)
                exit = &e;
        ASSERT_TRUE(exit);
        ASSERT_TRUE(input::click(exit->extents.center()));
    }
    ASSERT_TRUE(waitFor(QStringLiteral("Learn"), kButton, 5000)) << "Exit left the session open";
    ASSERT_TRUE(press(QStringLiteral("Back")));

    // The full-page test.
    ASSERT_TRUE(press(QStringLiteral("Quiz"), kButton, 10000));
    ASSERT_NO_FATAL_FAILURE(expectIslandClear(QStringLiteral("test-page"), QStringLiteral("Submit")));
}

} // namespace
} // namespace qv::e2e
