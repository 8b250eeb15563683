// The engine's desktop-facing parts against the simulated desktop: what
// lands in real-behaving text boxes and on the clipboard.

#include "engine/FocusMonitor.h"
#include "engine/PasteboardSnapshot.h"

#include "RunHarness.h"

#include <set>

using namespace qv::engine;
using qv::platform::TypedData;
using qv::sim::BackspaceUnit;
using qv::sim::SimElement;
using qv::test::runTask;

namespace {
struct OnSim : qv::test::EngineRun {
    OnSim() : EngineRun(7) {}
};
} // namespace

TEST_F(OnSim, BackspaceRunsDeleteExactlyTheStretchInBothEditorKinds)
{
    const char *stretches[] = {"👍🏽", "🇫🇷🇩🇪", "e\u0301a\u0308", "👨‍👩‍👧", "x"};
    for (const auto unit : {BackspaceUnit::Grapheme, BackspaceUnit::CodePoint}) {
        field.quirks().backspaceUnit = unit;
        for (const char *s : stretches) {
            const QString stretch = QString::fromUtf8(s);
            field.setText("keep " + stretch);
            runTask(clock, engine.keys().backspaceChars(stretch, {}));
            EXPECT_EQ(field.text(), "keep ") << s << " unit " << int(unit);
        }
    }
}

TEST_F(OnSim, TailRewritesKeepTheFieldEqualToTheBuffer)
{
    for (const auto unit : {BackspaceUnit::Grapheme, BackspaceUnit::CodePoint}) {
        field.quirks().backspaceUnit = unit;
        field.setText("Dear ");
        QString buffer;
        QList<DeferredError> errors;
        const QString typed = QString::fromUtf8("Café 🇫🇷 👍🏽 ok");
        runTask(clock, engine.keys().retypeText(typed, {}));
        buffer = typed;
        // Whatever the cut, the field holds what was there before plus the
        // buffer: the user's own text is never deleted.
        for (int cut : {3, 2, 1, 5, 0, 4, 99}) {
            runTask(clock, engine.rewriteTail(cut, QString::fromUtf8("é👍"), buffer, errors, {}));
            ASSERT_EQ(field.text(), "Dear " + buffer) << "cut " << cut << " unit " << int(unit);
        }
        EXPECT_EQ(buffer, QString::fromUtf8("é👍"));
    }
}

TEST_F(OnSim, AStopInAnEditsDeletionPutsTheTextBackAndTheBufferSaysHowMuchCameBack)
{
    // A stop during the Backspaces of an edit ("good plan" to "bad plan")
    // retypes what they deleted. When the user switches to another
    // application meanwhile, the retype is cut short: no key goes there and
    // the buffer keeps exactly what the field holds.
    auto &other = sim.addApp("Other");
    other.addWindow({900, 0, 300, 300}).addTextArea({900, 0, 300, 300}, "their text").focus();
    const QString typed = "We had a good plan";
    std::set<QString> seen;
    for (double away = 0; away < 600; away += 10) {
        editor.activate();
        field.focus();
        field.setText("Dear " + typed);
        sim.log().clear();
        QString buffer = typed;
        QList<DeferredError> errors;
        bool stopped = false;
        // Five characters gone: the stop, and the switch `away` ms later.
        const StopFlag stopFlag = [&] {
            if (!stopped && field.text().size() <= 5 + typed.size() - 5) {
                stopped = true;
                sim.after(away).switchTo(other);
            }
            return stopped;
        };
        engine.keyGate().begin({editor.pid(), stopFlag, {}, {}, {}});
        runTask(clock, engine.replaceTail({9, 4, "bad"}, 9, buffer, errors, stopFlag));
        engine.keyGate().end();
        clock.runUntilIdle();
        SCOPED_TRACE(away);
        ASSERT_TRUE(stopped);
        for (const auto &key : sim.log().keys)
            ASSERT_EQ(key.pid, editor.pid());
        ASSERT_EQ(field.text(), "Dear " + buffer);
        EXPECT_TRUE(typed.startsWith(buffer)) << buffer.toStdString();
        seen.insert(buffer);
    }
    // Cut short at several points, and put back whole when the switch came late.
    EXPECT_GE(seen.size(), 4u);
    EXPECT_TRUE(seen.count(typed));
}

