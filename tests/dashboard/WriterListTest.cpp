#include "DashboardTestSupport.h"

#include "dashboard/ProjectRow.h"
#include "dashboard/WriterFilters.h"
#include "dashboard/WriterWorkspace.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"
#include "theme/QVPillPicker.h"
#include "theme/QVToggle.h"

#include <QGraphicsEffect>
#include <QLabel>
#include <QLayout>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>

#include <functional>

using namespace qv;
using namespace qv::dashboard;

namespace {
class WriterListTest : public test::DashboardFixture {
protected:
    WriterWorkspace *writer() const { return view->workspace()->writer(); }
    QStringList shownTitles() const
    {
        QStringList out;
        for (ProjectRow *r : writer()->rows())
            if (r->isVisible())
                out << r->toolTip();
        return out;
    }
};
} // namespace

TEST_F(WriterListTest, RowsFollowTheStoredOrderAndShowGradeReviewAndTheAiBadge)
{
    openWriter({test::makeProject("Older", 1, "10", "light"), test::makeProject("Newer", 2, "12", "heavy", true)});
    const QList<ProjectRow *> rows = writer()->rows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0]->toolTip(), "Newer");
    EXPECT_EQ(rows[0]->subtitleLabel()->text(), QString::fromUtf8("Grade 12 \u2022 Review Heavy"));
    EXPECT_NE(rows[0]->aiBadge(), nullptr);
    EXPECT_EQ(rows[1]->aiBadge(), nullptr);
}

TEST_F(WriterListTest, TheFilterControlsNarrowTheListAndStartOverWithEveryNewDashboard)
{
    openWriter({test::makeProject("Essay draft", 1, "10"), test::makeProject("History notes", 2, "11", "heavy", true),
                test::makeProject("Lab report", 3, "10", "light")});
    WriterFilters *f = writer()->filters();

    f->searchField()->setText("ESSAY");
    settle();
    EXPECT_EQ(shownTitles(), QStringList{"Essay draft"});
    f->searchField()->clear();

    click(f->gradePicker()->pill(2)); // "10"
    EXPECT_EQ(shownTitles(), (QStringList{"Lab report", "Essay draft"}));
    click(f->reviewPicker()->pill(1)); // "light"
    EXPECT_EQ(shownTitles(), QStringList{"Lab report"});
    click(f->gradePicker()->pill(0));
    click(f->reviewPicker()->pill(0));
    click(f->aiOnlySwitch(), f->aiOnlySwitch()->trackRect().center().toPoint());
    EXPECT_EQ(shownTitles(), QStringList{"History notes"});

    // They start over with every new dashboard.
    f->searchField()->setText("zzz");
    EXPECT_TRUE(shownTitles().isEmpty());
    makeView(); // signed out and in again
    enterWriter();
    EXPECT_EQ(writer()->filters()->filter(), ProjectFilter{});
    EXPECT_EQ(shownTitles(), (QStringList{"Lab report", "History notes", "Essay draft"}));
}

TEST_F(WriterListTest, EmptyStatesAndTheTipThatFadesInOnceAndStays)
{
    openWriter();
    ASSERT_TRUE(writer()->emptyState()->isVisible());
    EXPECT_EQ(writer()->emptyLabel()->text(), "No projects yet");
    // Filters do not matter without any project.
    click(writer()->filters()->aiOnlySwitch(), writer()->filters()->aiOnlySwitch()->trackRect().center().toPoint());
    EXPECT_EQ(writer()->emptyLabel()->text(), "No projects yet");
    EXPECT_TRUE(writer()->showEmptyTip());
    EXPECT_LT(writer()->tipOpacity(), 1.0);
    settle(300);
    EXPECT_GT(writer()->tipOpacity(), 0.0);
    settle(300);
    EXPECT_DOUBLE_EQ(writer()->tipOpacity(), 1.0);

    // AI only is on: a manual project shows "No matches", and the tip stays.
    EXPECT_TRUE(app->saveProject(test::makeProject("Manual", 1)));
    settle();
    EXPECT_EQ(writer()->emptyLabel()->text(), "No matches");
    click(writer()->filters()->aiOnlySwitch(), writer()->filters()->aiOnlySwitch()->trackRect().center().toPoint());
    EXPECT_FALSE(writer()->emptyState()->isVisible());
    EXPECT_TRUE(app->deleteProject(app->projects().first()));
    settle();
    EXPECT_TRUE(writer()->tipLabel()->isVisible());
    EXPECT_DOUBLE_EQ(writer()->tipOpacity(), 1.0);
}

