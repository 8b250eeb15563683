// The gate every key of a run passes, on the simulated desktop: no key
// reaches another application or a control that takes no text, whatever
// wait it came after; a stop during a wait ends the run without another
// key; line breaks and tabs stay out of fields that cannot take them.

#include "core/Text.h"
#include "engine/BufferEdits.h"

#include "RunHarness.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace qv::engine;
using qv::platform::Key;
using qv::sim::KeyEvent;
using qv::test::RunHarness;

namespace {

QString repeated(const QString &sentence, int times)
{
    QString out;
    for (int i = 0; i < times; ++i)
        out += sentence;
    return out;
}

// A run on the standard desktop with a second application whose text box
// holds "other app text".
struct GatedRun : qv::test::EngineRunHarness {
    qv::sim::SimApp &other = sim.addApp("Chat");
    qv::sim::SimElement &otherField = other.addWindow({900, 0, 300, 300}).addTextField({910, 10, 200, 30});
    GatedRun()
    {
        otherField.setText("other app text");
        otherField.focus();
        editor.activate();
    }
    int keysTo(qint64 pid)
    {
        int n = 0;
        for (const KeyEvent &key : sim.log().keys)
            n += key.pid == pid ? 1 : 0;
        return n;
    }
};

bool isKey(const KeyEvent &event, Key key) { return event.kind == KeyEvent::Kind::Key && event.key == key; }

// Where, in a run's keys, a wait inside a step ends: the time of the key
// that follows it, or nothing.
using WaitFinder = std::function<std::optional<double>(const std::vector<KeyEvent> &)>;

// A wait of at least `minMs` between a letter and a key `ends` accepts: the
// word-end actions wait there, between the word's last letter and the key
// that ends it (or their first edit key). The pauses after a key come after
// a sentence end, a line break or a space instead.
WaitFinder wordEndWait(double minMs, std::function<bool(const KeyEvent &)> ends)
{
    return [minMs, ends](const std::vector<KeyEvent> &keys) -> std::optional<double> {
        for (size_t i = 1; i < keys.size(); ++i) {
            const KeyEvent &last = keys[i - 1];
            if (keys[i].timeMs() - last.timeMs() >= minMs && last.kind == KeyEvent::Kind::Grapheme
                && qv::text::isLetter(last.text) && ends(keys[i]))
                return keys[i].timeMs();
        }
        return std::nullopt;
    };
}

const auto isSpace = [](const KeyEvent &k) { return k.kind == KeyEvent::Kind::Grapheme && k.text == " "; };
const auto isSpaceOrBackspace = [](const KeyEvent &k) { return isSpace(k) || isKey(k, Key::Backspace); };

} // namespace

// A user who switches to another application during a wait inside a step
// gets no key of the run there: the key that ends the wait is held until
// the run's application is back, and the run then ends as it should.
TEST(KeyGate, AnApplicationSwitchDuringAWaitInsideAStepPostsNoKeyThere)
{
    struct Case {
        const char *wait;
        QString text;
        bool humanize;
        int wpm;
        QString fieldText; // a field with text corrects every typo at once
        WaitFinder find;
    };
    const QString lorem = repeated("Lorem ipsum dolor sit amet consectetur. ", 20);
    const QString essay = repeated("The plan was good and the team worked hard on it every day. ", 30);
    const Case cases[] = {
        {"an immediate typo's wrong key", lorem, false, 60, "[]",
         [](const std::vector<KeyEvent> &keys) -> std::optional<double> {
             for (size_t i = 1; i < keys.size(); ++i)
                 if (isKey(keys[i], Key::Backspace) && keys[i - 1].kind == KeyEvent::Kind::Grapheme)
                     return keys[i].timeMs();
             return std::nullopt;
         }},
        {"the hard-word slow-down", "juxtaposition juxtaposition juxtaposition", false, 20, "x",
         wordEndWait(5000, isSpace)},
        {"the style swap", essay, true, 60, "", wordEndWait(3400, isSpaceOrBackspace)},
        {"the thesaurus pause", essay, true, 60, "", wordEndWait(14000, isSpaceOrBackspace)},
        {"the long pause", essay, true, 60, "", wordEndWait(29000, isSpaceOrBackspace)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.wait);
        std::optional<double> waitEnd;
        {
            GatedRun reference;
            reference.field.setText(c.fieldText);
            reference.field.setCaret(c.fieldText.size() / 2);
            reference.runText(c.text, c.humanize, c.wpm);
            waitEnd = c.find(reference.sim.log().keys);
        }
        ASSERT_TRUE(waitEnd) << "no such wait in the reference run";

        // The same run again; the user switches away just before the wait
        // ends and comes back 5 s later.
        GatedRun h;
        h.field.setText(c.fieldText);
        h.field.setCaret(c.fieldText.size() / 2);
        h.sim.at(*waitEnd - 10).switchTo(h.other);
        h.sim.at(*waitEnd + 5000).switchTo(h.editor);
        h.runText(c.text, c.humanize, c.wpm);

        EXPECT_EQ(h.keysTo(h.other.pid()), 0);
        EXPECT_EQ(h.otherField.text(), "other app text");
        EXPECT_TRUE(h.phases.contains("paused"));
        EXPECT_EQ(h.phases.last(), "done");
        const QString before = c.fieldText.left(c.fieldText.size() / 2);
        EXPECT_EQ(h.field.text(), before + h.engine.lastIntendedText() + c.fieldText.mid(before.size()));
    }
}