TEST_F(OnSim, CaretMovesLandWhetherWrittenLateOrPressedAsArrows)
{
    // Caret writes applied late; caret writes ignored, so arrows must go,
    // landing at once, after their call as posted events do, or behind a
    // busy application. A move returns once the caret reads the goal, or
    // gives up after a bounded wait and says so.
    const QString text = QString::fromUtf8("a🇫🇷e\u0301b");
    struct Case {
        const char *name;
        double writeDelayMs = 0;
        bool caretWritesIgnored = false;
        double keyDelayMs = 0;
        double arrowCostMs = 0;
    };
    for (const Case &c : {Case{"late writes", 200}, Case{"arrows", 0, true}, Case{"posted arrows", 0, true, 30},
                          Case{"busy with arrows", 0, true, 0, 90}}) {
        field.quirks().writeDelayMs = c.writeDelayMs;
        field.quirks().caretWritesIgnored = c.caretWritesIgnored;
        field.quirks().arrowCostMs = c.arrowCostMs;
        sim.simKeyboard().setDeliveryDelayMs(c.keyDelayMs);
        field.setText(text);
        for (const qint64 goal : {qint64(1), qint64(5), text.size()}) {
            const int arrowsBefore = sim.log().count(qv::platform::Key::Left)
                                     + sim.log().count(qv::platform::Key::Right);
            const auto there = runTask(clock, engine.elements().moveCursor(goal, text, {}, {}));
            EXPECT_EQ(there, std::optional<bool>(true)) << c.name << " " << goal;
            EXPECT_EQ(field.selection(), (qv::platform::TextRange{goal, 0})) << c.name << " " << goal;
            const int arrows = sim.log().count(qv::platform::Key::Left) + sim.log().count(qv::platform::Key::Right);
            EXPECT_EQ(arrows > arrowsBefore, c.caretWritesIgnored) << c.name << " " << goal;
        }
    }
    // Keys far slower than any wait: no arrow moves the caret in time, and
    // no further chunk piles up behind the first.
    sim.simKeyboard().setDeliveryDelayMs(5000);
    field.setSelection({text.size(), 0});
    const int before = sim.log().count(qv::platform::Key::Left);
    const auto there = runTask(clock, engine.elements().moveCursor(1, text, {}, {}));
    EXPECT_EQ(there, std::optional<bool>(false));
    clock.runUntilIdle();
    EXPECT_EQ(sim.log().count(qv::platform::Key::Left) - before, 3);
}

TEST_F(OnSim, WholeFieldReadThroughTheClipboardRestoresIt)
{
    const QList<TypedData> items = {
        {{"text/plain", QByteArray("user text")}, {"text/html", QByteArray("<b>user</b> text\0x", 18)}},
        {{"image/png", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)}, {"text/uri-list", QByteArray("file:///a")}},
    };
    sim.userSetPasteboardItems(items);
    field.setText("field text");
    engine.allowClipboardOps = true;
    const auto read = runTask(clock, engine.readAllTextViaClipboard({}));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->value(), std::optional<QString>("field text"));
    EXPECT_EQ(sim.simPasteboard().peekItems(), items);
    EXPECT_EQ(field.selectedText(), "field text"); // left selected
    EXPECT_EQ(clock.nowMs(), 270);
    EXPECT_EQ(sim.log().count(qv::platform::Shortcut::SelectAll), 1);
    EXPECT_EQ(sim.log().count(qv::platform::Shortcut::Copy), 1);
}