TEST_F(WriterListTest, AListTallerThanTheWindowScrollsWithEveryRowWhole)
{
    QList<Project> many;
    for (int i = 0; i < 14; ++i)
        many << test::makeProject(QString("Project %1").arg(i), i, "10", "light", i % 2 == 0);
    openWriter(many);
    view->resize(980, 640);
    settle();
    const QList<ProjectRow *> rows = view->workspace()->writer()->rows();
    ASSERT_EQ(rows.size(), 14);
    // The card grows with the list and the one scroll view scrolls it.
    EXPECT_GT(view->workspace()->scrollView()->widget()->height(),
              view->workspace()->scrollView()->viewport()->height());
    expectStackedWhole(rows);
}

TEST_F(WriterListTest, ThePageScrollBarStaysClearOfTheWindowsRoundedCorners)
{
    QList<Project> many;
    for (int i = 0; i < 14; ++i)
        many << test::makeProject(QString("Project %1").arg(i), i);
    openWriter(many);
    view->resize(980, 640);
    settle();
    QScrollBar *bar = view->workspace()->scrollView()->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    const QRect r(bar->mapTo(view.get(), QPoint()), bar->size());
    // The main window's corner radius is 20.
    EXPECT_GE(r.top(), 20);
    EXPECT_LE(r.bottom(), view->height() - 1 - 20);
}

TEST_F(WriterListTest, RowsComeAndGoOverTwoTenthsWhenTheCountChangesAndAtOnceOtherwise)
{
    const Project first = test::makeProject("First", 1);
    openWriter({first, test::makeProject("Second", 2)});
    // The part of a row that shows; the row itself keeps its full size.
    const auto height = [&](ProjectRow *row) { return row->parentWidget()->height(); };

    // A new project: its row grows in.
    const Project third = test::makeProject("Third", 3);
    ASSERT_TRUE(app->saveProject(third));
    settle();
    ProjectRow *row = writer()->row(third.id);
    ASSERT_NE(row, nullptr);
    const int full = row->sizeHint().height();
    EXPECT_LT(height(row), full / 4);
    settle(100);
    EXPECT_GT(height(row), full / 4);
    EXPECT_LT(height(row), full);
    settle(120);
    EXPECT_EQ(height(row), full);
    EXPECT_EQ(row->graphicsEffect(), nullptr);

    // A deletion: the row shrinks where it stood and then goes.
    QPointer<ProjectRow> leaving = writer()->row(first.id);
    ASSERT_TRUE(app->deleteProject(first));
    settle();
    EXPECT_EQ(writer()->rows().size(), 2);
    ASSERT_EQ(writer()->leavingRows(), QList<ProjectRow *>{leaving.data()});
    EXPECT_TRUE(leaving->testAttribute(Qt::WA_TransparentForMouseEvents));
    settle(100);
    EXPECT_GT(height(leaving), 0);
    EXPECT_LT(height(leaving), full);
    settle(120);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(leaving);
    EXPECT_TRUE(writer()->leavingRows().isEmpty());

    // A filter changes what shows but not the count: at once.
    writer()->filters()->searchField()->setText("Third");
    settle();
    ASSERT_EQ(writer()->rows().size(), 1);
    writer()->filters()->searchField()->clear();
    settle();
    for (ProjectRow *r : writer()->rows())
        EXPECT_EQ(r->graphicsEffect(), nullptr);

    // With reduce motion a new row is whole at once.
    app->setReduceMotionEnabled(true);
    const Project fourth = test::makeProject("Fourth", 4);
    ASSERT_TRUE(app->saveProject(fourth));
    settle();
    // The nested layouts of the page take a few turns of the event loop.
    settle();
    settle();
    EXPECT_EQ(height(writer()->row(fourth.id)), writer()->row(fourth.id)->sizeHint().height());
    EXPECT_TRUE(writer()->leavingRows().isEmpty());
}

