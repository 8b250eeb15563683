// In-flight edits on the simulated desktop: what they wait, delete and type,
// that field and buffer stay equal, and what a stop at any point leaves.

#include "engine/InFlightEdits.h"

#include "RunHarness.h"

#include <functional>
#include <set>

using namespace qv::engine;
using qv::platform::Key;
using qv::test::runTask;

namespace {
struct Edits : ::testing::Test, qv::test::RunHarness {
    qv::SeededRandom fallback{5};
    qv::ScriptedRandom random;
    TypingEngine engine{sim, clock, random};
    QString buffer;
    QList<DeferredError> errors;

    void SetUp() override { random.setFallback(&fallback); }
    // The field holds "Dear " and then what the run typed.
    void typed(const QString &text)
    {
        buffer = text;
        field.setText("Dear " + text);
    }
};
} // namespace

TEST_F(Edits, MicroEditRetypesTheLastWordsWithOneSwapAndExactSpacingOrNothing)
{
    typed("It was one  bad, sad\tday");
    random.ints({3}).reals({1200});
    runTask(clock, InFlightEdits::microEdit(engine, buffer, errors, {}));
    EXPECT_EQ(buffer, "It was one  detrimental, sad\tday");
    EXPECT_EQ(field.text(), "Dear " + buffer);
    // Deleted exactly "bad, sad\tday": no space before the words, none added after.
    EXPECT_EQ(sim.log().count(Key::Backspace), 12);

    // Without words it neither waits nor types.
    sim.log().clear();
    const double t0 = clock.nowMs();
    typed("  ");
    random.ints({4});
    runTask(clock, InFlightEdits::microEdit(engine, buffer, errors, {}));
    EXPECT_EQ(clock.nowMs(), t0);
    EXPECT_TRUE(sim.log().keys.empty());
}

TEST_F(Edits, RethinkRewordsTheSentenceAndRetypesWhatFollowsUnchanged)
{
    typed("Intro.\n This is a really good idea for all of us here. And nore");
    const int typo = int(buffer.indexOf("nore"));
    errors = {{typo, "m", "n"}};
    random.reals({1800});
    runTask(clock, InFlightEdits::rethinkSentence(engine, buffer, errors, {}));
    // (The line feed counts as the first word, so "really" sits at an even place and goes.)
    EXPECT_EQ(buffer, "Intro.\n That tends to be a beneficial idea for all of us here. And nore");
    EXPECT_EQ(field.text(), "Dear " + buffer);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0].index, buffer.indexOf("nore")); // exactly, not a nearby "n"
}

// The filler that ends a sentence stays with its full stop: the sentence the
// run then means to leave is whole.
TEST_F(Edits, RethinkKeepsTheFullStopOfAFillerThatEndsTheSentence)
{
    typed("The essay. This one was not mine, not really. I am");
    random.reals({1800});
    runTask(clock, InFlightEdits::rethinkSentence(engine, buffer, errors, {}));
    EXPECT_EQ(buffer, "The essay. That one was not mine, not really. I am");
    EXPECT_EQ(field.text(), "Dear " + buffer);
}

TEST_F(Edits, RethinkNeedsThirtyOneCharacters)
{
    typed("Go. abcdefghijklmnopqrstuvwxyz12."); // " abc…12." is 30 characters
    runTask(clock, InFlightEdits::rethinkSentence(engine, buffer, errors, {}));
    EXPECT_EQ(clock.nowMs(), 0);
    typed("Go. abcdefghijklmnopqrstuvwxyz123.");
    random.reals({1800});
    runTask(clock, InFlightEdits::rethinkSentence(engine, buffer, errors, {}));
    EXPECT_GE(clock.nowMs(), 1800);
    EXPECT_EQ(field.text(), "Dear " + buffer);
}

