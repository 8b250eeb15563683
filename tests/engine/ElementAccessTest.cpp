#include "engine/ElementAccess.h"
#include "engine/FocusMonitor.h"

#include "FakeDesktop.h"
#include "TestPrinters.h"

#include "core/Random.h"
#include "core/VirtualScheduler.h"
#include "support/CoroTest.h"

#include <gtest/gtest.h>

using namespace qv::engine;
using qv::platform::Element;
using qv::platform::TextRange;
using qv::test::Attribute;
using qv::test::runTask;
namespace Roles = qv::platform::Roles;

namespace {
struct Access : ::testing::Test {
    qv::VirtualScheduler clock;
    qv::test::FakePlatform desktop{clock};
    qv::test::FakeAccessibility &ax = desktop.ax;
    qv::SeededRandom random{1};
    KeyOutput keys{desktop.kb, clock, random};
    ElementAccess access{ax, desktop.ws, clock, keys};

    // An element with no hints at all: not a text input.
    Element plain(qint64 pid = 2001)
    {
        Element e = ax.make(pid);
        ax.node(e).values[Attribute::Role] = Roles::Group;
        return e;
    }
    QList<Element> plains(int count)
    {
        QList<Element> list;
        for (int i = 0; i < count; ++i)
            list.append(plain());
        return list;
    }
    void set(const Element &e, Attribute a, const QVariant &v) { ax.node(e).values[a] = v; }
};
} // namespace

TEST_F(Access, TextInputDecisionOrder)
{
    EXPECT_FALSE(access.isTextInputElementRelaxed(Element()));
    using Values = std::vector<std::pair<Attribute, QVariant>>;
    const QVariant yes(true), no(false);
    const struct {
        const char *what;
        Values values; // on an element with no hints at all
        bool textInput;
    } cases[] = {
        {"disabled text field", {{Attribute::Role, Roles::TextField}, {Attribute::Enabled, no}}, false},
        // Enabled given as a number counts as a Boolean.
        {"enabled 0", {{Attribute::Role, Roles::TextField}, {Attribute::Enabled, 0}}, false},
        {"enabled 1", {{Attribute::Role, Roles::TextField}, {Attribute::Enabled, 1}}, true},
        // A secure field never is, even when it says it is editable.
        {"secure", {{Attribute::Role, Roles::SecureTextField}, {Attribute::Editable, yes}}, false},
        // Text roles: editable unless they say otherwise.
        {"text field", {{Attribute::Role, Roles::TextField}}, true},
        {"text area", {{Attribute::Role, Roles::TextArea}}, true},
        {"text view", {{Attribute::Role, Roles::TextView}}, true},
        {"search field", {{Attribute::Role, Roles::SearchField}}, true},
        {"text field, not editable", {{Attribute::Role, Roles::TextField}, {Attribute::Editable, no}}, false},
        {"text area, not editable", {{Attribute::Role, Roles::TextArea}, {Attribute::Editable, no}}, false},
        {"text view, not editable", {{Attribute::Role, Roles::TextView}, {Attribute::Editable, no}}, false},
        {"search field, not editable", {{Attribute::Role, Roles::SearchField}, {Attribute::Editable, no}}, false},
        // Roles compare exactly.
        {"role in capitals", {{Attribute::Role, Roles::TextField.toUpper()}}, false},
        // A web area needs to say it is editable, else the later hints decide.
        {"web area", {{Attribute::Role, Roles::WebArea}}, false},
        {"web area, text box", {{Attribute::Role, Roles::WebArea}, {Attribute::DomRole, "TEXTBOX"}}, true},
        {"editable", {{Attribute::Editable, yes}}, true},
        // Non-editable wins over hints.
        {"not editable, editor", {{Attribute::Editable, no}, {Attribute::RoleDescription, "rich EDITOR"}}, false},
        {"editor", {{Attribute::RoleDescription, "Rich EDITOR"}}, true},
        {"button, text box", {{Attribute::RoleDescription, "button"}, {Attribute::DomRole, "text box"}}, false},
        {"button, combo box", {{Attribute::RoleDescription, "button"}, {Attribute::DomRole, "ComboBox"}}, true},
        // A role description that is not a string is absent.
        {"numeric description", {{Attribute::RoleDescription, 42}}, false},
    };
    for (const auto &c : cases) {
        Element e = plain();
        for (const auto &[attribute, value] : c.values)
            set(e, attribute, value);
        EXPECT_EQ(access.isTextInputElementRelaxed(e), c.textInput) << c.what;
        // Disabled is refused before the role is read, secure before editable.
        if (!c.textInput && c.values.size() == 2 && c.values[1].first == Attribute::Enabled) {
            EXPECT_EQ(ax.node(e).reads[Attribute::Role], 0) << c.what;
        }
        if (c.values.front().second == QVariant(Roles::SecureTextField)) {
            EXPECT_EQ(ax.node(e).reads[Attribute::Editable], 0);
        }
    }
}