// Fields that cannot take a line break or a tab: the character is left out,
// nothing leaves the field or submits it, and the run ends without repairs.
TEST(KeyGate, LineBreaksAndTabsStayOutOfFieldsThatCannotTakeThem)
{
    enum class Kind { TabLeavesTextArea, OneLineBox, OneLineEntryThatDoesNotSay, BoxOfUnknownKind, TextAreaTakingTabs };
    struct Case {
        const char *field;
        Kind kind;
        QString text;
        QString expected;        // what the field ends with
        int tabs, returns;       // left out
        int tabKeys, returnKeys; // posted
        RunKeyGate::Refusal tabsWhy, returnsWhy;
    };
    using R = RunKeyGate::Refusal;
    const QString text = "Tabs:\tone\ttwo\nthree\tfour\nend";
    const Case cases[] = {
        {"a text area whose Tab moves on", Kind::TabLeavesTextArea, text, "Tabs:onetwo\nthreefour\nend", 3, 0, 1, 2,
         R::FocusLeft, R::None},
        {"a one-line box whose Return submits", Kind::OneLineBox, text, "Tabs:onetwo threefour end", 3, 2, 0, 0,
         R::OneLineBox, R::OneLineBox},
        // Its role says it: no key is posted to find out.
        {"a one-line entry that does not say so, whose Return submits", Kind::OneLineEntryThatDoesNotSay, text,
         "Tabs:onetwo threefour end", 3, 2, 0, 0, R::OneLineBox, R::OneLineBox},
        // Nothing tells: the first Tab and the first Return are watched.
        // (Its Return could submit unseen: only the Tab is put to the test.)
        {"a box of unknown kind", Kind::BoxOfUnknownKind, "Tabs:\tone\ttwo", "Tabs:onetwo", 2, 0, 1, 0, R::FocusLeft,
         R::None},
        {"a box of unknown kind that ignores Return", Kind::BoxOfUnknownKind, "a\nb\nc", "a b c", 0, 2, 0, 1, R::None,
         R::NotTaken},
        {"a text area that takes tabs", Kind::TextAreaTakingTabs, text, text, 0, 0, 3, 2, R::None, R::None},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.field);
        GatedRun h;
        qv::sim::SimElement *target = &h.field;
        int submits = 0;
        switch (c.kind) {
        case Kind::TabLeavesTextArea:
            h.field.setTabBehaviour(qv::sim::TabBehaviour::MoveFocus);
            break;
        case Kind::OneLineBox:
        case Kind::OneLineEntryThatDoesNotSay:
        case Kind::BoxOfUnknownKind:
            // One-line boxes keep Return for submitting; this one never
            // gets it when it says what it is.
            target = &h.window.addTextField({20, 5, 300, 30});
            if (c.kind != Kind::OneLineBox)
                target->overrideRead(qv::platform::Attribute::MultiLine, std::nullopt);
            if (c.kind == Kind::BoxOfUnknownKind)
                target->setRole(qv::platform::Roles::TextView);
            else
                target->quirks().submit = [&] { ++submits; };
            target->focus();
            break;
        case Kind::TextAreaTakingTabs:
            break;
        }
        // The next field in the tab order, where a Tab would land.
        auto &next = h.window.addTextField({20, 550, 300, 30}, "next field");
        next.setFocusable(true);
        target->setFocusable(true);

        auto a = h.args(c.text, false);
        a.target = target->element();
        TypingRun r(h.engine, a);
        h.run(r);

        EXPECT_EQ(target->text(), c.expected);
        EXPECT_EQ(next.text(), "next field");
        for (const KeyEvent &key : h.sim.log().keys)
            EXPECT_TRUE(key.target == target->element()) << "key at " << key.timeMs();
        EXPECT_EQ(submits, 0);
        EXPECT_EQ(h.keysOf(Key::Tab), c.tabKeys);
        EXPECT_EQ(h.keysOf(Key::Return), c.returnKeys);
        const TypingEngine::LeftOut &left = h.engine.lastLeftOut();
        EXPECT_EQ(left.tabs, c.tabs);
        EXPECT_EQ(left.returns, c.returns);
        EXPECT_EQ(left.tabsWhy, c.tabsWhy);
        EXPECT_EQ(left.returnsWhy, c.returnsWhy);
        // The end compares with the text as it could be typed: nothing to
        // repair (a repair would press Tab or Return again).
        EXPECT_EQ(h.engine.lastIntendedText(), c.expected);
        EXPECT_EQ(h.phases, (QStringList{"typing", "editing", "done"}));
    }
}

