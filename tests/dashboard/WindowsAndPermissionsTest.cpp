#include "DashboardTestSupport.h"

#include "dashboard/OverlayHost.h"
#include "dashboard/ProjectRow.h"
#include "dashboard/ScrimLayer.h"
#include "dashboard/WriterWorkspace.h"
#include "theme/QVButton.h"

using namespace qv;
using namespace qv::dashboard;

namespace {
class WindowsTest : public test::DashboardFixture {
protected:
    QStringList permissionCalls()
    {
        QStringList out;
        for (const auto &c : sim.log().calls)
            if (c.what.startsWith("request") || c.what.startsWith("open"))
                out << c.what;
        return out;
    }
    const Project a = test::makeProject("Alpha", 1);
    QAbstractButton *buttonIn(QWidget *root, const QString &text) const
    {
        for (QAbstractButton *b : root->findChildren<QAbstractButton *>())
            if (b->text() == text)
                return b;
        return nullptr;
    }
};
} // namespace

TEST_F(WindowsTest, TheEditorOpenedTwiceLeavesOneWindowWhichClearsItsPointerAndSurvivesTheDashboard)
{
    openWriter();
    click(view->workspace()->writer()->newProjectButton());
    ASSERT_NE(view->projectWindow(), nullptr);
    QPointer<CustomWindow> firstWindow = view->projectWindow();

    view->openNewProject(); // the "New Project" command
    settle();
    ASSERT_NE(view->projectWindow(), nullptr);
    EXPECT_NE(view->projectWindow(), firstWindow.data());
    EXPECT_TRUE(!firstWindow || !firstWindow->isVisible());
    EXPECT_EQ(openWindows().size(), 1);
    EXPECT_EQ(editorsOpened, (QList<std::optional<Project>>{std::nullopt, std::nullopt}));

    // A closed editor clears its pointer and survives the dashboard.
    QPointer<CustomWindow> w = view->projectWindow();
    ASSERT_TRUE(w);
    view.reset(); // signed out: the window keeps working
    ASSERT_TRUE(w && w->isVisible());
    click(buttonIn(w, "Close"));
    settle();
    EXPECT_TRUE(!w || !w->isVisible());

    makeView();
    view->openNewProject();
    QPointer<CustomWindow> again = view->projectWindow();
    click(buttonIn(again, "Close"));
    EXPECT_EQ(view->projectWindow(), nullptr);
}

