#include "DashboardTestSupport.h"

#include "dashboard/WorkspaceFade.h"

#include "dashboard/DashboardSwitchBar.h"
#include "dashboard/ModePickerButton.h"
#include "dashboard/ModePickerView.h"
#include "dashboard/OverlayHost.h"
#include "dashboard/ScrimLayer.h"
#include "dashboard/WelcomeOverlayView.h"
#include "dashboard/WorkspaceSwitch.h"
#include "theme/ComingSoonView.h"
#include "theme/ShimmerTitle.h"
#include "theme/WindowControlsIsland.h"
#include "dashboard/Card.h"

#include <QLabel>
#include <QMenu>
#include <QScrollArea>

using namespace qv;
using namespace qv::dashboard;

namespace {
class WorkspaceViewTest : public test::DashboardFixture {
protected:
    bool pickerShown() const { return view->workspace()->pickerPage()->isVisible(); }
    bool cardShown() const { return view->workspace()->scrollView()->isVisible(); }
    double layerOpacity() const { return view->workspace()->fade().layerOpacity(); }
};
} // namespace

TEST_F(WorkspaceViewTest, FirstAppearanceOffersThePickerWhoseChoicePlaysTheWelcomeThenShowsItsCard)
{
    makeView();
    EXPECT_TRUE(pickerShown());
    EXPECT_FALSE(cardShown());
    EXPECT_FALSE(view->overlays().welcome()->isVisible());
    EXPECT_FALSE(view->findChild<QWidget *>("workspaceBlocker")->isVisible());
    EXPECT_FALSE(view->profile().menu()->isVisible());
    EXPECT_FALSE(view->profile().button()->isVisible());
    QStringList names;
    for (DashboardMode m : allDashboardModes())
        names << view->workspace()->picker()->button(m)->text();
    EXPECT_EQ(names, (QStringList{"Quorvel", "Lexmoor", "Trivane"}));

    click(view->workspace()->picker()->button(DashboardMode::study));
    EXPECT_TRUE(view->overlays().welcome()->isVisible());
    EXPECT_EQ(view->overlays().welcome()->titleText(), "Lexmoor");
    // The workspace fades out under the overlay in 0.25 s.
    EXPECT_EQ(view->overlayHost()->layerAt({550, 450}), view->overlays().welcome());
    settle(125);
    EXPECT_NEAR(layerOpacity(), 0.5, 0.1);
    settle(130);
    EXPECT_FALSE(view->workspace()->isVisible());
    settle(3399 - 255);
    EXPECT_TRUE(view->overlays().welcome()->isVisible());
    settle(1);
    // It fades out over 0.6 s, taking no more clicks.
    auto *fade = qobject_cast<FadeScaleEffect *>(view->overlays().welcome()->graphicsEffect());
    ASSERT_TRUE(fade);
    EXPECT_NE(view->overlayHost()->layerAt({550, 450}), view->overlays().welcome());
    // Meanwhile the picker gives way to the card, and the layer comes back.
    settle(125);
    EXPECT_NEAR(layerOpacity(), 0.5, 0.1);
    EXPECT_TRUE(pickerShown());
    EXPECT_NEAR(view->workspace()->fade().pickerOpacity(), 0.25, 0.05);
    EXPECT_NEAR(view->workspace()->fade().cardOpacity(), 0.25, 0.05);
    settle(130);
    EXPECT_FALSE(pickerShown());
    EXPECT_NEAR(view->workspace()->fade().cardOpacity(), 1.0, 1e-9);
    settle(45);
    EXPECT_NEAR(fade->opacity(), 0.5, 0.05);
    settle(320);
    EXPECT_FALSE(view->overlays().welcome()->isVisible());
    EXPECT_TRUE(cardShown());
    EXPECT_EQ(view->workspace()->pageTitle()->text(), "Lexmoor");
    EXPECT_EQ(view->workspace()->switchBar()->current(), DashboardMode::study);
    EXPECT_EQ(studyBuilt, 1);
    EXPECT_TRUE(view->workspace()->studyWorkspace()->isVisible());
}

