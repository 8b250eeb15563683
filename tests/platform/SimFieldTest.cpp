#include "core/Text.h"
#include "platform/sim/SimDesktop.h"

#include "core/Random.h"
#include "support/CoroTest.h"

#include <gtest/gtest.h>

using namespace qv::sim;
using qv::platform::Attribute;
using qv::platform::Key;
using qv::platform::Shortcut;
using qv::platform::TextRange;
using qv::test::runTask;

namespace {
const QString family = QString::fromUtf8("\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7");
const QString flag = QString::fromUtf8("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA");

class SimField : public ::testing::Test {
protected:
    qv::VirtualScheduler clock;
    SimDesktop sim{clock};
    SimApp &editor = sim.addApp("Editor");
    SimElement &window = editor.addWindow({0, 0, 800, 600}, "Untitled");
    SimElement &area = window.addTextArea({10, 40, 780, 400});
    SimElement &line = window.addTextField({10, 450, 300, 30});
    SimElement &other = window.addTextField({10, 500, 300, 30});

    void SetUp() override
    {
        area.focus();
        editor.activate();
    }

    void type(const QString &text)
    {
        for (const QString &g : qv::text::graphemes(text))
            runTask(clock, sim.keyboard().typeGrapheme(g));
    }
    void press(Key key, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            runTask(clock, sim.keyboard().press(key));
    }
    void shortcut(Shortcut s) { runTask(clock, sim.keyboard().shortcut(s)); }
    std::optional<QVariant> read(SimElement &e, Attribute a) { return sim.accessibility().read(e.element(), a); }
    bool write(SimElement &e, Attribute a, const QVariant &v) { return sim.accessibility().write(e.element(), a, v); }
    QVariant range(qint64 loc, qint64 len) { return QVariant::fromValue(TextRange{loc, len}); }
};
} // namespace

TEST_F(SimField, TypedKeysEditTheFocusedFieldAndAreLogged)
{
    type("Hi " + family);
    press(Key::Backspace);
    type("there");
    press(Key::Left, 5);
    type("you ");
    EXPECT_EQ(area.text(), "Hi you there");
    EXPECT_EQ(area.selection(), (TextRange{7, 0}));

    const auto &keys = sim.log().keys;
    ASSERT_EQ(keys.size(), 4u + 1 + 5 + 5 + 4);
    EXPECT_EQ(keys[3].text, family);
    EXPECT_TRUE(keys[3].target == area.element());
    EXPECT_EQ(keys[3].pid, editor.pid());
    EXPECT_TRUE(keys[3].inTextField);
    EXPECT_EQ(sim.log().count(Key::Left), 5);
}

TEST_F(SimField, BackspaceUnitIsPerFieldAndTheKeyboardCountsPressesForIt)
{
    area.setText("a" + family + flag);
    EXPECT_EQ(sim.keyboard().backspacePresses(family + flag), 2);
    EXPECT_EQ(sim.keyboard().arrowPresses(family + flag), 2);
    press(Key::Backspace, 2);
    EXPECT_EQ(area.text(), "a");

    area.quirks().backspaceUnit = BackspaceUnit::CodePoint;
    area.setText("a" + family + flag);
    EXPECT_EQ(sim.keyboard().backspacePresses(family + flag), 7);
    EXPECT_EQ(sim.keyboard().arrowPresses(family + flag), 2);
    press(Key::Backspace, 7);
    EXPECT_EQ(area.text(), "a");
}

TEST_F(SimField, ReturnAndTabDependOnTheKindOfField)
{
    type("a\n\tb");
    EXPECT_EQ(area.text(), "a\n\tb");

    line.focus();
    type("x\ny");
    EXPECT_EQ(line.text(), "xy");
    press(Key::Return);
    EXPECT_EQ(line.text(), "xy");

    // Tab leaves a one-line field for the next one and selects its text.
    other.setText("old");
    type("\t");
    EXPECT_EQ(line.text(), "xy");
    EXPECT_TRUE(other.isFocused());
    EXPECT_EQ(other.selection(), (TextRange{0, 3}));
    type("new");
    EXPECT_EQ(other.text(), "new");

    // From the last focusable element, Tab wraps around to the first.
    press(Key::Tab);
    EXPECT_TRUE(area.isFocused());

    line.setTabBehaviour(TabBehaviour::InsertTab);
    line.focus();
    press(Key::Tab);
    EXPECT_EQ(line.text(), "xy\t");
}

