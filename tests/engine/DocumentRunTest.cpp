// Runs into document editors on the simulated desktop: a field whose text
// cannot be read whole, a document whose paragraphs are separate objects
// (a selection never spans two), an application that rewrites what is
// typed, and a clipboard read whose copy lands late. Nothing the run did not
// type is ever deleted or duplicated, no key lands after the run, and the
// run says "done" only for a field it read back exact.

#include "engine/CarriedIndent.h"
#include "engine/ExactMatchRepair.h"
#include "engine/FieldCheck.h"

#include "RunHarness.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qv::engine;
using qv::platform::Shortcut;
using qv::sim::ClipboardEvent;
using qv::sim::RangeWrites;

namespace {
// The text a field holds at the start, where the caret stands, and whether
// the run humanizes.
struct FieldCase {
    const char *name;
    QString before;
    qint64 caret;
    bool humanize;
};

const QString kEssay = QStringLiteral(
    "Rivers shape the land slowly. Over many years they carve valleys and carry soil to the sea.\n\n"
    "People settled beside them because water meant crops, travel and trade. Cities grew where rivers met.\n"
    "Today we still depend on them, though we notice them less.");

struct DocumentRun : qv::test::EngineRun {
    DocumentRun() : EngineRun(5) {}
    // The essay typed into the field as the case lays it out, from a clean log.
    TypingRun &runCase(const FieldCase &c)
    {
        phases.clear();
        debug.clear();
        sim.log().clear();
        field.setText(c.before);
        field.setCaret(c.caret);
        return runText(kEssay, c.humanize);
    }
    // Keys that reached the application after `ns`.
    int keysLandedAfter(qint64 ns)
    {
        return int(std::count_if(sim.log().keys.begin(), sim.log().keys.end(),
                                 [ns](const qv::sim::KeyEvent &k) { return k.timeNs > ns; }));
    }
};

} // namespace

TEST_F(DocumentRun, AFieldNotWhollyReadableIsNeverClaimedWipedOrCalledDone)
{
    // The field's value is only the paragraph with the caret; the document
    // around it holds the user's own text.
    const FieldCase cases[] = {
        {"an empty paragraph", QString(), 0, true},
        {"inside the user's paragraph", QStringLiteral("Mine, start. Mine, end."), 13, false},
    };
    field.quirks().textNotWhole = true;
    for (const FieldCase &c : cases) {
        SCOPED_TRACE(c.name);
        TypingRun &r = runCase(c);
        EXPECT_FALSE(r.params().ownsWholeField);
        EXPECT_TRUE(r.state().deferredErrors.isEmpty()) << "no typo is left for a review that cannot read it";
        EXPECT_EQ(field.text(), c.before.left(c.caret) + kEssay + c.before.mid(c.caret))
            << "the user's text is kept and the essay typed once";
        EXPECT_EQ(sim.log().count(Shortcut::SelectAll), 0) << "never a select-all in such a field";
        EXPECT_EQ(phases.last(), "differs") << "it could not be read back";
        ASSERT_TRUE(engine.lastDifference());
        EXPECT_TRUE(engine.lastDifference()->reason.contains("cannot be read whole"));
    }
}

TEST_F(DocumentRun, ADocumentOfParagraphsEndsExactWithNothingDuplicated)
{
    // Selections end at a paragraph's edge, as in a word processor whose
    // paragraphs are separate objects; the document reads as one text.
    field.quirks().rangeWrites = RangeWrites::WithinParagraph;
    const FieldCase cases[] = {
        {"an empty document, typos left for the review", QString(), 0, true},
        {"inside an existing paragraph", QStringLiteral("Title\n\nMy own words. And more.\nLast line."), 21, false},
        {"at the end of the document", QStringLiteral("Title\n\n"), 7, true},
    };
    for (const FieldCase &c : cases) {
        SCOPED_TRACE(c.name);
        runCase(c);
        EXPECT_EQ(field.text(), c.before.left(c.caret) + kEssay + c.before.mid(c.caret));
        EXPECT_EQ(phases.last(), "done");
        EXPECT_EQ(field.selection().length, 0) << "no selection is left behind";
    }
}

