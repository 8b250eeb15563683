#include "platform/sim/SimDesktop.h"

#include "support/CoroTest.h"

#include <gtest/gtest.h>

using namespace qv::sim;
using qv::platform::AppInfo;
using qv::platform::Attribute;
using qv::platform::Element;
using qv::platform::Roles::TextField;

namespace {
class SimDesktopTest : public ::testing::Test {
protected:
    qv::VirtualScheduler clock;
    SimDesktop sim{clock};
    SimApp &editor = sim.addApp("Text Editor");
    SimApp &browser = sim.addApp("Browser", "org.example.browser");
    SimElement &editorWindow = editor.addWindow({0, 0, 600, 400}, "Notes");
    SimElement &notes = editorWindow.addTextArea({10, 10, 580, 380}, "notes");
    SimElement &browserWindow = browser.addWindow({300, 200, 600, 400}, "Page");
    SimElement &page = browserWindow.addWebArea({300, 200, 600, 400}, false);
    SimElement &search = page.addSearchField({320, 220, 200, 30});

    std::optional<QVariant> read(const Element &e, Attribute a) { return sim.accessibility().read(e, a); }
};
} // namespace

TEST_F(SimDesktopTest, ApplicationsHaveIdsAndQuorvelIsOneOfThem)
{
    EXPECT_EQ(sim.workspace().ownPid(), SimDesktop::OwnPid);
    EXPECT_EQ(sim.workspace().frontmostApplication()->pid, SimDesktop::OwnPid);
    EXPECT_EQ(editor.info(), (AppInfo{2001, "Text Editor", "texteditor"}));
    EXPECT_EQ(browser.info(), (AppInfo{2002, "Browser", "org.example.browser"}));
    EXPECT_EQ(sim.app(2002), &browser);
}

TEST_F(SimDesktopTest, ActivationIsAnnouncedOncePerChange)
{
    std::vector<qint64> announced;
    QObject::connect(&sim.workspace(), &qv::platform::Workspace::applicationActivated,
                     [&](const AppInfo &app) { announced.push_back(app.pid); });
    editor.activate();
    editor.activate();
    browser.activate();
    EXPECT_EQ(announced, (std::vector<qint64>{editor.pid(), browser.pid()}));
    EXPECT_EQ(sim.workspace().frontmostApplication()->name, "Browser");
}

TEST_F(SimDesktopTest, ElementAtPointFindsTheDeepestElementOfTheTopmostWindow)
{
    // The browser's window was added last and lies on top where they overlap.
    EXPECT_TRUE(sim.accessibility().elementAtPoint({350, 230}) == search.element());
    EXPECT_TRUE(sim.accessibility().elementAtPoint({400, 300}) == page.element());
    EXPECT_TRUE(sim.accessibility().elementAtPoint({50, 50}) == notes.element());
    EXPECT_TRUE(sim.accessibility().elementAtPoint({2000, 2000}).isNull());

    editor.activate(); // its window comes forward
    EXPECT_TRUE(sim.accessibility().elementAtPoint({350, 230}) == notes.element());
    EXPECT_TRUE(sim.accessibility().elementAtPoint({800, 500}) == page.element());

    // A window area outside any child is the window itself.
    SimElement &palette = editor.addWindow({1000, 0, 100, 100});
    EXPECT_TRUE(sim.accessibility().elementAtPoint({1050, 50}) == palette.element());
}

TEST_F(SimDesktopTest, TheTreeIsReadableThroughParentsAndChildren)
{
    const Element app = sim.accessibility().applicationElement(browser.pid());
    EXPECT_EQ(read(app, Attribute::Role), QVariant(qv::platform::Roles::Application));
    const auto windows = read(app, Attribute::Children)->value<QList<Element>>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows[0] == browserWindow.element());
    EXPECT_TRUE(read(search.element(), Attribute::Parent)->value<Element>() == page.element());
    EXPECT_TRUE(read(browserWindow.element(), Attribute::Parent)->value<Element>() == app);
    EXPECT_FALSE(read(app, Attribute::Parent));
    EXPECT_EQ(search.element().pid(), browser.pid());
    EXPECT_TRUE(search.element() == search.element());
    EXPECT_FALSE(search.element() == page.element());

    search.focus();
    EXPECT_TRUE(read(app, Attribute::FocusedElement)->value<Element>() == search.element());
    EXPECT_TRUE(sim.accessibility().applicationElement(99).isNull());
}