TEST_F(Access, SettableOrReadableValueIsEnough)
{
    Element e = plain();
    ax.node(e).settable.insert(Attribute::SelectedTextRange);
    EXPECT_TRUE(access.isTextInputElementRelaxed(e));
    ax.node(e).settableQueryFails.insert(Attribute::SelectedTextRange);
    EXPECT_FALSE(access.isTextInputElementRelaxed(e));
    ax.node(e).settable.insert(Attribute::Value);
    EXPECT_TRUE(access.isTextInputElementRelaxed(e));

    Element readable = plain();
    set(readable, Attribute::Value, QStringLiteral("hi"));
    EXPECT_TRUE(access.isTextInputElementRelaxed(readable));
    Element withRange = plain();
    set(withRange, Attribute::SelectedTextRange, QStringLiteral("whatever type"));
    EXPECT_TRUE(access.isTextInputElementRelaxed(withRange));
}

TEST_F(Access, AncestorWalkTestsEightElements)
{
    // chain[0] is the start; chain[k] its k-th ancestor.
    const QList<Element> chain = plains(9);
    for (int i = 0; i + 1 < chain.size(); ++i)
        ax.setParent(chain[i], chain[i + 1]);
    set(chain[8], Attribute::Editable, true);
    EXPECT_TRUE(access.editableAncestor(chain[0]).isNull());
    set(chain[7], Attribute::Editable, true);
    EXPECT_EQ(access.editableAncestor(chain[0]), chain[7]);
    EXPECT_EQ(access.editableAncestor(chain[7]), chain[7]);
    // A parent that is not an element ends the walk.
    set(chain[3], Attribute::Parent, QStringLiteral("not an element"));
    EXPECT_TRUE(access.editableAncestor(chain[0]).isNull());
    EXPECT_TRUE(access.editableAncestor(Element()).isNull());
}

TEST_F(Access, DescendantSearchIsBoundedByDepthAndEntries)
{
    // A chain of depth 0..6 with the text input at depth 6: not found.
    const QList<Element> chain = plains(7);
    for (int i = 0; i + 1 < chain.size(); ++i)
        ax.setChildren(chain[i], {chain[i + 1]});
    set(chain[6], Attribute::Editable, true);
    EXPECT_TRUE(access.editableDescendant(chain[0]).isNull());
    EXPECT_EQ(ax.node(chain[6]).reads[Attribute::Editable], 0); // not even tested
    set(chain[5], Attribute::Editable, true);
    EXPECT_EQ(access.editableDescendant(chain[0]), chain[5]);

    // Breadth first: a shallow input beats a deep one listed earlier.
    Element root = plain(), a = plain(), b = plain(), deep = plain();
    ax.setChildren(root, {a, b});
    ax.setChildren(a, {deep});
    set(deep, Attribute::Editable, true);
    set(b, Attribute::Editable, true);
    EXPECT_EQ(access.editableDescendant(root), b);

    // 360 entries: a root with 400 children finds child 358 (entry 359), not 359.
    Element wide = plain();
    const QList<Element> children = plains(400);
    ax.setChildren(wide, children);
    set(children[359], Attribute::Editable, true);
    EXPECT_TRUE(access.editableDescendant(wide).isNull());
    set(children[358], Attribute::Editable, true);
    EXPECT_EQ(access.editableDescendant(wide), children[358]);

    // Children as a generic list; non-elements are skipped.
    Element mixed = plain(), inside = plain();
    set(inside, Attribute::Editable, true);
    set(mixed, Attribute::Children, QVariantList{QStringLiteral("junk"), QVariant::fromValue(inside)});
    EXPECT_EQ(access.editableDescendant(mixed), inside);
}