TEST_F(DocumentRun, TextTheTargetRewroteEndsInItsOwnOutcomeWithoutALoop)
{
    // The application turns straight quotes into typographic ones as they
    // are typed; retyping them would only have them turned again.
    field.quirks().transform = [](const QString &before, const QString &typed) {
        if (typed != QLatin1String("\""))
            return typed;
        const bool opening = before.isEmpty() || before.back().isSpace();
        return QString(QChar(opening ? 0x201C : 0x201D));
    };
    const QString text = QStringLiteral("She said \"yes\" and left.\n\nThen \"no\" came back.");
    const QString rewritten = QString::fromUtf8("She said “yes” and left.\n\nThen “no” came back.");
    for (const bool humanize : {false, true}) {
        SCOPED_TRACE(humanize ? "humanize" : "plain");
        phases.clear();
        debug.clear();
        sim.log().clear();
        field.setText({});
        runText(text, humanize);
        EXPECT_EQ(field.text(), rewritten) << "nothing lost or duplicated";
        EXPECT_EQ(phases.last(), "differs");
        ASSERT_TRUE(engine.lastDifference());
        EXPECT_TRUE(engine.lastDifference()->reason.contains("rewrote what was typed"));
        EXPECT_LE(sim.log().count(Shortcut::SelectAll), 2) << "no repeated whole-field repairs";
    }
}

TEST_F(DocumentRun, ACodeEditorsCarriedIndentationAndTabsAsSpacesLeaveOnlyWhatWasTyped)
{
    // A code editor: Return carries the line's indentation to the next line,
    // and a tab becomes four spaces (both its own settings, left alone).
    field.quirks().afterInsert = [](qv::sim::EditState &state, const QString &inserted) {
        if (inserted == QLatin1String("\t")) {
            state.text.replace(state.selection.location - 1, 1, QStringLiteral("    "));
            state.selection.location += 3;
            return;
        }
        if (inserted != QLatin1String("\n"))
            return;
        const qsizetype caret = state.selection.location;
        const qsizetype lineStart = state.text.lastIndexOf(QLatin1Char('\n'), caret - 2) + 1;
        qsizetype end = lineStart;
        while (end < caret - 1 && state.text.at(end) == QLatin1Char(' '))
            ++end;
        const QString indent = state.text.mid(lineStart, end - lineStart);
        state.text.insert(caret, indent);
        state.selection = {caret + indent.size(), 0};
    };
    const QString text = QStringLiteral("Title\n\n\tFirst paragraph, opened with a tab.\nIts second line.\n\n"
                                        "\tSecond \"paragraph\".\nThe end.");
    for (const bool humanize : {false, true}) {
        SCOPED_TRACE(humanize ? "humanize" : "plain");
        phases.clear();
        debug.clear();
        field.setText({});
        runText(text, humanize);
        const FieldComparison compared = compareField(field.text(), engine.lastIntendedText());
        EXPECT_EQ(compared.off, 0) << field.text().toStdString();
        EXPECT_EQ(compared.rewritten, 2) << "the two tabs, as spaces";
        EXPECT_EQ(field.text().count(QStringLiteral("    ")), 2) << "no indentation carried to another line";
        EXPECT_EQ(phases.last(), "differs");
        EXPECT_TRUE(engine.lastDifference()->reason.contains("rewrote what was typed"));
    }
}

