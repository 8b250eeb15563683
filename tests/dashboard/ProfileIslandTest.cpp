#include "DashboardTestSupport.h"

#include "dashboard/HoverCaptureView.h"
#include "dashboard/OverlayHost.h"
#include "dashboard/ProfileAvatarButton.h"
#include "dashboard/ProfileIslandState.h"
#include "dashboard/ProfileMenu.h"
#include "dashboard/SettingsBindings.h"
#include "theme/QVButton.h"

#include <QPushButton>
#include <QWindow>

using namespace qv;
using namespace qv::dashboard;

namespace {

void moveTo(QWidget *top, QPoint p)
{
    QTest::mouseMove(top->windowHandle(), p);
    QApplication::processEvents();
}

// A window-level leave, as the window system reports it. The widgets behind
// the window expect a leave event with a position, which a test cannot
// make, so it goes no further than the window's watchers.
void leaveWindow(QWidget *top)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(top->windowHandle(), &leave);
}

class LeaveStopper : public QObject {
protected:
    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::Leave; }
};

// A top-level whose native window a test can make again.
struct Top : QWidget {
    using QWidget::create;
    using QWidget::destroy;
};

// A window with a button under a hover area that covers it.
struct HoverStage {
    QList<bool> calls;
    LeaveStopper stopper;
    Top top;
    QPushButton *under = new QPushButton("Under", &top);
    HoverCaptureView *area = new HoverCaptureView(&top);

    HoverStage()
    {
        // Watched before the area starts watching, so the area sees first.
        top.winId();
        top.windowHandle()->installEventFilter(&stopper);
        top.resize(600, 400);
        under->setGeometry(300, 0, 200, 100);
        area->setGeometry(280, 0, 320, 160);
        area->setOnHover([this](bool h) { calls << h; });
        top.show();
        QApplication::processEvents();
    }
};
} // namespace

TEST(HoverCaptureView, ReportsEntryAndExitOnceEachAndNothingInside)
{
    HoverStage s;
    moveTo(&s.top, {100, 100});
    EXPECT_TRUE(s.calls.isEmpty());
    moveTo(&s.top, {300, 50});
    moveTo(&s.top, {350, 60});
    moveTo(&s.top, {590, 150});
    EXPECT_EQ(s.calls, (QList<bool>{true}));
    moveTo(&s.top, {100, 300});
    moveTo(&s.top, {90, 300});
    EXPECT_EQ(s.calls, (QList<bool>{true, false}));

    // Leaving the window counts as leaving the area.
    moveTo(&s.top, {400, 20});
    leaveWindow(&s.top);
    EXPECT_EQ(s.calls, (QList<bool>{true, false, true, false}));
}

TEST(HoverCaptureView, FollowsItsCurrentGeometryAndTheNewestClosure)
{
    HoverStage s;
    moveTo(&s.top, {100, 300});
    EXPECT_TRUE(s.calls.isEmpty());
    // Resized: the newly covered part reports entry, the old part no longer does.
    s.area->setGeometry(0, 200, 200, 200);
    moveTo(&s.top, {100, 310});
    EXPECT_EQ(s.calls, (QList<bool>{true}));
    QList<bool> fresh;
    s.area->setOnHover([&](bool h) { fresh << h; });
    moveTo(&s.top, {400, 50});
    EXPECT_EQ(s.calls, (QList<bool>{true}));
    EXPECT_EQ(fresh, (QList<bool>{false}));
}

TEST(HoverCaptureView, KeepsWatchingWhenTheNativeWindowIsMadeAgainAndLetsClicksThrough)
{
    HoverStage s;
    s.top.hide();
    s.top.destroy();
    s.top.create();
    s.top.show();
    QApplication::processEvents();
    ASSERT_NE(s.top.windowHandle(), nullptr);
    moveTo(&s.top, {100, 300});
    moveTo(&s.top, {400, 50});
    EXPECT_EQ(s.calls, (QList<bool>{true}));

    // Clicks reach the widget underneath, with no more reports.
    int clicks = 0;
    QObject::connect(s.under, &QPushButton::clicked, [&] { ++clicks; });
    QTest::mouseClick(s.top.windowHandle(), Qt::LeftButton, {}, QPoint(400, 50));
    QApplication::processEvents();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(s.calls, (QList<bool>{true}));
    EXPECT_EQ(s.top.childAt(400, 50), s.under);
}

namespace {
class IslandTest : public test::DashboardFixture {
protected:
    QPoint inArea(QPoint offsetFromTopRight) const
    {
        const QRect area = view->profile().hoverArea()->geometry();
        return area.topRight() + offsetFromTopRight;
    }
    QPoint buttonCentre() const { return view->profile().button()->geometry().center(); }
};
} // namespace