// Another application hands over its clipboard type by type. The snapshot
// is awaited while the loop goes on, and put back exactly; when a type never
// comes, the clipboard is left alone (no key is sent) and the read says which.
TEST_F(OnSim, AnotherOwnersClipboardIsAwaitedThenPutBackOrLeftAloneWhenATypeNeverComes)
{
    const QList<TypedData> items = {{{"text/plain", QByteArray("user text")},
                                     {"text/html", QByteArray("<b>user</b> text")},
                                     {"application/x-office-embed", QByteArray("\0\1office\xff", 9)}}};
    struct Case {
        const char *what;
        QStringList unreadable;
    };
    const QList<Case> cases = {
        {"every type comes", {}},
        {"the office format never comes", {"application/x-office-embed"}},
        {"neither the text nor the html comes", {"text/plain", "text/html"}},
    };
    engine.allowClipboardOps = true;
    QStringList lines;
    engine.debugSink = [&](const QString &line) { lines.append(line); };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        lines.clear();
        clock.advance(TypingEngine::kLateCopyWindowMs);
        sim.userSetPasteboardItems(items);
        sim.simPasteboard().setOwnerReads(60, c.unreadable);
        field.setText("field text");
        const qint64 changes = sim.simPasteboard().peekChangeCount();
        const int copies = sim.log().count(qv::platform::Shortcut::Copy);
        // The loop turns while the owner answers: a timer due meanwhile runs
        // before the copy is sent.
        bool ranDuringSnapshot = false;
        clock.singleShot(100, [&] { ranDuringSnapshot = sim.log().count(qv::platform::Shortcut::Copy) == copies; });

        const auto read = runTask(clock, engine.readAllTextViaClipboard({}));
        ASSERT_TRUE(read);
        EXPECT_TRUE(ranDuringSnapshot);
        EXPECT_EQ(sim.simPasteboard().peekItems(), items);
        if (c.unreadable.isEmpty()) {
            EXPECT_EQ(read->value(), std::optional<QString>("field text"));
            continue;
        }
        EXPECT_EQ(read->outcome, ClipboardRead::Outcome::NotRead);
        EXPECT_EQ(sim.log().count(qv::platform::Shortcut::Copy), copies);
        EXPECT_EQ(sim.simPasteboard().peekChangeCount(), changes);
        ASSERT_EQ(lines.size(), 1);
        for (const QString &type : c.unreadable)
            EXPECT_TRUE(lines.first().contains(type + " (timed out)")) << lines.first().toStdString();
    }
    sim.simPasteboard().setOwnerReads(0);
}

TEST_F(OnSim, ClipboardLevelDataAndAnEmptyClipboardAreRestored)
{
    sim.simPasteboard().setDirectData("text/plain", "direct");
    sim.simPasteboard().setDirectData("application/x-custom", QByteArray("\0\1\2", 3));
    const TypedData direct = sim.simPasteboard().peekDirectData();
    field.setText("abc");
    engine.allowClipboardOps = true;
    runTask(clock, engine.readAllTextViaClipboard({}));
    EXPECT_TRUE(sim.simPasteboard().peekItems().isEmpty());
    EXPECT_EQ(sim.simPasteboard().peekDirectData(), direct);

    sim.simPasteboard().clear();
    const auto read = runTask(clock, engine.readSelectionViaClipboard({}));
    EXPECT_EQ(read->outcome, ClipboardRead::Outcome::Text);
    EXPECT_TRUE(sim.simPasteboard().peekItems().isEmpty());
    EXPECT_TRUE(sim.simPasteboard().peekDirectData().isEmpty());
}