TEST_F(Edits, BacktrackOnlyFromTwentySeconds)
{
    typed("one two three four five");
    runTask(clock, InFlightEdits::pauseWithOptionalBacktrack(engine, 19999, buffer, errors, {}));
    EXPECT_EQ(clock.nowMs(), 19999);
    EXPECT_TRUE(sim.log().keys.empty());
    random.ints({3});
    runTask(clock, InFlightEdits::pauseWithOptionalBacktrack(engine, 20000, buffer, errors, {}));
    EXPECT_EQ(sim.log().count(Key::Backspace), 15); // "three four five"
    EXPECT_EQ(buffer, "one two three four five");
    EXPECT_EQ(field.text(), "Dear " + buffer);
}

TEST_F(Edits, RetypesAcrossEmojiInBothEditorKinds)
{
    for (auto unit : {qv::sim::BackspaceUnit::Grapheme, qv::sim::BackspaceUnit::CodePoint}) {
        field.quirks().backspaceUnit = unit;
        typed(QString::fromUtf8("I like good 👍🏽 café 🇫🇷"));
        random.ints({4}).reals({1200});
        runTask(clock, InFlightEdits::microEdit(engine, buffer, errors, {}));
        EXPECT_EQ(buffer, QString::fromUtf8("I like beneficial 👍🏽 café 🇫🇷"));
        EXPECT_EQ(field.text(), "Dear " + buffer);
    }
}

TEST_F(Edits, AStopAtAnyPointLeavesFieldAndBufferEqual)
{
    const QString texts[] = {"We had a good plan", "Go. This plan is very good for all of us here. Then"};
    const QString edited[] = {"We had a beneficial plan",
                              "Go. That plan tends to be very beneficial for all of us here. Then"};
    for (int which = 0; which < 2; ++which) {
        for (int stopAt = 1; stopAt < 120; ++stopAt) {
            typed(texts[which]);
            random = qv::ScriptedRandom();
            random.setFallback(&fallback);
            int calls = 0;
            const StopFlag stop = [&] { return ++calls >= stopAt; };
            if (which == 0) {
                random.ints({6}).reals({1200});
                runTask(clock, InFlightEdits::microEdit(engine, buffer, errors, stop));
            } else {
                random.reals({1800});
                runTask(clock, InFlightEdits::rethinkSentence(engine, buffer, errors, stop));
            }
            ASSERT_EQ(field.text(), "Dear " + buffer) << "stop at call " << stopAt << " edit " << which;
            // Either untouched or wholly made: never half an edit.
            EXPECT_TRUE(buffer == texts[which] || buffer == edited[which]) << buffer.toStdString();
        }
        EXPECT_EQ(buffer, edited[which]); // the last stop came too late to matter
    }
}

TEST_F(Edits, KeysWaitWhileAnotherApplicationIsInFront)
{
    auto &other = sim.addApp("Other");
    other.addWindow({900, 0, 300, 300}).addTextArea({900, 0, 300, 300}, "their text").focus();
    engine.keyGate().begin({editor.pid(), {}, {}, {}, {}});
    typed("We had a good plan");
    sim.at(1300).switchTo(other);
    sim.at(4000).switchTo(editor);
    random.ints({6}).reals({1200});
    runTask(clock, InFlightEdits::microEdit(engine, buffer, errors, {}));
    for (const auto &key : sim.log().keys)
        EXPECT_EQ(key.pid, editor.pid()) << key.timeMs();
    EXPECT_EQ(buffer, "We had a beneficial plan");
    EXPECT_EQ(field.text(), "Dear " + buffer);
    EXPECT_GE(clock.nowMs(), 4000);
}