TEST_F(Access, ElementUnderThePointerUsesTheOneTopLeftLocation)
{
    Element field = ax.textField();
    ax.atPoint[{100, 50}] = field;
    EXPECT_TRUE(access.elementAtMouseLocation().isNull()); // pointer unknown
    desktop.ws.pointer = QPoint(100, 50);
    EXPECT_EQ(access.elementAtMouseLocation(), field);
    EXPECT_EQ(ax.pointLookups, (QList<QPoint>{QPoint(100, 50)}));
}

TEST_F(Access, FocusedElementPrefersTheFreshCache)
{
    Element cached = ax.textField("", 2001);
    Element system = ax.textField("", 2001);
    ax.systemFocus = system;
    ax.node(ax.applicationElement(2001)).values[Attribute::FocusedElement] = QVariant::fromValue(cached);

    // No frontmost application: the monitor is not consulted.
    EXPECT_EQ(access.focusedElement(), system);
    desktop.ws.activate(2001);
    EXPECT_EQ(access.focusedElement(), cached);
    const int reads = ax.systemFocusReads;
    clock.advance(2001);
    EXPECT_EQ(access.focusedElement(), system);
    EXPECT_EQ(ax.systemFocusReads, reads + 1);
}

TEST_F(Access, WaitForFocusFindsInputsNearTheFocus)
{
    // The focused element is a container whose child takes text.
    Element box = plain(), input = plain();
    ax.setChildren(box, {input});
    set(input, Attribute::Editable, true);
    ax.systemFocus = box;
    const auto found = runTask(clock, access.waitForTextInputFocus({}, {}, std::nullopt));
    EXPECT_EQ(found, true);
    ASSERT_FALSE(ax.writes.isEmpty());
    EXPECT_EQ(ax.writes.last().element, input);
    EXPECT_EQ(ax.writes.last().attribute, Attribute::Focused);
    EXPECT_EQ(clock.nowMs(), 0);

    // Nothing focused, the pointer rests on a label inside a text area.
    ax.systemFocus = Element();
    Element area = ax.textField(), label = plain();
    ax.setParent(label, area);
    ax.atPoint[{5, 5}] = label;
    desktop.ws.pointer = QPoint(5, 5);
    EXPECT_EQ(runTask(clock, access.waitForTextInputFocus({}, {}, 1000.0)), true);
    EXPECT_EQ(ax.writes.last().element, area);
}

TEST_F(Access, WaitForFocusTimesOutAndStopsButLooksOnceMoreAfterAPause)
{
    int stopCalls = 0;
    bool stop = false;
    EXPECT_EQ(runTask(clock, access.waitForTextInputFocus(
                                 [&] {
                                     ++stopCalls;
                                     return stop;
                                 },
                                 {}, 2500.0)),
              false);
    // Polls at 0, 180, ..., 2520 ms: the first check at or past 2500 ends it.
    EXPECT_EQ(clock.nowMs(), 2520);
    EXPECT_EQ(stopCalls, 15);

    // Without a time-out only the stop ends it.
    const double t0 = clock.nowMs();
    clock.singleShot(1000, [&] { stop = true; });
    EXPECT_EQ(runTask(clock, access.waitForTextInputFocus([&] { return stop; }, {}, std::nullopt)), false);
    EXPECT_EQ(clock.nowMs() - t0, 1080);

    // A stop during a pause: the candidates are tried once more.
    const double t1 = clock.nowMs();
    bool paused = true, stopped = false;
    clock.singleShot(300, [&] { stopped = true; });
    Element field = ax.textField();
    clock.singleShot(250, [&] { ax.systemFocus = field; });
    const auto result = runTask(clock, access.waitForTextInputFocus([&] { return stopped; }, [&] { return paused; },
                                                                    std::nullopt));
    EXPECT_EQ(result, true);
    EXPECT_EQ(clock.nowMs() - t1, 360); // three 120 ms pause polls
}