TEST(FieldCheck, TellsTargetRewritingFromOtherDifferences)
{
    struct Case {
        const char *live;
        const char *intended;
        bool rewritten;
    };
    const Case cases[] = {
        {"He said \"hi\".", "He said \"hi\".", false}, // equal: nothing was rewritten
        {"He said “hi” – it’s late…", "He said \"hi\" - it's late...", true},
        {"A – B", "A -- B", true},
        {"He said “hi”.", "He said \"ho\".", false},
        {"He said \"hi\".\n", "He said \"hi\".", false},
        {"teh", "the", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rewrittenByTarget(QString::fromUtf8(c.live), QString::fromUtf8(c.intended)), c.rewritten) << c.live;
}

TEST(FieldCheck, CountsWhatTheTargetRewroteApartFromWhatIsOff)
{
    using Stretch = FieldComparison::Stretch;
    struct Case {
        const char *what;
        const char *live;
        const char *intended;
        int off;
        int rewritten;
        const char *accepted;
        QList<Stretch> stretches;
    };
    const Case cases[] = {
        {"equal", "a \"b\"\tc", "a \"b\"\tc", 0, 0, "a \"b\"\tc", {}},
        {"quotes, dash, ellipsis", "“hi” – it’s…", "\"hi\" -- it's...", 0, 8, "“hi” – it’s…", {}},
        {"a tab as spaces",
         "    First line.\n        x",
         "\tFirst line.\n\t\tx",
         0,
         3,
         "    First line.\n        x",
         {}},
        {"a capital at a sentence's start", "Done. Then i", "Done. then i", 0, 1, "Done. Then i", {}},
        {"a lone i", "so I said", "so i said", 0, 1, "so I said", {}},
        {"a capital inside a sentence is a typo", "the rIver", "the river", 1, 0, "the river", {{5, 1, "i"}}},
        // A typo between two rewritten quotes is its own small stretch.
        {"a typo among rewrites",
         "“A long way” and a rivre, “far” away and home.",
         "\"A long way\" and a river, \"far\" away and home.",
         1, // a swap counts once
         4,
         "“A long way” and a river, “far” away and home.",
         {{22, 2, "er"}}},
        {"two typos far apart",
         "Tje quiet river ran on past the mill and the bridge and the toqn.",
         "The quiet river ran on past the mill and the bridge and the town.",
         2,
         0,
         "The quiet river ran on past the mill and the bridge and the town.",
         {{1, 1, "h"}, {62, 1, "w"}}},
        {"a word doubled", "the the river", "the river", 4, 0, "the river", {{4, 4, ""}}},
        {"a word lost", "the river", "the quiet river", 6, 0, "the quiet river", {{4, 0, "quiet "}}},
        {"an emoji changed", "care 🌋.", "care 🌊.", 1, 0, "care 🌊.", {{5, 2, QString::fromUtf8("🌊")}}},
    };
    for (const Case &c : cases) {
        const FieldComparison r = compareField(QString::fromUtf8(c.live), QString::fromUtf8(c.intended));
        EXPECT_EQ(r.off, c.off) << c.what;
        EXPECT_EQ(r.rewritten, c.rewritten) << c.what;
        EXPECT_EQ(r.accepted, QString::fromUtf8(c.accepted)) << c.what;
        EXPECT_EQ(r.stretches, c.stretches) << c.what;
        // The field made equal to what is accepted leaves nothing off.
        EXPECT_EQ(compareField(r.accepted, QString::fromUtf8(c.intended)).off, 0) << c.what;
    }
}

TEST_F(DocumentRun, AClipboardReadThatGivesUpLeavesNoKeyOrCopyBehind)
{
    // The application takes its keys two seconds late: the copy has not
    // landed when the read gives up.
    const QString users = QStringLiteral("the user's clipboard");
    sim.simPasteboard().putText(users, ClipboardEvent::Kind::UserChange);
    field.setText(QStringLiteral("Some text"));
    engine.allowClipboardOps = true;
    sim.simKeyboard().setDeliveryDelayMs(2000);

    const auto first = qv::test::runTask(clock, engine.readAllTextViaClipboard({}));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->outcome, ClipboardRead::Outcome::Unchanged);
    EXPECT_TRUE(engine.copyMayLandLate());

    // While it may still land, no further select-all or copy is sent.
    const int shortcuts = int(sim.log().keysOf(qv::sim::KeyEvent::Kind::Shortcut).size());
    const auto second = qv::test::runTask(clock, engine.readSelectionViaClipboard({}));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->outcome, ClipboardRead::Outcome::Withheld);
    EXPECT_TRUE(second->contradicts(QStringLiteral("Some text"))) << "an unconfirmed selection is no evidence";
    EXPECT_EQ(int(sim.log().keysOf(qv::sim::KeyEvent::Kind::Shortcut).size()), shortcuts);

    // The late copy lands; the user's clipboard is put back once it has.
    qv::test::runTask(clock, engine.settleLateCopy(true));
    EXPECT_FALSE(engine.copyMayLandLate());
    EXPECT_EQ(sim.simPasteboard().plainText(), users);
    const qint64 settled = clock.nowNs();
    clock.advance(10000);
    EXPECT_EQ(keysLandedAfter(settled), 0);
    EXPECT_EQ(sim.simPasteboard().plainText(), users);
}