TEST_F(WorkspaceViewTest, TheSwitchBarIsCoveredDuringASwitchAndItsTestSegmentShowsTheComingSoonCard)
{
    makeView();
    enterWriter();
    settle(620); // the welcome overlay's fade out
    click(view->workspace()->switchBar()->segment(DashboardMode::study));
    ASSERT_TRUE(view->overlays().welcome()->isVisible());
    settle(1000);
    // Covered: no segment can be reached.
    EXPECT_NE(view->overlayHost()->layerAt(view->workspace()->switchBar()->mapTo(view.get(), QPoint(5, 5))),
              view->workspace());
    settle(2400);
    EXPECT_EQ(view->workspaceSwitch().dashboardMode(), DashboardMode::study);
    EXPECT_FALSE(view->findChild<QWidget *>("workspaceBlocker")->isVisible());

    // The test workspace shows the coming-soon card, which the dim closes.
    settle(620);
    click(view->workspace()->switchBar()->segment(DashboardMode::test));
    EXPECT_TRUE(view->overlays().welcome()->isVisible());
    EXPECT_EQ(view->overlays().welcome()->titleText(), "Trivane");
    settle(3000);
    ASSERT_TRUE(view->overlays().comingSoonLayer()->isVisible());
    EXPECT_EQ(view->workspace()->pageTitle()->text(), "Lexmoor");
    EXPECT_EQ(view->workspace()->switchBar()->current(), DashboardMode::study);
    EXPECT_EQ(view->overlays().comingSoonCard()->detail()->text(), "Trivane is coming soon.");
    // A click on the card itself keeps it; a click on the dim closes it.
    click(view->overlays().comingSoonCard());
    EXPECT_TRUE(view->overlays().comingSoonLayer()->isVisible());
    click(view->overlays().comingSoonLayer(), {5, 5});
    EXPECT_FALSE(view->overlays().comingSoonLayer()->isVisible());
}

TEST_F(WorkspaceViewTest, TheWelcomeBarFillsInTwoSecondsUnlessMotionIsReduced)
{
    makeView();
    view->handleModeSwitch(DashboardMode::writer, true);
    settle();
    WelcomeOverlayView *w = view->overlays().welcome();
    EXPECT_DOUBLE_EQ(w->progress(), 0.0);
    settle(1000);
    EXPECT_GT(w->progress(), 0.2);
    EXPECT_LT(w->progress(), 0.8);
    settle(1000);
    EXPECT_DOUBLE_EQ(w->progress(), 1.0);
    EXPECT_TRUE(w->isShimmering());
    settle(1400);

    app->setReduceMotionEnabled(true);
    view->handleModeSwitch(DashboardMode::study, false);
    settle();
    EXPECT_FALSE(view->workspace()->isVisible()); // no fade either
    EXPECT_DOUBLE_EQ(w->progress(), 1.0);
    EXPECT_FALSE(w->isShimmering());
    EXPECT_DOUBLE_EQ(w->shimmerDirection(), 1.0);
}

TEST_F(WorkspaceViewTest, PickerButtonsFollowOnlyTheSystemMotionSetting)
{
    makeView();
    app->setReduceMotionEnabled(true); // the app's own switch does not still them
    ModePickerButton *b = view->workspace()->picker()->button(DashboardMode::writer);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(b, &enter);
    settle(90);
    EXPECT_GT(b->hoverAmount(), 0.1);
    EXPECT_LT(b->hoverAmount(), 0.9);
    settle(90);
    EXPECT_DOUBLE_EQ(b->hoverAmount(), 1.0);
}

TEST_F(WorkspaceViewTest, MakingReadsTheDefaultsOnceAndAppearingReadsThePermissionsAgainAndChecksForUpdatesOnce)
{
    sim.simPermissions().setInputSynthesisReady(false);
    fetcher->answers << std::nullopt; // the start-up check fails quietly
    makeApp();
    settle(10); // the start-up check
    const int before = int(fetcher->requests.size());
    EXPECT_FALSE(app->inputMonitoringReady());
    sim.simPermissions().setInputSynthesisReady(true);
    app->setSkipInitialWelcome(true);
    prefs.setString("qv_default_mode", "time");
    makeView();
    // The dashboard reads its defaults once, when made.
    EXPECT_EQ(view->settingsBindings()->defaultGrade(), "12");
    EXPECT_EQ(view->settingsBindings()->defaultReview(), "medium");
    EXPECT_EQ(view->settingsBindings()->smartPreset(), "balanced");
    EXPECT_EQ(view->settingsBindings()->defaultMode(), "time");
    prefs.setString("qv_default_grade", "9");
    EXPECT_EQ(view->settingsBindings()->defaultGrade(), "12");
    EXPECT_TRUE(app->inputMonitoringReady());
    EXPECT_FALSE(app->skipInitialWelcome());
    EXPECT_EQ(fetcher->requests.size(), before + 1);
    // Hiding and showing again (a restored window) runs nothing again.
    view->hide();
    view->show();
    settle();
    EXPECT_EQ(fetcher->requests.size(), before + 1);
}