// A Tab that moved the focus where the focus cannot be written back: the
// run pauses until the user clicks the field again and only then goes on,
// in that field.
TEST(KeyGate, AFieldThatDoesNotTakeTheFocusBackWaitsForTheUser)
{
    GatedRun h;
    h.field.setTabBehaviour(qv::sim::TabBehaviour::MoveFocus);
    h.field.setFocusable(true);
    auto &next = h.window.addTextField({20, 550, 300, 30}, "next field");
    next.setFocusable(true);
    h.field.quirks().focusWritesIgnored = true;
    auto a = h.args("one\ttwo", false);
    a.onPhase = [&](RunPhase p) {
        h.phases.append(phaseName(p));
        if (p == RunPhase::Paused)
            h.sim.after(3000).clickInto(h.field);
    };
    TypingRun r(h.engine, a);
    h.run(r);
    EXPECT_EQ(h.field.text(), "onetwo");
    EXPECT_EQ(next.text(), "next field");
    EXPECT_EQ(h.phases, (QStringList{"typing", "paused", "typing", "editing", "done"}));
    EXPECT_EQ(h.engine.lastLeftOut().tabs, 1);
}

// The same wait ended by a click into another text box of the same
// application: typing goes on there, and the run, its text split between
// two boxes, repairs neither and does not claim Done. The box the Tab
// moved to having the focus is no click: the run waits on.
TEST(KeyGate, AClickIntoAnotherBoxOfTheApplicationAfterATabLeftGoesOnThere)
{
    GatedRun h;
    h.field.setTabBehaviour(qv::sim::TabBehaviour::MoveFocus);
    h.field.setFocusable(true);
    h.field.quirks().focusWritesIgnored = true;
    auto &next = h.window.addTextField({20, 550, 300, 30}, "next field");
    next.setFocusable(true);
    auto &notes = h.window.addTextArea({400, 550, 300, 40});
    notes.setFocusable(true);
    bool clicked = false;
    auto a = h.args("one\ttwo three", false);
    a.onPhase = [&](RunPhase p) {
        h.phases.append(phaseName(p));
        if (p == RunPhase::Paused && !clicked) {
            clicked = true;
            h.sim.after(3000).clickInto(notes);
        }
    };
    TypingRun r(h.engine, a);
    h.run(r);
    // (Typos left for a review stay: no review runs on a split text.)
    EXPECT_EQ(h.field.text().size(), 3);
    EXPECT_EQ(next.text(), "next field");
    EXPECT_EQ(notes.text().size(), 9);
    EXPECT_EQ(h.keysTo(h.other.pid()), 0);
    EXPECT_EQ(h.phases, (QStringList{"typing", "paused", "typing", "editing", "unchecked"}));
    EXPECT_TRUE(h.engine.lastUncheckedReason());
}