TEST_F(DocumentRun, ARunEndsOnlyOnceTheTargetHasTakenEveryKey)
{
    // Keys land 300 ms after they are sent; the run's end waits for them,
    // so none arrives after the last phase and the field reads exact.
    sim.simKeyboard().setDeliveryDelayMs(300);
    const QString users = QStringLiteral("kept");
    sim.simPasteboard().putText(users, ClipboardEvent::Kind::UserChange);
    qint64 endedNs = 0;
    auto a = args(kEssay, true);
    a.onPhase = [&](RunPhase p) {
        phases.append(phaseName(p));
        endedNs = clock.nowNs();
    };
    run(start(a));
    EXPECT_EQ(phases.last(), "done");
    EXPECT_EQ(field.text(), kEssay);
    EXPECT_EQ(keysLandedAfter(endedNs), 0);
    clock.advance(10000);
    EXPECT_EQ(keysLandedAfter(endedNs), 0);
    EXPECT_EQ(sim.simPasteboard().plainText(), users);
}

TEST(CarriedIndent, TellsWhatTheApplicationAddedAfterALineBreak)
{
    // The field before a Return at `caret`, and after it.
    const struct {
        const char *what;
        const char *before;
        qint64 caret;
        const char *now;
        std::optional<QString> added;
    } cases[] = {
        {"nothing added", "    One.", 8, "    One.\n", std::nullopt},
        {"the line's indentation", "    One.", 8, "    One.\n    ", QStringLiteral("    ")},
        {"a tab, in the middle", "\tOne.Two.", 5, "\tOne.\n\tTwo.", QStringLiteral("\t")},
        {"a letter is no indentation", "One.", 4, "One.\nx", std::nullopt},
        {"the text after changed", "One. Two.", 4, "One\n Two!", std::nullopt},
        {"no line break where the caret was", "One.", 2, "On e.  ", std::nullopt},
        {"a caret past the text", "One.", 9, "One.\n  ", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CarriedIndent::carried(QString::fromUtf8(c.before), c.caret, QString::fromUtf8(c.now)), c.added)
            << c.what;
}

TEST_F(DocumentRun, ACharacterTheFieldDropsAsKeysIsPastedInAndReadBack)
{
    // An editor that takes no character outside the basic plane from a key
    // event; one of them also refuses it pasted.
    const auto astral = [](const QString &s) { return s.size() == 2 && s.at(0).isHighSurrogate(); };
    const QString text = QString::fromUtf8("Tiny test\tcafé — done 😃 here.\nSecond line 🙂.");
    const QList<qv::platform::TypedData> userClipboard = {{{"text/plain", QByteArray("user text")}}};
    const struct {
        const char *name;
        bool pasteTakes;
    } cases[] = {{"paste takes", true}, {"paste refused too", false}};
    for (const auto &c : cases) {
        for (const bool humanize : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (humanize ? " humanize" : " plain"));
            field.quirks().transform = [astral](const QString &, const QString &typed) {
                return astral(typed) ? QString() : typed;
            };
            const bool pasteTakes = c.pasteTakes;
            field.quirks().afterInsert = [astral, pasteTakes](qv::sim::EditState &state, const QString &inserted) {
                if (!pasteTakes && astral(inserted)) {
                    state.selection.location -= inserted.size();
                    state.text.remove(state.selection.location, inserted.size());
                }
            };
            sim.userSetPasteboardItems(userClipboard);
            phases.clear();
            debug.clear();
            sim.log().clear();
            field.setText({});
            runText(text, humanize);
            EXPECT_EQ(sim.simPasteboard().peekItems(), userClipboard) << "the user's clipboard is put back";
            EXPECT_GE(sim.log().count(Shortcut::Paste), 1);
            if (c.pasteTakes) {
                EXPECT_EQ(field.text(), text);
                EXPECT_EQ(phases.last(), "done");
                EXPECT_TRUE(std::any_of(debug.begin(), debug.end(), [](const QString &line) {
                    return line.startsWith("pasteDropped: the field left out");
                }));
            } else {
                QString without = text;
                without.remove(QString::fromUtf8("😃")).remove(QString::fromUtf8("🙂"));
                EXPECT_EQ(field.text(), without) << "nothing else lost or duplicated";
                EXPECT_EQ(phases.last(), "differs") << "a paste that did not land is never done";
                ASSERT_TRUE(engine.lastDifference());
                EXPECT_EQ(engine.lastDifference()->characters, 2);
            }
        }
    }
}