TEST_F(Edits, AStopWhileAnotherApplicationIsInFrontLeavesTheBufferAsTheFieldIs)
{
    // The user switched away (to stop the run from another window) in the
    // middle of the Backspaces, and later in the middle of the retype: the
    // edit is abandoned, no key reaches the other application, and the
    // buffer says exactly what the field holds.
    auto &other = sim.addApp("Other");
    other.addWindow({900, 0, 300, 300}).addTextArea({900, 0, 300, 300}, "their text").focus();
    std::set<QString> seen;
    for (double away = 1250; away < 4000; away += 40) {
        typed("We had a good plan");
        sim.log().clear();
        random = qv::ScriptedRandom();
        random.setFallback(&fallback);
        random.ints({6}).reals({1200});
        bool stop = false;
        engine.keyGate().begin({editor.pid(), [&] { return stop; }, {}, {}, {}});
        const double at = clock.nowMs() + away;
        sim.at(at).switchTo(other);
        sim.at(at + 500).run([&] { stop = true; });
        runTask(clock, InFlightEdits::microEdit(engine, buffer, errors, [&] { return stop; }));
        for (const auto &key : sim.log().keys)
            ASSERT_EQ(key.pid, editor.pid()) << away;
        ASSERT_EQ(field.text(), "Dear " + buffer) << away;
        EXPECT_TRUE(QString("We had a good plan").startsWith(buffer)
                    || QString("We had a beneficial plan").startsWith(buffer))
            << away << ": " << buffer.toStdString();
        seen.insert(buffer);
        editor.activate();
        field.focus();
    }
    // Abandoned while deleting and while retyping, and finished before.
    EXPECT_GE(seen.size(), 5u);
    EXPECT_TRUE(seen.count("We had a beneficial plan"))
        << QStringList(seen.begin(), seen.end()).join("|").toStdString();
}

// The run's Backspaces reach only its own text: the field of the report,
// the run having typed "the win" after "notes: " (a typo "n" for "d" to take
// back), and the user clicking, selecting or typing meanwhile.
TEST_F(Edits, ACorrectionDeletesOnlyWhatStandsRightBeforeTheCaretAsTheRunTypedIt)
{
    const QString before = QString::fromUtf8("Dear Ann 😀, notes: ");
    const QString after = QString::fromUtf8(" — Yours, Bo 🇫🇷");
    const QString runText = "by the river, said the win";
    struct Case {
        const char *name;
        std::function<void(Edits &)> meanwhile; // before the correction
        QString field;                          // afterwards
    };
    const Case cases[] = {
        {"nobody interferes", {}, before + "by the river, said the wid" + after},
        {"a click into the user's text", [](Edits &e) { e.field.setCaret(3); }, before + runText + after},
        {"the user's text selected",
         [](Edits &e) {
             e.field.setSelection({5, 3});
         },
         before + runText + after},
        {"the user typed behind, the caret in place",
         [&](Edits &e) {
             qv::sim::EditState &edit = e.field.editState();
             edit.text.append("!");
         },
         before + "by the river, said the wid" + after + "!"},
        {"the user typed right at the caret", [](Edits &e) { e.sim.userType(e.field, "n"); },
         before + runText + "n" + after},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        buffer = runText;
        errors.clear();
        field.setText(before + runText + after);
        field.setCaret(before.size() + runText.size());
        engine.ownedTail().begin(field.element(), before, after);
        if (c.meanwhile)
            c.meanwhile(*this);
        const TypingEngine::TailChange fix{int(runText.size()) - 1, 1, "d"};
        runTask(clock, engine.replaceTail(fix, fix.start, buffer, errors, {}));
        EXPECT_EQ(field.text(), c.field);
        engine.ownedTail().end();
    }

    // A click while a longer retype deletes: it stops there, and the buffer
    // keeps what is left of the run's text where it stands.
    buffer = runText;
    field.setText(before + runText + after);
    field.setCaret(before.size() + runText.size());
    engine.ownedTail().begin(field.element(), before, after);
    sim.after(200).run([this] { field.setCaret(3); });
    const TypingEngine::TailChange retype{int(runText.indexOf("said")), 0, {}};
    runTask(clock, engine.replaceTail(retype, retype.start, buffer, errors, {}));
    EXPECT_TRUE(field.text().startsWith(before)) << field.text().toStdString();
    EXPECT_TRUE(field.text().endsWith(after)) << field.text().toStdString();
    EXPECT_EQ(field.text(), before + buffer + after);
    EXPECT_LT(buffer.size(), runText.size());
    EXPECT_TRUE(engine.ownedTail().caretLeft());
    engine.ownedTail().end();
}