TEST_F(SimField, SelectAllAndCopyUseTheClipboardOnlyWithASelection)
{
    area.setText("Draft text");
    sim.userSetPasteboardText("user's clip");
    const qint64 before = sim.simPasteboard().peekChangeCount();

    shortcut(Shortcut::Copy); // caret only: nothing to copy
    EXPECT_EQ(sim.simPasteboard().peekChangeCount(), before);
    EXPECT_EQ(sim.pasteboard().plainText(), "user's clip");

    shortcut(Shortcut::SelectAll);
    EXPECT_EQ(area.selection(), (TextRange{0, 10}));
    shortcut(Shortcut::Copy);
    EXPECT_EQ(sim.simPasteboard().peekChangeCount(), before + 1);
    EXPECT_EQ(sim.pasteboard().plainText(), "Draft text");
    EXPECT_EQ(sim.log().countClipboard(ClipboardEvent::Kind::AppCopy), 1);

    // Typing over the whole selection replaces everything.
    type("New");
    EXPECT_EQ(area.text(), "New");
}

TEST_F(SimField, CopyQuirkAndSecureFieldsLeaveTheClipboardAlone)
{
    area.setText("abc").setSelection({0, 3});
    area.quirks().copyCopiesNothing = true;
    shortcut(Shortcut::Copy);
    EXPECT_EQ(sim.simPasteboard().peekChangeCount(), 0);

    SimElement &secret = window.addSecureField({400, 450, 200, 30});
    secret.focus();
    type("pw");
    shortcut(Shortcut::SelectAll);
    shortcut(Shortcut::Copy);
    EXPECT_EQ(sim.simPasteboard().peekChangeCount(), 0);
    EXPECT_EQ(secret.text(), "pw");
    EXPECT_FALSE(read(secret, Attribute::Value));
    EXPECT_FALSE(read(secret, Attribute::SelectedText));
    EXPECT_EQ(read(secret, Attribute::NumberOfCharacters), QVariant(qint64(2)));
}

TEST_F(SimField, KeysWithoutATextFieldAreLoggedNotLost)
{
    SimElement &ok = window.addButton({400, 500, 80, 30}, "OK");
    ok.focus();
    type("x");
    press(Key::Backspace);
    ASSERT_EQ(sim.log().keys.size(), 2u);
    EXPECT_FALSE(sim.log().keys[0].inTextField);
    EXPECT_TRUE(sim.log().keys[0].target == ok.element());
    EXPECT_EQ(area.text(), "");

    // Keys while Quorvel is in front go to Quorvel, not to the editor.
    sim.own().activate();
    type("y");
    EXPECT_EQ(sim.log().keys.back().pid, qv::sim::SimDesktop::OwnPid);
    EXPECT_TRUE(sim.log().keys.back().target.isNull());
    EXPECT_EQ(area.text(), "");
}

TEST_F(SimField, ReadsFollowTheFieldAndItsQuirks)
{
    area.setText("Hello world").setSelection({6, 5});
    EXPECT_EQ(read(area, Attribute::Value), QVariant("Hello world"));
    EXPECT_EQ(read(area, Attribute::NumberOfCharacters), QVariant(qint64(11)));
    EXPECT_EQ(read(area, Attribute::SelectedText), QVariant("world"));
    EXPECT_EQ(read(area, Attribute::SelectedTextRange)->value<TextRange>(), (TextRange{6, 5}));
    EXPECT_EQ(read(area, Attribute::Focused), QVariant(true));
    EXPECT_EQ(read(line, Attribute::Focused), QVariant(false));

    area.quirks().valueUnreadable = true;
    EXPECT_FALSE(read(area, Attribute::Value));
    EXPECT_TRUE(read(area, Attribute::SelectedText));
    area.quirks().valueUnreadable = false;

    area.quirks().selectedTextUnreadable = true;
    EXPECT_FALSE(read(area, Attribute::SelectedText));
    EXPECT_TRUE(read(area, Attribute::Value));
    area.quirks().selectedTextUnreadable = false;

    area.quirks().onlyCharacterCount = true;
    EXPECT_FALSE(read(area, Attribute::Value));
    EXPECT_FALSE(read(area, Attribute::SelectedText));
    EXPECT_FALSE(read(area, Attribute::SelectedTextRange));
    EXPECT_EQ(read(area, Attribute::NumberOfCharacters), QVariant(qint64(11)));
}