TEST_F(SimDesktopTest, ClicksActivateFocusAndReachTheRightMonitor)
{
    std::vector<QPoint> global, local;
    auto g = sim.input().addGlobalLeftMouseUp([&](QPoint p) { global.push_back(p); });
    auto l = sim.input().addLocalLeftMouseUp([&](QPoint p) { local.push_back(p); });
    SimElement &panel = sim.own().addWindow({1200, 0, 300, 300}, "Typing");

    notes.setSelection({0, 2});
    sim.click({50, 50});
    EXPECT_TRUE(editor.isFrontmost());
    EXPECT_TRUE(sim.accessibility().systemFocusedElement() == notes.element());
    EXPECT_EQ(notes.selection(), (qv::platform::TextRange{5, 0}));
    EXPECT_EQ(*sim.workspace().pointerLocation(), QPoint(50, 50));

    sim.clickInto(panel);
    EXPECT_TRUE(sim.own().isFrontmost());

    sim.clickInto(search);
    EXPECT_TRUE(browser.isFrontmost());
    EXPECT_TRUE(search.isFocused());

    // A click on a non-focusable element keeps the focus where it was.
    sim.click({800, 500});
    EXPECT_TRUE(search.isFocused());

    EXPECT_EQ(global, (std::vector<QPoint>{{50, 50}, search.frame().center(), {800, 500}}));
    EXPECT_EQ(local, (std::vector<QPoint>{panel.frame().center()}));

    // Ended monitors hear nothing; one the desktop cannot install is null.
    g.reset();
    sim.click({50, 50});
    EXPECT_EQ(global.size(), 3u);
    sim.simInput().setGlobalAvailable(false);
    EXPECT_EQ(sim.input().addGlobalLeftMouseUp([](QPoint) {}), nullptr);
}

TEST_F(SimDesktopTest, FocusObserversHearFocusWindowAndActivationChanges)
{
    int heard = 0;
    auto sub = sim.accessibility().observeFocus(editor.pid(), [&] { ++heard; });
    ASSERT_NE(sub, nullptr);

    editor.activate();
    EXPECT_EQ(heard, 0); // delivered through the event loop, not inside the change
    clock.advance(0);
    EXPECT_EQ(heard, 1);

    notes.focus();
    clock.advance(0);
    EXPECT_EQ(heard, 2);

    SimElement &second = editor.addWindow({0, 0, 100, 100}); // becomes the key window
    clock.advance(0);
    EXPECT_EQ(heard, 3);
    sim.raise(editorWindow);
    clock.advance(0);
    EXPECT_EQ(heard, 4);
    (void)second;

    // Other applications' changes are not heard.
    search.focus();
    browser.activate();
    clock.advance(0);
    EXPECT_EQ(heard, 4);

    // Nothing after the subscription ends, even for a change already under way.
    editor.activate();
    sub.reset();
    clock.advance(0);
    EXPECT_EQ(heard, 4);

    editor.setObservable(false);
    EXPECT_EQ(sim.accessibility().observeFocus(editor.pid(), [] {}), nullptr);
    EXPECT_EQ(sim.accessibility().observeFocus(4242, [] {}), nullptr);
}