namespace {
// The run of a DocumentRun with its application busy (answering nothing,
// keeping its keys for later) for `busyMs` from the moment the run has
// sent `keys` keys.
struct BusyNearTheEnd : qv::test::EngineRunHarness {
    BusyNearTheEnd(int keys, double busyMs) : EngineRunHarness(5)
    {
        watch = [this, keys, busyMs] {
            if (int(sim.log().keys.size()) < keys) {
                sim.schedule(5, watch);
                return;
            }
            busyFromNs = clock.nowNs();
            editor.setHung(true);
            sim.schedule(busyMs, [this] { editor.setHung(false); });
        };
        sim.schedule(5, watch);
    }
    std::function<void()> watch;
    qint64 busyFromNs = -1;
};
} // namespace

TEST(DocumentRunEnd, AnApplicationBusyWithTheLastKeysIsWaitedForBeforeTheCheck)
{
    const QString users = QStringLiteral("the user's clipboard");
    // The application stops answering while it works off the run's last
    // keys (as a loaded word processor does), for a moment or for longer
    // than a read, a copy and its late landing together; in a field the run
    // owns (the review's keys) and in one with the user's text around the
    // insertion point (the segment check's).
    const struct {
        FieldCase field;
        int keysLeft;
        double busyMs;
    } cases[] = {
        {{"empty", QString(), 0, true}, 1, 2000},
        {{"empty", QString(), 0, true}, 20, 7000},
        {{"the user's text", QStringLiteral("Mine, start. Mine, end."), 13, true}, 1, 7000},
        {{"the user's text", QStringLiteral("Mine, start. Mine, end."), 13, true}, 6, 4000},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.field.name << ", " << c.keysLeft << " keys left, busy " << c.busyMs
                                        << " ms");
        const auto prepare = [&c](qv::test::EngineRunHarness &h) {
            h.field.setText(c.field.before);
            h.field.setCaret(c.field.caret);
        };
        // The same run unhindered, to know when its last keys go out.
        qv::test::EngineRunHarness unhindered(5);
        prepare(unhindered);
        unhindered.run(unhindered.start(unhindered.args(kEssay, c.field.humanize)));
        ASSERT_EQ(unhindered.phases.last(), "done");
        const int keys = int(unhindered.sim.log().keys.size());

        BusyNearTheEnd busy(keys - c.keysLeft, c.busyMs);
        prepare(busy);
        busy.sim.simPasteboard().putText(users, ClipboardEvent::Kind::UserChange);
        busy.run(busy.start(busy.args(kEssay, c.field.humanize)));
        ASSERT_GE(busy.busyFromNs, 0);
        EXPECT_EQ(busy.phases.last(), "done") << busy.debug.join('\n').toStdString();
        EXPECT_EQ(busy.field.text(), unhindered.field.text());
        // Nothing the run sent changes the field after its end.
        const QString atEnd = busy.field.text();
        const auto selection = busy.field.editState().selection;
        busy.clock.advance(20000);
        EXPECT_EQ(busy.field.text(), atEnd);
        EXPECT_EQ(busy.field.editState().selection, selection);
        EXPECT_EQ(busy.sim.simPasteboard().plainText(), users);
    }
}