TEST_F(SimField, OverridesMakeAnyReadFailOrLie)
{
    area.setText("abc");
    area.overrideRead(Attribute::Value, std::nullopt);
    EXPECT_FALSE(read(area, Attribute::Value));
    area.overrideRead(Attribute::Value, QVariant(42)); // a value of another type
    EXPECT_EQ(read(area, Attribute::Value), QVariant(42));
    area.overrideRead(Attribute::Enabled, QVariant(0));
    EXPECT_EQ(read(area, Attribute::Enabled), QVariant(0));
    area.overrideSettable(Attribute::SelectedTextRange, std::nullopt);
    EXPECT_FALSE(sim.accessibility().isSettable(area.element(), Attribute::SelectedTextRange));
    area.overrideWrite(Attribute::SelectedTextRange, WriteAnswer::Refuse);
    EXPECT_FALSE(write(area, Attribute::SelectedTextRange, range(0, 1)));
    area.clearOverrides(Attribute::Value).clearOverrides(Attribute::SelectedTextRange);
    EXPECT_EQ(read(area, Attribute::Value), QVariant("abc"));
    EXPECT_TRUE(write(area, Attribute::SelectedTextRange, range(0, 1)));

    // Absent flags are absent, not false.
    EXPECT_FALSE(read(line, Attribute::Editable));
    line.setEditable(false).setEnabled(std::nullopt);
    EXPECT_EQ(read(line, Attribute::Editable), QVariant(false));
    EXPECT_FALSE(read(line, Attribute::Enabled));
}

TEST_F(SimField, SelectionWritesAreExactByDefaultAndConfigurable)
{
    area.setText("a" + family + "b");
    EXPECT_TRUE(write(area, Attribute::SelectedTextRange, range(2, 3)));
    EXPECT_EQ(area.selection(), (TextRange{2, 3}));
    EXPECT_TRUE(write(area, Attribute::SelectedTextRange, range(5, 100)));
    EXPECT_EQ(area.selection(), (TextRange{5, area.text().size() - 5}));

    area.quirks().rangeWrites = RangeWrites::SnapToGraphemes;
    EXPECT_TRUE(write(area, Attribute::SelectedTextRange, range(2, 3)));
    EXPECT_EQ(area.selection(), (TextRange{1, family.size()}));

    area.quirks().rangeWrites = RangeWrites::RejectOutOfRange;
    EXPECT_FALSE(write(area, Attribute::SelectedTextRange, range(5, 100)));
    EXPECT_FALSE(write(area, Attribute::SelectedTextRange, QVariant(qint64(3)))); // wrong type
    EXPECT_EQ(area.selection(), (TextRange{1, family.size()}));

    const auto &writes = sim.log().writes;
    ASSERT_EQ(writes.size(), 5u);
    EXPECT_TRUE(writes[0].accepted);
    EXPECT_FALSE(writes[3].accepted);
    EXPECT_EQ(writes[3].attribute, Attribute::SelectedTextRange);
    EXPECT_TRUE(writes[3].element == area.element());
}

TEST_F(SimField, SelectionQuirks)
{
    area.setText("Hello");
    area.quirks().selectionNotSettable = true;
    EXPECT_EQ(sim.accessibility().isSettable(area.element(), Attribute::SelectedTextRange), false);
    EXPECT_FALSE(write(area, Attribute::SelectedTextRange, range(0, 1)));

    area.quirks().selectionNotSettable = false;
    area.quirks().selectionWritesIgnored = true;
    EXPECT_TRUE(write(area, Attribute::SelectedTextRange, range(0, 1)));
    EXPECT_EQ(area.selection(), (TextRange{5, 0}));

    area.quirks().selectionWritesIgnored = false;
    area.quirks().writeDelayMs = 300;
    EXPECT_TRUE(write(area, Attribute::SelectedTextRange, range(0, 2)));
    EXPECT_EQ(area.selection(), (TextRange{5, 0}));
    clock.advance(299);
    EXPECT_EQ(area.selection(), (TextRange{5, 0}));
    clock.advance(1);
    EXPECT_EQ(area.selection(), (TextRange{0, 2}));
}