TEST_F(WorkspaceViewTest, TheTestOverlayIsThereAtOnceAndEveryOverlayLeavesOverSixTenths)
{
    makeView();
    enterWriter();
    settle(620);
    const LayerFade &fade = *view->overlays().welcomeFade();
    const struct {
        DashboardMode mode;
        double stayMs;
        bool fadesIn;
    } cases[] = {{DashboardMode::test, 3000, false}, {DashboardMode::study, 3400, true}};
    for (const auto &c : cases) {
        click(view->workspace()->switchBar()->segment(c.mode));
        settle();
        if (c.fadesIn) {
            EXPECT_LT(fade.progress(), 0.2) << title(c.mode).toStdString();
            settle(300);
            EXPECT_GT(fade.progress(), 0.2);
            EXPECT_LT(fade.progress(), 0.8);
            settle(c.stayMs - 300);
        } else {
            EXPECT_DOUBLE_EQ(fade.progress(), 1.0) << "the test overlay is there without a fade";
            settle(c.stayMs);
        }
        // Leaving: ease-in-out over 0.6 s.
        EXPECT_TRUE(view->overlays().welcome()->isVisible());
        settle(300);
        EXPECT_GT(fade.progress(), 0.2) << title(c.mode).toStdString();
        EXPECT_LT(fade.progress(), 0.8);
        settle(320);
        EXPECT_FALSE(view->overlays().welcome()->isVisible());
        if (view->overlays().comingSoonLayer()->isVisible())
            click(view->overlays().comingSoonLayer(), {5, 5});
        settle(300);
    }
}

TEST_F(WorkspaceViewTest, TheWelcomePanelFillsTheOverlayWithItsContentCentredAndAtMost520Wide)
{
    for (const QSize size : {QSize(1180, 760), QSize(980, 640), QSize(400, 500)}) {
        makeView(size);
        view->handleModeSwitch(DashboardMode::writer, true);
        settle(700);
        WelcomeOverlayView *w = view->overlays().welcome();
        ASSERT_TRUE(w->isVisible());
        EXPECT_EQ(w->panel()->geometry(), w->rect());
        const QRect content = w->content()->geometry();
        EXPECT_LE(content.width(), 520);
        EXPECT_TRUE(w->rect().contains(content)) << size.width();
        EXPECT_NEAR(content.center().x(), w->rect().center().x(), 1);
        EXPECT_NEAR(content.center().y(), w->rect().center().y(), 1);
        settle(3400);
    }
}

// The window's controls island floats over the top-left corner. At every
// width the window allows the card keeps clear of it: beside it where the
// window is wide, below it where the card reaches under the corner.
TEST_F(WorkspaceViewTest, TheCardKeepsClearOfTheWindowControlsAtEveryWidth)
{
    openWriter({test::makeProject("First", 1)});
    QMenu menu(QStringLiteral("Quorvel"));
    auto *island = new WindowControlsIsland(false, nullptr, 4, true, view.get());
    island->setCommandMenu(&menu);
    island->show();
    Card *card = view->workspace()->card();
    for (int width = 980; width <= 1400; width += 20) {
        view->resize(width, 640);
        settle();
        settle();
        const QRect placed(card->mapTo(view.get(), QPoint(0, 0)), card->size());
        const QRect corner = island->cardGeometry().adjusted(0, 0, 8, 8); // with the room kept around it
        EXPECT_FALSE(placed.intersects(corner)) << "at " << width << ": card " << placed.x() << "," << placed.y()
                                                << " island to " << corner.right() << "," << corner.bottom();
        // Only as low as the island asks: beside it the card keeps its place.
        const bool beside = placed.left() > corner.right();
        EXPECT_EQ(placed.top(), beside ? 30 : corner.bottom() + 1) << "at " << width;
    }
}