TEST_F(IslandTest, TheAreaRevealsTheButtonWhoseClickTogglesTheMenuAndLeavingWithTheMenuOpenKeepsIt)
{
    makeView();
    ProfileAvatarButton *button = view->profile().button();
    EXPECT_EQ(view->profile().hoverArea()->geometry(), QRect(1100 - 8 - 320, 12, 320, 160));
    EXPECT_EQ(button->geometry().topRight(), QPoint(1100 - 8 - 1, 12));
    EXPECT_FALSE(button->isVisible());

    moveTo(view.get(), inArea({-200, 100}));
    EXPECT_TRUE(view->profile().state().isProfileHovering());
    EXPECT_TRUE(button->isRevealed());
    settle(ProfileAvatarButton::kRevealMs / 2);
    EXPECT_GT(button->opacity(), 0.05);
    EXPECT_LT(button->opacity(), 0.95);
    settle(ProfileAvatarButton::kRevealMs);
    EXPECT_DOUBLE_EQ(button->opacity(), 1.0);

    moveTo(view.get(), buttonCentre());
    QTest::mouseClick(view->windowHandle(), Qt::LeftButton, {}, buttonCentre());
    settle();
    EXPECT_TRUE(view->profile().state().showProfileMenu());
    EXPECT_TRUE(view->profile().menu()->isVisible());

    // Leaving the area with the menu open keeps the button; closing the menu
    // away from the island hides it over 0.18 s.
    moveTo(view.get(), {100, 600});
    settle(300);
    EXPECT_FALSE(view->profile().state().isProfileHovering());
    EXPECT_TRUE(button->isVisible());
    button->click();
    settle(90);
    EXPECT_FALSE(view->profile().state().showProfileMenu());
    EXPECT_TRUE(button->isVisible());
    EXPECT_TRUE(button->testAttribute(Qt::WA_TransparentForMouseEvents));
    settle(200);
    EXPECT_FALSE(button->isVisible());
    EXPECT_FALSE(view->profile().menu()->isVisible());
}

TEST_F(IslandTest, TheIslandIsOutOfReachWhileAWelcomeCoversThePage)
{
    makeView();
    moveTo(view.get(), inArea({-200, 100}));
    settle(300);
    ASSERT_TRUE(view->profile().button()->isVisible());
    view->handleModeSwitch(DashboardMode::writer, true);
    settle(300);
    EXPECT_FALSE(view->profile().button()->isVisible());
    settle(3400);
    EXPECT_TRUE(view->profile().button()->isVisible());
}

TEST_F(IslandTest, EveryMenuEntryClosesTheMenuBeforeItActs)
{
    makeSignedInApp();
    ASSERT_TRUE(app->isAuthenticated());
    // The check of the page's appearance finds nothing and ends.
    fetcher->answers << std::nullopt;
    makeView();
    settle(100);
    app->setShowNoUpdatePrompt(false);
    QList<bool> menuOpenWhenActing;
    auto record = [&] { menuOpenWhenActing << view->profile().state().showProfileMenu(); };

    view->profile().state().setShowProfileMenu(true);
    QObject::connect(view->settingsBindings().get(), &SettingsBindings::settingsNameChanged, record);
    app->updateProfileName("Ann Lee");
    click(view->profile().menu()->settingsButton());
    ASSERT_NE(view->settingsWindow(), nullptr);

    view->profile().state().setShowProfileMenu(true);
    settle(300);
    fetcher->onGet = record;
    const int before = int(fetcher->requests.size());
    click(view->profile().menu()->checkForUpdatesButton());
    EXPECT_EQ(fetcher->requests.size(), before + 1);

    view->profile().state().setShowProfileMenu(true);
    settle(300);
    QObject::connect(app.get(), &state::AppState::isAuthenticatedChanged, record);
    QObject::connect(app.get(), &state::AppState::authEmailChanged, record);
    click(view->profile().menu()->signOutButton());
    EXPECT_FALSE(app->isAuthenticated());
    ASSERT_GE(menuOpenWhenActing.size(), 2);
    EXPECT_FALSE(menuOpenWhenActing.contains(true));
}

TEST_F(IslandTest, TheMenuAppearsAtOnceWithReduceMotion)
{
    makeView();
    view->profile().state().setShowProfileMenu(true);
    settle(100);
    EXPECT_TRUE(view->profile().menu()->isVisible());
    view->profile().state().setShowProfileMenu(false);
    settle(100);
    EXPECT_TRUE(view->profile().menu()->isVisible()); // still fading
    settle(200);
    EXPECT_FALSE(view->profile().menu()->isVisible());

    app->setReduceMotionEnabled(true);
    view->profile().state().setShowProfileMenu(true);
    view->profile().state().setShowProfileMenu(false);
    EXPECT_FALSE(view->profile().menu()->isVisible());
}