TEST_F(SimField, FocusWritesMoveTheFocusUnlessIgnored)
{
    EXPECT_TRUE(write(line, Attribute::Focused, true));
    EXPECT_TRUE(line.isFocused());
    EXPECT_TRUE(sim.accessibility().systemFocusedElement() == line.element());

    other.quirks().focusWritesIgnored = true;
    EXPECT_TRUE(write(other, Attribute::Focused, true));
    EXPECT_TRUE(line.isFocused());

    SimElement &label = window.addStaticText({400, 40, 100, 20}, "Title");
    EXPECT_FALSE(write(label, Attribute::Focused, true));
    EXPECT_EQ(read(label, Attribute::Value), QVariant("Title"));
    EXPECT_FALSE(read(label, Attribute::SelectedTextRange));

    area.quirks().writeDelayMs = 50;
    EXPECT_TRUE(write(area, Attribute::Focused, true));
    EXPECT_TRUE(line.isFocused());
    clock.advance(50);
    EXPECT_TRUE(area.isFocused());
}

TEST_F(SimField, TheApplicationMayRewriteWhatIsTyped)
{
    area.quirks().transform = transforms::capitalizeSentenceStart;
    type("hi. it works");
    EXPECT_EQ(area.text(), "Hi. It works");
    EXPECT_EQ(sim.log().typedText(), "hi. it works");

    line.focus();
    line.quirks().transform = [](const QString &, const QString &typed) {
        return typed == "(c)" ? QStringLiteral("©") : typed;
    };
    type("x");
    runTask(clock, sim.keyboard().typeGrapheme("(c)"));
    EXPECT_EQ(line.text(), "x©");
}

TEST_F(SimField, TerminalsTakeTextButIgnoreEditingChords)
{
    SimElement &term = window.addTerminal({0, 0, 10, 10}, "$ ");
    term.focus();
    EXPECT_TRUE(sim.accessibility().isTerminal(term.element()));
    EXPECT_FALSE(sim.accessibility().isTerminal(area.element()));
    type("ls" + flag);
    shortcut(Shortcut::SelectAll);
    shortcut(Shortcut::Copy);
    EXPECT_EQ(term.selection(), (TextRange{term.text().size(), 0}));
    EXPECT_EQ(sim.simPasteboard().peekChangeCount(), 0);
    EXPECT_EQ(sim.keyboard().backspacePresses(flag), 2);
    press(Key::Backspace, 2);
    EXPECT_EQ(term.text(), "$ ls");
    EXPECT_FALSE(write(term, Attribute::SelectedTextRange, range(0, 0)));
}

TEST_F(SimField, KeyLatencyAndDeliveryDelayRunOnTheVirtualClock)
{
    sim.simKeyboard().setLatencyMs(8);
    type("ab");
    EXPECT_EQ(clock.nowMs(), 16);
    EXPECT_EQ(area.text(), "ab");
    EXPECT_EQ(sim.log().keys[1].sentNs, 8'000'000);
    EXPECT_EQ(sim.log().keys[1].timeNs, 16'000'000);

    // Posted keys land after the call returned, in order.
    sim.simKeyboard().setLatencyMs(0);
    sim.simKeyboard().setDeliveryDelayMs(30);
    runTask(clock, sim.keyboard().typeGrapheme("c"));
    runTask(clock, sim.keyboard().typeGrapheme("d"));
    EXPECT_EQ(area.text(), "ab");
    clock.advance(30);
    EXPECT_EQ(area.text(), "abcd");
}