TEST_F(WindowsTest, TheTypingPanelAskedTwiceRaisesTheFirstWithItsProject)
{
    const Project b = test::makeProject("Beta", 2);
    openWriter({a, b});
    click(view->workspace()->writer()->row(a.id)->typeButton());
    ASSERT_NE(view->typingWindow(), nullptr);
    CustomWindow *panel = view->typingWindow();
    EXPECT_TRUE(panel->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    click(view->workspace()->writer()->row(b.id)->typeButton());
    EXPECT_EQ(view->typingWindow(), panel);
    ASSERT_EQ(panelsOpened.size(), 1);
    EXPECT_EQ(panelsOpened[0].title, "Alpha");
    EXPECT_EQ(openWindows().size(), 1);
    // Closed from the window manager: the panel's own close action runs.
    panel->close();
    settle();
    EXPECT_EQ(view->typingWindow(), nullptr);
}

TEST_F(WindowsTest, WithoutAccessTheNewProjectButtonIsDimmedAndTheTypingPanelOpensBothSettingsPagesAndNoWindow)
{
    sim.simPermissions().setAccessibilityReady(false);
    openWriter({a});
    QVButton *b = view->workspace()->writer()->newProjectButton();
    EXPECT_TRUE(b->isEnabled());
    EXPECT_LT(b->opacity(), 1.0);

    app->setAccessibilitySkipped(true);
    click(view->workspace()->writer()->row(a.id)->typeButton());
    EXPECT_FALSE(app->accessibilitySkipped());
    EXPECT_TRUE(view->permissions().layer()->isVisible());
    EXPECT_EQ(permissionCalls(), (QStringList{"openAccessibilitySettings", "openInputSettings"}));
    EXPECT_EQ(view->typingWindow(), nullptr);
    EXPECT_TRUE(panelsOpened.isEmpty());
    app->setAccessibilityReady(true);
    EXPECT_DOUBLE_EQ(b->opacity(), 1.0);
}

TEST_F(WindowsTest, TheEditorWithoutAccessAsksTheSystemAndItsDimTakesEveryClickUntilTheCardIsDismissed)
{
    sim.simPermissions().setInputSynthesisReady(false);
    openWriter({a});
    click(view->workspace()->writer()->newProjectButton());
    EXPECT_TRUE(view->showPermissionsGate());
    ASSERT_TRUE(view->permissions().layer()->isVisible());
    EXPECT_EQ(permissionCalls(), (QStringList{"requestAccessibility", "requestInputSynthesis"}));
    EXPECT_EQ(view->projectWindow(), nullptr);
    EXPECT_TRUE(openWindows().isEmpty());
    EXPECT_TRUE(editorsOpened.isEmpty());
    EXPECT_FALSE(view->draftProject());
    ProjectRow *row = view->workspace()->writer()->row(a.id);
    const QPoint onRow = row->mapTo(view.get(), QPoint(20, 20));
    EXPECT_EQ(view->overlayHost()->layerAt(onRow), view->permissions().layer());
    QTest::mouseClick(view->permissions().layer(), Qt::LeftButton, {}, onRow);
    settle();
    EXPECT_FALSE(view->workspace()->writer()->activeProjectId());
    EXPECT_TRUE(view->showPermissionsGate());

    click(buttonIn(view->permissions().card(), "Skip for now"));
    EXPECT_FALSE(view->showPermissionsGate());
    EXPECT_FALSE(view->permissions().layer()->isVisible());
    EXPECT_TRUE(app->accessibilitySkipped());

    // Asked again while still missing: the card comes back.
    view->openNewProject();
    EXPECT_TRUE(view->showPermissionsGate());
    click(buttonIn(view->permissions().card(), "Skip for now"));

    app->setInputMonitoringReady(true);
    view->openNewProject();
    EXPECT_FALSE(view->showPermissionsGate());
    EXPECT_NE(view->projectWindow(), nullptr);
}

TEST_F(WindowsTest, TheDimCoversTheWholeWindowIncludingControlsOverThePage)
{
    sim.simPermissions().setInputSynthesisReady(false);
    makeApp();
    // The shell's window: the page, and its own controls in a corner above it.
    QWidget window;
    window.resize(1000, 800);
    dashboard::DashboardEnvironment env{&scheduler, &sim.permissions(), &sim.workspace(), QUrl("http://127.0.0.1")};
    auto *page = new DashboardView(*app, env, factories(), &window);
    page->setGeometry(window.rect());
    auto *controls = new QWidget(&window);
    controls->setGeometry(10, 10, 80, 30);
    controls->raise();
    window.show();
    page->appear();
    settle();

    page->openNewProject();
    settle();
    QWidget *hit = window.childAt(controls->geometry().center());
    ASSERT_NE(hit, nullptr);
    EXPECT_TRUE(hit == page->permissions().layer() || page->permissions().layer()->isAncestorOf(hit));
    window.resize(1200, 900);
    settle();
    EXPECT_EQ(page->permissions().layer()->geometry(), window.rect());

    page->setShowPermissionsGate(false);
    EXPECT_FALSE(page->permissions().layer()->isVisible());
    EXPECT_EQ(window.childAt(controls->geometry().center()), controls);
    // Shown again and the page goes away with it up: nothing is left behind.
    page->openNewProject();
    settle();
    delete page;
    EXPECT_EQ(window.childAt(controls->geometry().center()), controls);
}

TEST_F(WindowsTest, TheEditorsOwnWindowClosesThroughTheDashboardsAction)
{
    realEditor = true;
    makeView();
    view->openProjectWindow(a);
    settle();
    QPointer<CustomWindow> w = view->projectWindow();
    ASSERT_TRUE(w);
    w->close(); // from the window manager: the editor's own close runs
    settle();
    settle();
    EXPECT_EQ(view->projectWindow(), nullptr);
    EXPECT_TRUE(!w || !w->isVisible());
}

TEST_F(WindowsTest, ThePermissionsLayerFadesInAndOutUnlessMotionIsReducedAndGoesWithItsCard)
{
    sim.simPermissions().setInputSynthesisReady(false);
    makeView();
    view->openNewProject();
    auto *effect = qobject_cast<FadeScaleEffect *>(view->permissions().layer()->graphicsEffect());
    ASSERT_TRUE(effect);
    EXPECT_TRUE(view->permissions().layer()->isVisible());
    EXPECT_DOUBLE_EQ(effect->opacity(), 0);
    runFade(effect);
    EXPECT_DOUBLE_EQ(effect->opacity(), 1);

    // Leaving, it takes no clicks; its card goes once it has faded.
    view->setShowPermissionsGate(false);
    EXPECT_TRUE(view->permissions().layer()->isVisible());
    EXPECT_TRUE(view->permissions().layer()->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(view->permissions().card(), nullptr);
    runFade(effect);
    EXPECT_FALSE(view->permissions().layer()->isVisible());

    app->setReduceMotionEnabled(true);
    view->openNewProject();
    EXPECT_DOUBLE_EQ(effect->opacity(), 1);
    view->setShowPermissionsGate(false);
    EXPECT_FALSE(view->permissions().layer()->isVisible());

    // A card that goes away by itself takes the layer with it.
    view->openNewProject();
    ASSERT_TRUE(view->permissions().card());
    delete view->permissions().card();
    EXPECT_FALSE(view->showPermissionsGate());
    EXPECT_FALSE(view->permissions().layer()->isVisible());
}