TEST_F(SimDesktopTest, ScheduledUserActionsHappenAtTheirVirtualTimes)
{
    notes.focus();
    editor.activate();
    std::vector<std::pair<double, QString>> seen;
    QObject::connect(&sim.workspace(), &qv::platform::Workspace::applicationActivated, [&](const AppInfo &app) {
        seen.push_back({clock.nowMs(), app.name});
    });

    sim.at(1500).clickInto(search);
    sim.at(500).switchTo(sim.own());
    sim.at(2000).type(notes, "abc", 100).setPasteboardText("copied");
    sim.after(800).movePointer({7, 7});

    clock.advance(499);
    EXPECT_TRUE(seen.empty());
    clock.advance(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], (std::pair<double, QString>{500.0, "Quorvel"}));
    clock.advance(300);
    EXPECT_EQ(*sim.workspace().pointerLocation(), QPoint(7, 7));
    clock.advance(700);
    EXPECT_EQ(seen.back(), (std::pair<double, QString>{1500.0, "Browser"}));
    EXPECT_TRUE(search.isFocused());

    clock.advance(500); // t = 2000: the first letter and the clipboard
    EXPECT_EQ(notes.text(), "notesa");
    EXPECT_EQ(sim.pasteboard().plainText(), "copied");
    clock.advance(199);
    EXPECT_EQ(notes.text(), "notesab");
    clock.advance(1);
    EXPECT_EQ(notes.text(), "notesabc");
}

TEST_F(SimDesktopTest, QuitApplicationsAnswerNothingAndNeverCrash)
{
    search.focus();
    browser.activate();
    const Element kept = search.element();
    sim.after(100).quit(browser);
    clock.advance(100);

    EXPECT_FALSE(browser.isRunning());
    EXPECT_TRUE(editor.isFrontmost()); // its window is the topmost left
    EXPECT_FALSE(read(kept, Attribute::Role));
    EXPECT_FALSE(sim.accessibility().isSettable(kept, Attribute::SelectedTextRange));
    EXPECT_FALSE(sim.accessibility().write(kept, Attribute::Focused, true));
    EXPECT_TRUE(sim.accessibility().applicationElement(browser.pid()).isNull());
    EXPECT_TRUE(sim.accessibility().elementAtPoint({800, 500}).isNull());
    EXPECT_EQ(kept.describe().isEmpty(), false);

    // Keys go to the new frontmost application.
    notes.focus();
    qv::test::runTask(clock, sim.keyboard().typeGrapheme("!"));
    EXPECT_EQ(notes.text(), "notes!");

    editor.quit();
    sim.own().quit();
    EXPECT_FALSE(sim.workspace().frontmostApplication());
    qv::test::runTask(clock, sim.keyboard().typeGrapheme("?"));
    EXPECT_EQ(sim.log().keys.back().pid, 0);
    EXPECT_TRUE(sim.accessibility().systemFocusedElement().isNull());
}

TEST_F(SimDesktopTest, RemovedElementsBecomeAbsent)
{
    notes.focus();
    editor.activate();
    const Element handle = notes.element();
    notes.remove();
    EXPECT_FALSE(read(handle, Attribute::Value));
    EXPECT_TRUE(sim.accessibility().systemFocusedElement().isNull());
    EXPECT_TRUE(read(editorWindow.element(), Attribute::Children)->value<QList<Element>>().isEmpty());
    notes.setText("still usable"); // the test's reference stays valid
    EXPECT_EQ(notes.text(), "still usable");
}

TEST_F(SimDesktopTest, SystemFocusQueryCanFailWhileTheApplicationStillAnswers)
{
    notes.focus();
    editor.activate();
    sim.simAccessibility().setSystemFocusQueryFails(true);
    EXPECT_TRUE(sim.accessibility().systemFocusedElement().isNull());
    const Element app = sim.accessibility().applicationElement(editor.pid());
    EXPECT_TRUE(read(app, Attribute::FocusedElement)->value<Element>() == notes.element());
}

TEST_F(SimDesktopTest, PermissionsUrlsAndIndicatorsAreRecorded)
{
    sim.simPermissions().setInputSynthesisReady(false);
    EXPECT_TRUE(sim.permissions().accessibilityReady());
    EXPECT_FALSE(sim.permissions().inputSynthesisReady());
    sim.permissions().requestInputSynthesis();
    sim.permissions().openInputSettings();
    EXPECT_TRUE(sim.workspace().openUrl(QUrl("https://example.org/help")));
    sim.desktop().setBadgeLabel("Typing");
    EXPECT_EQ(sim.desktop().badgeLabel(), "Typing");
    EXPECT_EQ(sim.log().callsNamed("requestInputSynthesis").size(), 1);
    EXPECT_EQ(sim.log().callsNamed("openInputSettings").size(), 1);
    EXPECT_EQ(sim.log().callsNamed("openUrl"), QStringList{"https://example.org/help"});

    qv::test::runTask(clock, sim.keyboard().prepare("abc"));
    sim.keyboard().finish();
    sim.keyboard().releaseAll();
    EXPECT_EQ(sim.log().callsNamed("prepare"), QStringList{"abc"});
    EXPECT_EQ(sim.log().callsNamed("releaseAll").size(), 1);
}