TEST_F(OnSim, ACopyThatChangesNothingIsNeverTakenForTheFieldsText)
{
    sim.userSetPasteboardText("the user's own clipboard");
    field.setText("field text");
    field.quirks().copyCopiesNothing = true;
    engine.allowClipboardOps = true;

    const auto whole = runTask(clock, engine.readAllTextViaClipboard({}));
    EXPECT_EQ(whole->outcome, ClipboardRead::Outcome::Unchanged);
    EXPECT_FALSE(whole->value()); // nothing read, not the user's text

    field.setSelection({0, 5});
    const auto selection = runTask(clock, engine.readSelectionViaClipboard({}));
    // Before a Delete this counts as a mismatch, whatever was expected.
    EXPECT_TRUE(selection->contradicts("field"));
    EXPECT_TRUE(selection->contradicts("the user's own clipboard"));
    EXPECT_EQ(sim.simPasteboard().plainText(), std::optional<QString>("the user's own clipboard"));

    // Once the first copy can no longer land, copies are sent again.
    field.quirks().copyCopiesNothing = false;
    clock.advance(TypingEngine::kLateCopyWindowMs);
    const auto good = runTask(clock, engine.readSelectionViaClipboard({}));
    EXPECT_FALSE(good->contradicts("field"));
    EXPECT_TRUE(good->contradicts("fiel"));
}

TEST_F(OnSim, ClipboardReadsSendNothingWhenStoppedNotAllowedOrInATerminal)
{
    sim.userSetPasteboardText("mine");
    const qint64 count = sim.simPasteboard().peekChangeCount();
    engine.allowClipboardOps = true;
    int stopCalls = 0;
    auto read = runTask(clock, engine.readAllTextViaClipboard([&] {
        ++stopCalls;
        return true;
    }));
    EXPECT_EQ(read->outcome, ClipboardRead::Outcome::NotRead);

    engine.allowClipboardOps = false;
    read = runTask(clock, engine.readSelectionViaClipboard([&] {
        ++stopCalls;
        return false;
    }));
    EXPECT_EQ(read->outcome, ClipboardRead::Outcome::NotRead);
    EXPECT_EQ(stopCalls, 2);

    auto &shell = sim.addApp("Shell");
    SimElement &terminal = shell.addWindow({0, 0, 400, 400}).addTerminal({0, 0, 400, 400}, "$ make");
    terminal.focus();
    shell.activate();
    engine.allowClipboardOps = true;
    read = runTask(clock, engine.readAllTextViaClipboard({}));
    EXPECT_EQ(read->outcome, ClipboardRead::Outcome::NotRead);
    EXPECT_FALSE(engine.clipboardAllowedFor(terminal.element()));
    EXPECT_TRUE(engine.clipboardAllowedFor(field.element()));

    EXPECT_TRUE(sim.log().keys.empty());
    EXPECT_EQ(sim.simPasteboard().peekChangeCount(), count);
    EXPECT_EQ(clock.nowMs(), 0);
}

TEST_F(OnSim, WaitForFocusFindsTheFieldTheUserClicks)
{
    auto &other = sim.addApp("Notes");
    SimElement &notes = other.addWindow({1000, 0, 400, 400}).addTextField({1010, 10, 300, 30});
    SimElement &button = window.addButton({700, 550, 80, 30}, "OK");
    button.setFocusable(true);
    button.focus();
    // The pointer rests outside every window (over the editor's window the
    // search would find its text area).
    sim.setPointer(QPoint(1600, 900));
    sim.at(1000).clickInto(notes);
    const auto found = runTask(clock, engine.elements().waitForTextInputFocus({}, {}, std::nullopt));
    EXPECT_EQ(found, true);
    EXPECT_GE(clock.nowMs(), 1000);
    EXPECT_LT(clock.nowMs(), 1200);
    EXPECT_EQ(engine.elements().focusedElement(), notes.element());
}

TEST_F(OnSim, FocusLookupsUseTheMonitorWhileFresh)
{
    EXPECT_EQ(engine.elements().focusedElement(), field.element());
    FocusMonitor &monitor = engine.elements().focusMonitor();
    EXPECT_EQ(monitor.observedPid(), editor.pid());
    EXPECT_TRUE(monitor.isFresh(editor.pid(), 2.0));

    auto &other = sim.addApp("Notes");
    SimElement &notes = other.addWindow({1000, 0, 400, 400}).addTextField({1010, 10, 300, 30});
    notes.focus();
    other.activate();
    EXPECT_EQ(monitor.observedPid(), other.pid());
    EXPECT_EQ(engine.elements().focusedElement(), notes.element());
}