// A row comes and goes by showing more or less of itself, never by squeezing
// its texts and buttons: on every frame they keep their full size, stay
// inside the row and apart from each other, while the part shown grows or
// shrinks steadily. At the window's default and smallest sizes.
TEST_F(WriterListTest, EveryFrameOfARowsComingAndGoingKeepsItsTextsAndButtonsWhole)
{
    openWriter({test::makeProject("Oldest project with a title", 1, "10", "heavy", true),
                test::makeProject("Second", 2)});
    int made = 2;
    for (const QSize size : {QSize(1180, 760), QSize(980, 640)}) {
        view->resize(size);
        settle(1000); // the welcome overlay gone
        const QString where = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        ++made;
        const Project fresh =
            test::makeProject(QStringLiteral("Newest project %1").arg(made), 2 + made, "9", "light", true);
        QPointer<ProjectRow> leaving;
        struct Case {
            const char *name;
            std::function<void()> change;
            std::function<ProjectRow *()> moving;
            bool entering;
        };
        const Case cases[] = {
            {"insert", [&] { ASSERT_TRUE(app->saveProject(fresh)); }, [&] { return writer()->row(fresh.id); },
             true},
            {"remove",
             [&] {
                 // The last row: nothing below it would hide a cut.
                 leaving = writer()->rows().constLast();
                 const QUuid id = leaving->projectId();
                 for (const Project &p : app->projects()) {
                     if (p.id == id) {
                         ASSERT_TRUE(app->deleteProject(p));
                     }
                 }
             },
             [&] { return leaving.data(); }, false},
        };
        for (const Case &c : cases) {
            c.change();
            settle();
            ProjectRow *row = c.moving();
            ASSERT_NE(row, nullptr) << c.name;
            const int full = std::max(row->sizeHint().height(), ProjectRow::kMinHeight);
            const QList<QWidget *> parts{row->titleLabel(), row->subtitleLabel(), row->aiBadge(), row->typeButton(),
                                         row->deleteButton()};
            int lastShown = c.entering ? -1 : full + 1;
            const int steps = int(WriterWorkspace::kRowMotionMs) / 10;
            for (int step = 0; step < steps; ++step) {
                if (step > 0)
                    settle(10);
                const std::string at =
                    where.toStdString() + " " + c.name + " at " + std::to_string(step * 10) + " ms";
                ASSERT_TRUE(row) << at;
                EXPECT_EQ(row->height(), full) << at;
                for (QWidget *part : parts) {
                    if (!part)
                        continue; // no badge on a project not made by AI
                    EXPECT_GE(part->height(), part->sizeHint().height()) << part->metaObject()->className() << " "
                                                                          << at;
                    EXPECT_TRUE(row->rect().contains(part->geometry())) << part->metaObject()->className() << " "
                                                                        << at;
                }
                EXPECT_FALSE(row->titleLabel()->geometry().intersects(row->subtitleLabel()->geometry())) << at;
                EXPECT_FALSE(row->typeButton()->geometry().intersects(row->deleteButton()->geometry())) << at;
                const int shown = row->parentWidget()->height();
                EXPECT_LE(shown, full) << at;
                if (c.entering) {
                    EXPECT_GE(shown, lastShown) << at;
                } else {
                    EXPECT_LE(shown, lastShown) << at;
                }
                lastShown = shown;
                if (step == steps / 2)
                    view->grab().save(
                        screenshotDir() + QStringLiteral("/dashboard-list-%1-animating-%2.png").arg(c.name, where));
            }
            settle(50);
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (c.entering) {
                settle();
                EXPECT_EQ(row->parentWidget()->height(), full) << where.toStdString() << " " << c.name;
            } else {
                EXPECT_FALSE(leaving) << where.toStdString() << " " << c.name;
            }
        }
    }
}