TEST_F(DocumentRun, ACopyTheApplicationMakesAgainNeverStaysOnTheUsersClipboard)
{
    // The application claims the clipboard once more for a copy, after the
    // read has put the user's clipboard back; the user may copy too.
    const QString users = QStringLiteral("the user's clipboard");
    const QString theirs = QStringLiteral("copied by the user later");
    const struct {
        const char *what;
        double againAfterMs;
        double userCopiesAfterMs; // 0: never
        int refusedWrites;        // of the put-back
        QString expected;
    } cases[] = {
        {"soon after the put-back", 400, 0, 0, users},
        {"near the end of the watch", 2900, 0, 0, users},
        {"the put-back refused", 0, 0, 2, users},
        {"the user's own copy afterwards stays", 0, 500, 0, theirs},
    };
    field.setText(QStringLiteral("Some text"));
    field.setSelection({5, 4});
    engine.allowClipboardOps = true;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        sim.simPasteboard().putText(users, ClipboardEvent::Kind::UserChange);
        field.quirks().copyAgainAfterMs = c.againAfterMs;
        // Refused from the put-back on: the copy is made by the application.
        sim.schedule(100, [&] { sim.simPasteboard().refuseWrites(c.refusedWrites); });
        const auto read = qv::test::runTask(clock, engine.readSelectionViaClipboard({}));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->outcome, ClipboardRead::Outcome::Text);
        EXPECT_EQ(read->text, QStringLiteral("text"));
        if (c.refusedWrites == 0) {
            EXPECT_EQ(sim.simPasteboard().plainText(), users) << "put back at once";
        }
        if (c.userCopiesAfterMs > 0)
            sim.schedule(c.userCopiesAfterMs, [&] { sim.simPasteboard().putText(theirs, ClipboardEvent::Kind::UserChange); });
        // The run's end.
        qv::test::runTask(clock, engine.settleLateCopy(true));
        EXPECT_EQ(sim.simPasteboard().plainText(), c.expected);
        engine.clearRunFields();
        engine.allowClipboardOps = true;
        clock.advance(5000);
        EXPECT_EQ(sim.simPasteboard().plainText(), c.expected);
    }
}

TEST_F(DocumentRun, AWholeTextReplaceIsCheckedOnlyOnceItsKeysHaveLanded)
{
    // The application holds typed characters until no key has come for a
    // while and handles a shortcut at once, ahead of them: a select-all sent
    // right after the text would be typed over.
    const QString live = QStringLiteral("Rivers shape teh land.");
    const QString wanted = QStringLiteral("Rivers shape the land slowly.");
    for (double heldMs : {150.0, 600.0}) {
        SCOPED_TRACE(heldMs);
        field.setText(live);
        field.quirks().typedBufferedMs = heldMs;
        engine.allowClipboardOps = true;
        clock.advance(TypingEngine::kLateCopyWindowMs);
        ExactMatchRepair repair(engine);
        const auto replaced = qv::test::runTask(clock, repair.replaceAllTextViaKeyboard(wanted, {}, live));
        ASSERT_TRUE(replaced);
        EXPECT_TRUE(*replaced);
        clock.advance(5000);
        EXPECT_EQ(field.text(), wanted);
    }
}