TEST_F(SimDesktopTest, WithoutPermissionsNothingAnswersAndKeysReachNobody)
{
    notes.focus();
    editor.activate();
    sim.simPermissions().setAccessibilityReady(false);
    EXPECT_TRUE(sim.accessibility().systemFocusedElement().isNull());
    EXPECT_TRUE(sim.accessibility().elementAtPoint({50, 50}).isNull());
    EXPECT_FALSE(read(notes.element(), Attribute::Value));
    EXPECT_EQ(sim.accessibility().observeFocus(editor.pid(), [] {}), nullptr);

    sim.simPermissions().setInputSynthesisReady(false);
    qv::test::runTask(clock, sim.keyboard().typeGrapheme("x"));
    EXPECT_EQ(notes.text(), "notes");
    EXPECT_EQ(sim.log().keys.back().pid, 0);
}

TEST_F(SimDesktopTest, ClicksOnNothingOrOnAHungWindow)
{
    int global = 0;
    auto g = sim.input().addGlobalLeftMouseUp([&](QPoint) { ++global; });
    notes.focus();
    editor.activate();
    sim.click({3000, 3000}); // no window there
    EXPECT_EQ(global, 1);
    EXPECT_TRUE(editor.isFrontmost());
    EXPECT_TRUE(notes.isFocused());

    browser.setHung(true);
    sim.clickInto(search); // in the hung browser
    EXPECT_TRUE(browser.isFrontmost());
    EXPECT_FALSE(search.isFocused());
    EXPECT_EQ(global, 2);
}

TEST_F(SimDesktopTest, PendingActionsAreDroppedWithTheDesktop)
{
    auto scratch = std::make_unique<SimDesktop>(clock);
    SimApp &app = scratch->addApp("Gone");
    scratch->at(100).switchTo(app);
    scratch.reset();
    EXPECT_FALSE(clock.hasPending());
}

// The example at the top of SimDesktop.h, kept compiling and true.
TEST(SimDesktopExample, BuildsAnEditorAndTypesIntoIt)
{
    qv::VirtualScheduler clock;
    qv::sim::SimDesktop sim(clock);
    auto &editor = sim.addApp("Editor");
    auto &field = editor.addWindow({0, 0, 800, 600}).addTextArea({20, 40, 760, 500}, "Dear ");
    field.focus();
    editor.activate();
    field.quirks().backspaceUnit = qv::sim::BackspaceUnit::CodePoint;
    sim.at(1500).clickInto(sim.own().addWindow({900, 0, 300, 300}));

    qv::platform::Platform &platform = sim;
    qv::test::runTask(clock, platform.keyboard().typeGrapheme("x"));
    EXPECT_EQ(field.text(), "Dear x");
    EXPECT_TRUE(sim.log().keys.back().inTextField);
    clock.advance(1500);
    EXPECT_TRUE(sim.own().isFrontmost());
}

TEST_F(SimDesktopTest, BackgroundWindowsOpenBehindTheFrontmostApplication)
{
    editor.activate();
    SimElement &dialog = browser.addWindow({0, 0, 100, 100}, "Dialog");
    EXPECT_TRUE(sim.accessibility().elementAtPoint({50, 50}) == notes.element());
    EXPECT_EQ(browser.keyWindow(), &dialog);
    SimElement &tools = editor.addWindow({0, 0, 100, 100}, "Tools");
    EXPECT_TRUE(sim.accessibility().elementAtPoint({50, 50}) == tools.element());
    EXPECT_EQ(sim.windowsFrontToBack(), (std::vector<SimElement *>{&tools, &editorWindow, &dialog, &browserWindow}));
}