TEST_F(Access, TextReadsAndLengths)
{
    Element field = ax.textField("héllo");
    EXPECT_EQ(access.readFocusedText(field), "héllo");
    EXPECT_FALSE(access.readFocusedText()); // nothing focused
    ax.systemFocus = field;
    EXPECT_EQ(access.readFocusedText(), "héllo");
    set(field, Attribute::SelectedText, QStringLiteral("ll"));
    EXPECT_EQ(access.readSelectedText(), "ll");
    set(field, Attribute::SelectedText, 7);
    EXPECT_FALSE(access.readSelectedText());

    EXPECT_EQ(access.textLengthEstimate(field), 5);
    set(field, Attribute::NumberOfCharacters, 9);
    EXPECT_EQ(access.textLengthEstimate(field), 9);
    ax.node(field).values.erase(Attribute::Value);
    EXPECT_EQ(access.textLengthEstimate(field), 9);
    ax.node(field).values.erase(Attribute::NumberOfCharacters);
    EXPECT_FALSE(access.textLengthEstimate(field));
    EXPECT_FALSE(access.textLengthEstimate(Element()));
    set(field, Attribute::NumberOfCharacters, QStringLiteral("12"));
    EXPECT_EQ(access.readIntAttribute(field, Attribute::NumberOfCharacters), 12);
    set(field, Attribute::NumberOfCharacters, 3.9);
    EXPECT_EQ(access.readIntAttribute(field, Attribute::NumberOfCharacters), 3);
}

TEST_F(Access, ReadWithRetryRefocusesBetweenAttempts)
{
    Element field = ax.textField();
    ax.node(field).values.erase(Attribute::Value);
    const auto text = runTask(clock, access.readFocusedTextWithRetry(field, 3));
    ASSERT_TRUE(text.has_value());
    EXPECT_FALSE(text->has_value());
    EXPECT_EQ(ax.node(field).reads[Attribute::Value], 3);
    EXPECT_EQ(clock.nowMs(), 500);
    EXPECT_EQ(ax.writes.size(), 3);
    for (const auto &w : ax.writes)
        EXPECT_EQ(w.attribute, Attribute::Focused);

    clock.singleShot(100, [&] { set(field, Attribute::Value, QStringLiteral("late")); });
    const auto late = runTask(clock, access.readFocusedTextWithRetry(field, 3));
    EXPECT_EQ(late, std::optional<QString>("late"));
    const int readsBefore = ax.node(field).reads[Attribute::Value];
    const auto none = runTask(clock, access.readFocusedTextWithRetry(field, 0));
    ASSERT_TRUE(none.has_value());
    EXPECT_FALSE(none->has_value());
    EXPECT_EQ(ax.node(field).reads[Attribute::Value], readsBefore);
}

TEST_F(Access, CaretAndSelectionWrites)
{
    Element field = ax.textField("hello");
    EXPECT_TRUE(access.setCaretPosition(-3, field));
    EXPECT_EQ(access.selectedTextRange(field), (TextRange{0, 0}));
    EXPECT_TRUE(access.setSelectionRange({2, 9}, field)); // unclamped
    EXPECT_EQ(access.selectedTextRange(field), (TextRange{2, 9}));
    EXPECT_EQ(access.caretPosition(field), 2);
    ax.node(field).settable.clear();
    EXPECT_FALSE(access.setCaretPosition(1, field));
    EXPECT_FALSE(access.setCaretPosition(1)); // nothing focused
    set(field, Attribute::SelectedTextRange, QStringLiteral("2,3"));
    EXPECT_FALSE(access.selectedTextRange(field));
}

