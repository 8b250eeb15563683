// Finding the text box a job types into: the order of the sources, the
// searches up and down the tree with their bounds, the retry after a click
// and the one-line summary.

#include "TypingJobHarness.h"

#include "support/CoroTest.h"

using namespace qv;
using qv::platform::Element;
using qv::sim::SimElement;

namespace {
struct Detect : ::testing::Test, test::TypingJobHarness {
    state::TargetDetector &detector() { return *job->detector(); }
    Element once(std::optional<QPoint> at = std::nullopt) { return detector().detectOnce(at); }
    // A chain of `depth` groups below `top`; answers the deepest.
    static SimElement &nest(SimElement &top, int depth)
    {
        SimElement *at = &top;
        for (int i = 0; i < depth; ++i)
            at = &at->addGroup();
        return *at;
    }
};
} // namespace

TEST_F(Detect, FocusFirstThenTheClickPointEachAsItselfAncestorOrDescendant)
{
    editor.activate();
    // Focus on the field itself.
    field.focus();
    EXPECT_EQ(once(second.frame().center()), field.element()) << "a focused text box wins over the click point";

    // Focus inside a text box (an ancestor is the target).
    SimElement &inner = nest(field, 3);
    inner.setFocusable(true);
    inner.focus();
    EXPECT_EQ(once(), field.element());

    // Focus on a group holding a text box (a descendant is the target).
    SimElement &box = editorWindow.addGroup({400, 360, 300, 200});
    SimElement &nested = nest(box, 2).addTextField({410, 370, 200, 30});
    box.setFocusable(true);
    box.focus();
    EXPECT_EQ(once(), nested.element());

    // Focus on a button: the click point decides, as itself or through the tree.
    button.focus();
    EXPECT_TRUE(once().isNull());
    EXPECT_EQ(once(second.frame().center()), second.element());
    EXPECT_EQ(once(QPoint(650, 500)), nested.element()) << "the group under the point holds a text box";
    EXPECT_TRUE(once(QPoint(2000, 2000)).isNull()) << "nothing under the point";

    // When the desktop cannot say, the front application's focus.
    second.focus();
    sim.simAccessibility().setSystemFocusQueryFails(true);
    EXPECT_EQ(detector().focusedElement(), second.element());
}

TEST_F(Detect, SecureDisabledAndReadOnlyFieldsAreNeverTargets)
{
    editor.activate();
    SimElement &secure = editorWindow.addSecureField({400, 420, 200, 30});
    secure.setFocusable(true);
    secure.focus();
    EXPECT_FALSE(detector().isTextInput(secure.element()));

    second.setEnabled(false);
    EXPECT_FALSE(detector().isTextInput(second.element()));
    SimElement &insideDisabled = nest(second, 2);
    EXPECT_TRUE(detector().resolveTextInput(insideDisabled.element()).isNull())
        << "a disabled field is not found through its children either";

    field.setEditable(false);
    EXPECT_FALSE(detector().isTextInput(field.element()));
    field.setEditable(std::nullopt);
    EXPECT_TRUE(detector().isTextInput(field.element())) << "a text role without an editable flag takes text";
}

TEST_F(Detect, SearchesStayWithinTheirBounds)
{
    // Up: the element itself and seven ancestors.
    EXPECT_EQ(detector().resolveTextInput(nest(field, 7).element()), field.element());
    SimElement &tooDeepInside = nest(field, 8);
    tooDeepInside.setRole(QStringLiteral("image")); // no route down either
    EXPECT_TRUE(detector().resolveTextInput(tooDeepInside.element()).isNull());

    // Down: depths below 6.
    SimElement &top5 = editorWindow.addGroup();
    SimElement &atDepth5 = nest(top5, 4).addTextField({});
    EXPECT_EQ(detector().resolveTextInput(top5.element()), atDepth5.element());
    SimElement &top6 = editorWindow.addGroup();
    nest(top6, 5).addTextField({});
    EXPECT_TRUE(detector().resolveTextInput(top6.element()).isNull());

    // Down: at most 360 entries taken from the queue, the element itself included.
    SimElement &wide = editorWindow.addGroup();
    for (int i = 0; i < 358; ++i)
        wide.addGroup();
    SimElement &last = wide.addTextField({});
    EXPECT_EQ(detector().resolveTextInput(wide.element()), last.element()) << "entry 360";
    SimElement &wider = editorWindow.addGroup();
    for (int i = 0; i < 359; ++i)
        wider.addGroup();
    wider.addTextField({});
    EXPECT_TRUE(detector().resolveTextInput(wider.element()).isNull()) << "entry 361";
}

TEST_F(Detect, RetryWaitsGrowToTwoHundredAndStopAtTheDeadline)
{
    // Nothing found: attempts at 0, 55, 139.25, 262.99, 440.04 (each wait
    // 1.35 times the last plus 10), then every 200 ms up to 1240.04; the
    // check at 1440.04 ends it.
    auto found = test::runTask(clock, detector().detectAfterClick(1400, QPoint(2000, 2000)));
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(found->isNull());
    EXPECT_NEAR(clock.nowMs(), 1440.04, 0.01);

    // A field that gets the focus at 1200 ms is found at the attempt at 1240.
    const double start = clock.nowMs();
    sim.after(1200).switchTo(editor).focus(second);
    found = test::runTask(clock, detector().detectAfterClick(1400, std::nullopt));
    EXPECT_EQ(*found, second.element());
    EXPECT_NEAR(clock.nowMs() - start, 1240.04, 0.01);

    // No time at all: no attempt.
    const auto readsBefore = sim.log().reads.size();
    found = test::runTask(clock, detector().detectAfterClick(0, second.frame().center()));
    EXPECT_TRUE(found->isNull());
    EXPECT_EQ(sim.log().reads.size(), readsBefore);
}

TEST_F(Detect, SummaryNamesTheFrontApplicationRoleAndState)
{
    editor.activate();
    EXPECT_EQ(detector().summary(field.element()), "Editor role=textArea enabled");
    button.setSubrole(QStringLiteral("default")).setEnabled(false);
    EXPECT_EQ(detector().summary(button.element()), "Editor role=button subrole=default disabled title=\"Send\"");
    second.setEnabled(std::nullopt).overrideRead(platform::Attribute::Role, QVariant(7));
    EXPECT_EQ(detector().summary(second.element()), "Editor role=? unknown");
    sim.clearFrontmost();
    EXPECT_EQ(detector().summary(field.element()), " role=textArea enabled")
        << "the front application, not the element's";
}
