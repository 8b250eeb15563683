#include "DashboardTestSupport.h"

#include "dashboard/ProjectRow.h"
#include "dashboard/WriterFilters.h"
#include "dashboard/WriterWorkspace.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"
#include "theme/QVPillPicker.h"
#include "theme/QVToggle.h"

#include <QLabel>
#include <QLayout>
#include <QScrollArea>

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