TEST_F(Access, MoveCursorWritesTheCaretWhereItCanElsePressesArrowsInChunks)
{
    const QString text = QString::fromUtf8("a👍🏽e\u0301b");
    Element field = ax.textField(text);
    // A settable caret: written and read back, no key at all.
    EXPECT_EQ(runTask(clock, access.moveCursor(1, text, field, {})), std::optional<bool>(true));
    EXPECT_EQ(access.selectedTextRange(field), (TextRange{1, 0}));
    EXPECT_TRUE(desktop.kb.keys.isEmpty());

    // Not settable, caret unreadable (assumed at the end): one arrow per
    // grapheme crossed, "👍🏽", "é" and "b". Past the end: nothing to do.
    ax.node(field).settable.clear();
    ax.node(field).values.erase(Attribute::SelectedTextRange);
    runTask(clock, access.moveCursor(1, text, field, {}));
    EXPECT_EQ(desktop.kb.keys, (QStringList{"<Left>", "<Left>", "<Left>"}));
    desktop.kb.keys.clear();
    runTask(clock, access.moveCursor(99, text, field, {}));
    EXPECT_TRUE(desktop.kb.keys.isEmpty());
    runTask(clock, access.moveCursor(-4, text, field, {}));
    EXPECT_EQ(desktop.kb.keys.size(), 4);

    // A long way: chunks of at most kArrowChunk, each followed by a wait
    // that grows with its presses; a stop is asked before every chunk.
    const QString longText(100, QChar('x'));
    Element area = ax.textField(longText);
    ax.node(area).settable.clear();
    ax.node(area).values.erase(Attribute::SelectedTextRange);
    desktop.kb.keys.clear();
    desktop.kb.timesMs.clear();
    runTask(clock, access.moveCursor(0, longText, area, {}));
    ASSERT_EQ(desktop.kb.keys.size(), 100);
    const double chunkWait = ElementAccess::kChunkWaitMs + ElementAccess::kChunkWaitPerPressMs * 40;
    for (int i = 1; i < 100; ++i)
        EXPECT_EQ(desktop.kb.timesMs[i] - desktop.kb.timesMs[i - 1], i % 40 == 0 ? chunkWait : 0) << i;
    desktop.kb.keys.clear();
    int asked = 0;
    runTask(clock, access.moveCursor(0, longText, area, [&] { return ++asked >= 3; }));
    EXPECT_EQ(desktop.kb.keys.size(), 40) << "the first chunk only";
}

TEST_F(Access, TheEndWaitsForAFieldThatReadsAndHoldsStill)
{
    // The field's value over time: (at ms, value; empty QVariant: no answer).
    using Script = QList<std::pair<double, QVariant>>;
    const QVariant none;
    const struct {
        const char *what;
        Script script;
        bool readableBefore;
        double stopAtMs; // 0: no stop
        bool quiet;
        double endsAtMs;
    } cases[] = {
        {"still and as meant", {{0, "done."}}, true, 0, true, ElementAccess::kEndQuietMs},
        {"still but not as meant yet", {{0, "don"}}, true, 0, true, ElementAccess::kEndQuietLongMs},
        {"keys landing, then as meant",
         {{0, "d"}, {400, "do"}, {900, "done."}},
         true,
         0,
         true,
         900 + ElementAccess::kEndQuietMs},
        {"no answer while busy, then as meant",
         {{0, none}, {11000, "done."}},
         true,
         0,
         true,
         11000 + ElementAccess::kEndQuietMs},
        {"never answering", {{0, none}}, true, 0, false, ElementAccess::kEndSettleLimitMs},
        {"never read: nothing to wait for", {{0, none}}, false, 0, true, 0},
        {"a stop", {{0, none}}, true, 500, false, 500},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Element field = ax.textField();
        const double start = clock.nowMs();
        const auto setValue = [this, field](const QVariant &v) {
            if (v.isValid())
                set(field, Attribute::Value, v);
            else
                ax.node(field).values.erase(Attribute::Value);
        };
        setValue(c.script.first().second);
        for (const auto &[at, v] : c.script.mid(1))
            clock.singleShot(at, [setValue, v] { setValue(v); });
        bool stop = false;
        if (c.stopAtMs > 0)
            clock.singleShot(c.stopAtMs, [&stop] { stop = true; });
        const auto quiet = runTask(clock, access.waitForFieldQuiet(
                                              field, [](const QString &t) { return t == QStringLiteral("done."); },
                                              c.readableBefore, [&stop] { return stop; }));
        EXPECT_EQ(quiet, std::optional<bool>(c.quiet));
        EXPECT_NEAR(clock.nowMs() - start, c.endsAtMs, ElementAccess::kEndPollMs);
        clock.advance(20000); // what is left of the script
    }
}
