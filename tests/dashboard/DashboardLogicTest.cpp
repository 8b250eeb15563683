#include "core/Text.h"
#include "core/VirtualScheduler.h"
#include "dashboard/DashboardMode.h"
#include "dashboard/DashboardText.h"
#include "dashboard/ProjectFilter.h"
#include "dashboard/UndoOffer.h"
#include "dashboard/WorkspaceSwitch.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::dashboard;

namespace {
Project project(const QString &title, const QString &grade = "12", const QString &review = "medium", bool ai = false)
{
    Project p;
    p.id = QUuid::createUuid();
    p.title = title;
    p.grade = grade;
    p.review = review;
    p.isAI = ai;
    return p;
}

QStringList titles(const QList<Project> &list)
{
    QStringList out;
    for (const Project &p : list)
        out << p.title;
    return out;
}
} // namespace

TEST(DashboardModeTest, RawValuesAndOrder)
{
    ASSERT_EQ(allDashboardModes(),
              (QList<DashboardMode>{DashboardMode::writer, DashboardMode::study, DashboardMode::test}));
    for (DashboardMode m : allDashboardModes())
        EXPECT_EQ(dashboardModeFromRawValue(rawValue(m)), m);
    EXPECT_EQ(dashboardModeFromRawValue("study"), DashboardMode::study);
    EXPECT_EQ(dashboardModeFromRawValue("Study"), std::nullopt);
    EXPECT_EQ(dashboardModeFromRawValue(" study"), std::nullopt);
    EXPECT_EQ(dashboardModeFromRawValue(""), std::nullopt);
}

TEST(ProjectFilterTest, SearchIsCaseInsensitiveKeepsBlanksAndIgnoresBlankOnlyText)
{
    const QList<Project> all{project("Essay draft"), project("history notes"), project("LAB REPORT")};
    // The untrimmed text is searched: a leading blank is part of it.
    for (auto [search, want] : {std::pair{"   \n\t", QStringList{"Essay draft", "history notes", "LAB REPORT"}},
                                {"ESSAY", {"Essay draft"}},
                                {"report", {"LAB REPORT"}},
                                {" essay", {}},
                                {"draft ", {}},
                                {" notes", {"history notes"}}}) {
        ProjectFilter f;
        f.searchText = search;
        EXPECT_EQ(titles(filteredProjects(all, f)), want) << search;
    }
}

TEST(ProjectFilterTest, GradeAndReviewCompareExactlyUnlessAllAndAiOnlyKeepsOrder)
{
    const QList<Project> all{project("A", "9"), project("B", "10", "light", true), project("C", "11", "Light"),
                             project("D", "12", "heavy", true), project("E", "10", "medium")};
    ProjectFilter f;
    EXPECT_EQ(titles(filteredProjects(all, f)), (QStringList{"A", "B", "C", "D", "E"}));
    f.grade = "10";
    EXPECT_EQ(titles(filteredProjects(all, f)), (QStringList{"B", "E"}));
    f.grade = ProjectFilter::all;
    f.review = "light";
    EXPECT_EQ(titles(filteredProjects(all, f)), QStringList{"B"}); // "Light" differs in case
    f.review = ProjectFilter::all;
    f.aiOnly = true;
    EXPECT_EQ(titles(filteredProjects(all, f)), (QStringList{"B", "D"}));
    f.grade = "11";
    EXPECT_TRUE(filteredProjects(all, f).isEmpty());
}

TEST(DashboardTextTest, RowsBannerEmptyStateAndChips)
{
    Project p = project("Essay", "12", "medium");
    EXPECT_EQ(deletedBannerText("My \"best\" essay"), "Deleted \"My \"best\" essay\"");
    EXPECT_EQ(capitalized("HEAVY"), "Heavy");
    EXPECT_EQ(capitalized("very light review"), "Very Light Review");
    EXPECT_EQ(capitalized("don't"), "Don't");
    // The project page checks the AI chip, a speed of 0 and an empty text.
    EXPECT_EQ(originChip(p), "Manual");
    p.grade = "twelve";
    EXPECT_EQ(gradeChip(p), "Grade twelve");
    p.text = "  \n ";
    EXPECT_EQ(previewText(p), "  \n ");
    const QString line = updatedLine(QDateTime(QDate(2026, 12, 6), QTime(10, 15), Qt::UTC),
                                     QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(line.startsWith("Updated Dec ")) << line.toStdString();
    EXPECT_TRUE(line.contains("2026")) << line.toStdString();
    // Written as every other "Updated" line is, seconds left out in every locale.
    const QDateTime withSeconds(QDate(2026, 12, 6), QTime(10, 15, 42), Qt::UTC);
    for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
        EXPECT_EQ(updatedLine(withSeconds, locale), "Updated " + qv::text::abbreviatedDateTime(withSeconds, locale));
        EXPECT_FALSE(updatedLine(withSeconds, locale).contains(":42"));
    }
}

class WorkspaceSwitchTest : public ::testing::Test {
protected:
    VirtualScheduler clock;
    WorkspaceSwitch s{clock};
};