// A line break a one-line box cannot take becomes one space, so the words
// around it stay apart, and none where a space already stands beside it;
// the end compares with that text.
TEST(KeyGate, ALineBreakLeftOutBecomesOneSpaceUnlessASpaceStandsBesideIt)
{
    struct Case {
        QString text, expected;
        int spaces;
    };
    const Case cases[] = {
        {"The Bridge at Orley\n\nEvery town", "The Bridge at Orley Every town", 1},
        {"itself.\nMy grandmother", "itself. My grandmother", 1},
        {"a space before \nthe break", "a space before the break", 0},
        {"a space after\n the break", "a space after the break", 0},
        {"\nat both ends\n", "at both ends", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        GatedRun h;
        auto &box = h.window.addTextField({20, 5, 300, 30});
        box.focus();
        auto a = h.args(c.text, false);
        a.target = box.element();
        TypingRun r(h.engine, a);
        h.run(r);
        EXPECT_EQ(box.text(), c.expected);
        EXPECT_EQ(h.engine.lastIntendedText(), c.expected);
        EXPECT_EQ(h.engine.lastLeftOut().returnsAsSpaces, c.spaces);
        EXPECT_EQ(h.keysOf(Key::Return), 0);
        EXPECT_EQ(h.phases.last(), "done");
    }
}

// No text input at set-up (the focus on a button): no key goes anywhere
// until the user puts the focus in a text box; the run waits as after a
// focus loss, then types there and checks that box. A stop ends the wait.
TEST(KeyGate, WithNoTextInputAtTheStartNoKeyIsSentUntilOneHasTheFocus)
{
    for (const bool stopWaiting : {false, true}) {
        SCOPED_TRACE(stopWaiting ? "stopped while waiting" : "a click into the text box");
        GatedRun h;
        h.field.setFocusable(true);
        auto &deleteAll = h.window.addButton({20, 550, 100, 30}, "Delete all");
        deleteAll.setFocusable(true);
        deleteAll.focus();
        h.sim.setPointer(QPoint(70, 565)); // over the button: nothing editable there
        if (stopWaiting)
            h.sim.after(6000).run([&] { h.stop = true; });
        else
            h.sim.after(6000).clickInto(h.field);
        auto a = h.args("Short and sweet.", false);
        a.target = deleteAll.element();
        TypingRun r(h.engine, a);
        h.run(r);
        for (const KeyEvent &key : h.sim.log().keys)
            EXPECT_TRUE(key.target == h.field.element()) << "key at " << key.timeMs();
        if (stopWaiting) {
            EXPECT_TRUE(h.sim.log().keys.empty());
            EXPECT_EQ(h.phases, QStringList{"paused"});
            continue;
        }
        EXPECT_EQ(h.field.text(), "Short and sweet.");
        EXPECT_GE(h.sim.log().keys.front().timeMs(), 6000);
        EXPECT_EQ(h.phases, (QStringList{"paused", "typing", "editing", "done"}));
    }
}

// A key held by a stop that came while the gate waited keeps the gate held:
// no later key of the run goes out, also once the run's application is back
// in front and the stop was taken back.
TEST(KeyGate, AGateHeldByAStopStaysHeld)
{
    GatedRun h;
    bool stop = false;
    h.engine.keyGate().begin({h.editor.pid(), [&] { return stop; }, {}, {}, {}});
    h.other.activate();
    h.sim.after(1000).run([&] { stop = true; });
    EXPECT_EQ(qv::test::runTask(h.clock, h.engine.keys().sendKey(QStringLiteral("a"))), KeySent::Held);
    h.editor.activate();
    stop = false;
    EXPECT_EQ(qv::test::runTask(h.clock, h.engine.keys().sendKey(QStringLiteral("b"))), KeySent::Held);
    EXPECT_EQ(qv::test::runTask(h.clock, h.engine.keys().sendKey(SpecialKey::Delete)), KeySent::Held);
    EXPECT_TRUE(h.sim.log().keys.empty());
    h.engine.keyGate().end();
}

// A stop while the gate holds a key, another application having come to the
// front as the last keys were on their way: the job's position is what
// landed in the field, not the held key nor one lost to the other
// application.
TEST(KeyGate, AStopWhileTheGateHoldsAKeyCountsOnlyWhatLanded)
{
    for (const double delivery : {0.0, 40.0}) {
        SCOPED_TRACE("keys land after " + std::to_string(delivery) + " ms");
        GatedRun h;
        h.field.focus();
        h.sim.simKeyboard().setDeliveryDelayMs(delivery);
        bool switched = false;
        h.onKey = [&](int done) {
            if (done == 12 && !switched) {
                switched = true;
                h.sim.after(delivery / 2).run([&] { h.other.activate(); });
                h.sim.after(1500).run([&] { h.stop = true; });
            }
        };
        TypingRun r(h.engine, h.args(QStringLiteral("Café at nine — bring the maps."), false));
        h.run(r);
        const int landed = qv::text::graphemeCount(h.field.text());

        ASSERT_TRUE(h.engine.lastStop());
        // The field is the text up to there, with the typos handed on in it.
        QString corrected = h.field.text();
        for (const DeferredError &typo : h.engine.lastStop()->typos)
            corrected.replace(typo.index, typo.wrong.size(), typo.correct);
        EXPECT_TRUE(QStringLiteral("Café at nine — bring the maps.").startsWith(corrected));
        EXPECT_FALSE(h.engine.lastStop()->typos.isEmpty());
        EXPECT_EQ(h.engine.lastStop()->resumeIndex, landed);
        EXPECT_EQ(h.progress.last().first, landed) << "the last progress is the position";
        EXPECT_EQ(landed, delivery > 0 ? 11 : 12);
    }
}