TEST_F(SimField, AHungApplicationKeepsKeysUntilItRecovers)
{
    editor.setHung(true);
    type("ok");
    EXPECT_EQ(area.text(), "");
    EXPECT_TRUE(sim.log().keys[0].queued);
    EXPECT_FALSE(read(area, Attribute::Value));
    EXPECT_FALSE(sim.accessibility().isSettable(area.element(), Attribute::SelectedTextRange));
    EXPECT_FALSE(write(area, Attribute::Focused, true));
    EXPECT_TRUE(sim.accessibility().systemFocusedElement().isNull());
    EXPECT_TRUE(sim.accessibility().elementAtPoint({50, 50}).isNull());
    EXPECT_EQ(sim.workspace().frontmostApplication()->pid, editor.pid());
    editor.setHung(false);
    EXPECT_EQ(area.text(), "ok");
    EXPECT_EQ(read(area, Attribute::Value), QVariant("ok"));
}

TEST_F(SimField, ReadHooksScriptAnswersThatChangeAndReadsAreCounted)
{
    area.setText("late text");
    int calls = 0;
    area.overrideReadWith(Attribute::Value, [&](const std::optional<QVariant> &natural) {
        return ++calls <= 2 ? std::nullopt : natural;
    });
    EXPECT_FALSE(read(area, Attribute::Value));
    EXPECT_FALSE(read(area, Attribute::Value));
    EXPECT_EQ(read(area, Attribute::Value), QVariant("late text"));
    EXPECT_EQ(sim.log().countReads(Attribute::Value, area.element()), 3);
    EXPECT_EQ(sim.log().countReads(Attribute::Value, line.element()), 0);
    (void)sim.accessibility().isSettable(area.element(), Attribute::Value);
    EXPECT_EQ(sim.log().countReads(Attribute::Value), 3); // settable queries are not reads
    EXPECT_FALSE(sim.log().reads[0].answered);
    EXPECT_TRUE(sim.log().reads[2].answered);
}

TEST_F(SimField, AfterInsertHooksRewriteTheBox)
{
    area.quirks().afterInsert = transforms::autocorrectWords({{"teh", "the"}, {"dont", "don't"}});
    type("teh cat dont\nteh");
    EXPECT_EQ(area.text(), "the cat dont\nteh");
    type(" end");
    EXPECT_EQ(area.text(), "the cat dont\nthe end");
    EXPECT_EQ(area.selection(), (TextRange{area.text().size(), 0}));

    // A box that keeps at most five units drops the rest.
    line.focus();
    line.quirks().afterInsert = [](EditState &s, const QString &) { s.text.truncate(5); };
    type("abcdefg");
    EXPECT_EQ(line.text(), "abcde");
    EXPECT_EQ(line.selection(), (TextRange{5, 0}));
}

// Whatever keys arrive, a box's selection stays inside its text and on the
// boundaries its keys can produce.
TEST_F(SimField, RandomKeysKeepTheBoxConsistent)
{
    qv::SeededRandom random(7);
    const QStringList pieces{"a", "b", " ", family, flag, QString::fromUtf8("e\xCC\x81"), "\n", "\t"};
    const Key keys[] = {Key::Backspace, Key::Left, Key::Right, Key::Up, Key::Down, Key::Return, Key::Tab};
    for (BackspaceUnit unit : {BackspaceUnit::Grapheme, BackspaceUnit::CodePoint}) {
        area.setText({});
        area.quirks().backspaceUnit = unit;
        for (int i = 0; i < 400; ++i) {
            const qint64 pick = random.uniformInt(0, 9);
            if (pick < 6)
                runTask(clock, sim.keyboard().typeGrapheme(pieces[random.uniformInt(0, pieces.size() - 1)]));
            else if (pick < 9)
                press(keys[random.uniformInt(0, 6)]);
            else
                shortcut(Shortcut::SelectAll);
            const TextRange sel = area.selection();
            ASSERT_GE(sel.location, 0);
            ASSERT_GE(sel.length, 0);
            ASSERT_LE(sel.end(), area.text().size());
            if (unit == BackspaceUnit::Grapheme) {
                ASSERT_TRUE(qv::text::isGraphemeBoundary(area.text(), int(sel.location))) << i;
            }
        }
    }
    EXPECT_TRUE(area.isFocused()); // Tab inserts in a text area, focus never left
}