TEST_F(DocumentRun, AJoinedEmojiTheFieldTakesApartAsKeysEndsWholeAndDone)
{
    // A word processor that takes the parts of an emoji joined by U+200D as
    // keys of their own, losing or reordering them (pasted, the sequence
    // stays whole), and whose selections end at a paragraph's edge; into an
    // empty document, and into the user's own paragraph, where only the
    // segment is checked at the end.
    field.quirks().rangeWrites = RangeWrites::WithinParagraph;
    const QString text = QString::fromUtf8("Our family 👨‍👩‍👧‍👦 walked by the river.\n\n"
                                           "Then we rested 👍🏽 and the girls 👩‍👩‍👧 fed the ducks.");
    const QList<qv::platform::TypedData> userClipboard = {{{"text/plain", QByteArray("user text")}}};
    const FieldCase places[] = {
        {"an empty document", QString(), 0, false},
        {"inside the user's paragraph", QStringLiteral("Title\n\nMy own words. And more.\nLast line."), 21, false},
    };
    const std::pair<qv::sim::JoinedKeys, const char *> quirks[] = {
        {qv::sim::JoinedKeys::PartsLost, "parts lost, "},
        {qv::sim::JoinedKeys::MovedApart, "moved apart, "},
        {qv::sim::JoinedKeys::AllLost, "all lost, "},
    };
    for (const auto &[keys, what] : quirks) {
        for (const FieldCase &place : places) {
            for (const bool humanize : {false, true}) {
                SCOPED_TRACE(std::string(what) + place.name + (humanize ? ", humanize" : ", plain"));
                field.quirks().joinedKeys = keys;
                sim.userSetPasteboardItems(userClipboard);
                phases.clear();
                debug.clear();
                sim.log().clear();
                field.setText(place.before);
                field.setCaret(place.caret);
                runText(text, humanize);
                EXPECT_EQ(field.text(), place.before.left(place.caret) + text + place.before.mid(place.caret))
                    << "every cluster whole, nothing else lost or doubled";
                EXPECT_EQ(phases.last(), "done");
                EXPECT_GE(sim.log().count(Shortcut::Paste), 2) << "each broken cluster pasted";
                EXPECT_EQ(sim.simPasteboard().peekItems(), userClipboard) << "the user's clipboard is put back";
            }
        }
    }
}

TEST_F(DocumentRun, ABusyCodeEditorsCarriedIndentationIsTakenOutOnceItLandsAlsoOnABlankLine)
{
    // A code editor: Return indents the new line like the nearest line
    // above that holds text, so a blank line after an indented one gets
    // indentation too. A busy one takes its keys late.
    field.quirks().afterInsert = [](qv::sim::EditState &state, const QString &inserted) {
        if (inserted != QLatin1String("\n"))
            return;
        const qsizetype caret = state.selection.location;
        QString indent;
        for (qsizetype lineEnd = caret - 1; lineEnd > 0;) {
            const qsizetype lineStart = state.text.lastIndexOf(QLatin1Char('\n'), lineEnd - 1) + 1;
            const QString line = state.text.mid(lineStart, lineEnd - lineStart);
            if (!line.trimmed().isEmpty()) {
                indent = line.left(line.indexOf(line.trimmed()));
                break;
            }
            lineEnd = lineStart - 1;
        }
        state.text.insert(caret, indent);
        state.selection = {caret + indent.size(), 0};
    };
    const QString text = QStringLiteral(
        "Notes:\n    \"Where two rivers meet, a town begins.\"\n\nThat is all.\nThe end.");
    for (const double delayMs : {0.0, 300.0, 700.0, 1500.0}) {
        SCOPED_TRACE(delayMs);
        sim.simKeyboard().setDeliveryDelayMs(delayMs);
        field.setText({});
        debug.clear();
        qv::test::runTask(clock, engine.keys().retypeText(text, {}));
        clock.advance(5000);
        EXPECT_EQ(field.text(), text) << "no indentation the editor carried is left";
    }
}