TEST_F(WorkspaceSwitchTest, InitialChoiceFromThePickerShowsTheOverlayThenTheWorkspace)
{
    // Choosing the current workspace from the picker plays the overlay too.
    WorkspaceSwitch same(clock);
    same.pickerChose(DashboardMode::writer);
    EXPECT_TRUE(same.showWelcomeOverlay());

    EXPECT_TRUE(s.showModePicker());
    s.pickerChose(DashboardMode::study);
    EXPECT_TRUE(s.showWelcomeOverlay());
    EXPECT_TRUE(s.welcomeAnimated());
    EXPECT_EQ(s.welcomeMode(), DashboardMode::study);
    EXPECT_TRUE(s.isTransitioning());
    clock.advance(3399);
    EXPECT_TRUE(s.showWelcomeOverlay());
    EXPECT_EQ(s.dashboardMode(), DashboardMode::writer);
    clock.advance(1);
    EXPECT_FALSE(s.showWelcomeOverlay());
    EXPECT_FALSE(s.isTransitioning());
    EXPECT_FALSE(s.showModePicker());
    EXPECT_EQ(s.dashboardMode(), DashboardMode::study);
    EXPECT_FALSE(same.showModePicker());
    EXPECT_EQ(same.dashboardMode(), DashboardMode::writer);

    // Appearing again offers the picker but keeps the workspace.
    s.appeared();
    EXPECT_TRUE(s.showModePicker());
    EXPECT_EQ(s.dashboardMode(), DashboardMode::study);
}

TEST_F(WorkspaceSwitchTest, RequestsDuringASwitchAreIgnoredTheSwitchEndsOnTimeAndTheSelectedSegmentDoesNothing)
{
    s.handleModeSwitch(DashboardMode::study, false);
    clock.advance(1000);
    s.handleModeSwitch(DashboardMode::test, false);
    s.pickerChose(DashboardMode::writer);
    EXPECT_EQ(s.welcomeMode(), DashboardMode::study);
    clock.advance(2400);
    EXPECT_FALSE(s.isTransitioning());
    EXPECT_EQ(s.dashboardMode(), DashboardMode::study);
    EXPECT_FALSE(s.showComingSoon());
    clock.advance(10000);
    EXPECT_EQ(s.dashboardMode(), DashboardMode::study);

    int changes = 0;
    QObject::connect(&s, &WorkspaceSwitch::changed, [&] { ++changes; });
    s.handleModeSwitch(DashboardMode::study, false);
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(s.isTransitioning());
    EXPECT_FALSE(clock.hasPending());
}

TEST_F(WorkspaceSwitchTest, TheTestWorkspaceNeverChangesTheModeAndShowsTheComingSoonCard)
{
    s.pickerChose(DashboardMode::writer);
    clock.advance(3400);
    s.handleModeSwitch(DashboardMode::test, false);
    EXPECT_TRUE(s.showWelcomeOverlay());
    EXPECT_FALSE(s.welcomeAnimated());
    clock.advance(2999);
    EXPECT_FALSE(s.showComingSoon());
    clock.advance(1);
    EXPECT_TRUE(s.showComingSoon());
    EXPECT_FALSE(s.showWelcomeOverlay());
    EXPECT_EQ(s.dashboardMode(), DashboardMode::writer);
    EXPECT_FALSE(s.showModePicker());
    s.dismissComingSoon();
    EXPECT_FALSE(s.showComingSoon());

    // Chosen from the picker, it leaves the picker open.
    WorkspaceSwitch fresh(clock);
    fresh.pickerChose(DashboardMode::test);
    clock.advance(3000);
    EXPECT_TRUE(fresh.showComingSoon());
    EXPECT_TRUE(fresh.showModePicker());
    EXPECT_EQ(fresh.dashboardMode(), DashboardMode::writer);
}

TEST_F(WorkspaceSwitchTest, APendingSwitchDiesWithItsOwner)
{
    auto owned = std::make_unique<WorkspaceSwitch>(clock);
    owned->pickerChose(DashboardMode::study);
    owned.reset();
    EXPECT_FALSE(clock.hasPending());
    clock.advance(5000); // nothing runs on a dead object
}

TEST(UndoOfferTest, OfferExpiresAfterFiveSecondsANewerDeletionReplacesItAndTakingCancelsTheExpiry)
{
    VirtualScheduler clock;
    UndoOffer offer(clock);
    offer.offer(project("One"));
    clock.advance(3000);
    offer.offer(project("Two"));
    clock.advance(4999);
    ASSERT_TRUE(offer.recentlyDeleted());
    EXPECT_EQ(offer.recentlyDeleted()->title, "Two");
    clock.advance(1);
    EXPECT_FALSE(offer.recentlyDeleted());
    EXPECT_EQ(offer.take(), std::nullopt);

    offer.offer(project("Three"));
    clock.advance(1000);
    const auto taken = offer.take();
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->title, "Three");
    EXPECT_FALSE(clock.hasPending());
}
