// Whole typing runs of the engine on the real desktop: the real Linux
// backend, real GTK 3 and Qt 6 text boxes, the real clipboard and window
// manager. Each target program reports its own text, which must equal what
// the run meant to leave there, byte for byte.
#include "EngineRunFixture.h"

namespace qv::e2e {
namespace {

using platform::TextRange;
using Kind = TargetApp::Kind;

// Two paragraphs with accents, an em dash, curly quotes, a combining mark
// and emoji: a skin tone, a ZWJ family and a flag.
const QString kText = QStringLiteral("Café owners in Zoë’s town say “déjà vu” — naïve tourists order crème brûlée. "
                                     "A family 👨‍👩‍👧 waves a flag 🇫🇷 and smiles 😀.\n\n"
                                     "Second paragraph: the e\u0301clair is “bien sûr” 👍🏽 Ærø’s best.");
// Long enough for a run that is interrupted or checked mid-way.
const QString kShort = QStringLiteral("Typing goes on — “paused” by naïve clicks, then resumed 🇫🇷 with a family "
                                      "👨‍👩‍👧 and a smile at the end.");

// --- Whole runs into an empty field, humanize off and on.

struct TypingCase {
    Kind kind;
    bool humanize;
};

class EngineTyping : public EngineRunTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(EngineTyping, LeavesTheIntendedUnicodeTextByteForByte)
{
    const TypingCase c = GetParam();
    auto target = startTarget(c.kind);
    const Element view = focusView(*target);
    ASSERT_TRUE(view);

    const RunResult r = type({.text = kText, .humanize = c.humanize, .target = view, .seed = 20261206});
    ASSERT_TRUE(r.finished) << "the run did not end within " << RunOptions{}.limitMs << " ms";
    expectPlainPhases(r);
    const int total = text::graphemeCount(kText);
    EXPECT_EQ(r.lastDone, total);
    EXPECT_EQ(r.total, total);
    EXPECT_TRUE(
        r.debug.contains(QStringLiteral("start: total=%1 startIndex=0 ownsWholeField=true confirmedEditable=true "
                                        "allowDeferred=true clipboard=true")
                             .arg(total)));

    if (!c.humanize) {
        EXPECT_EQ(r.intended.toStdString(), kText.toStdString());
    }
    ASSERT_FALSE(r.intended.isEmpty());
    expectViewHolds(*target, r.intended);
    // The accessibility view of the field agrees with the program's own.
    EXPECT_EQ(ax().read(view, Attribute::Value), QVariant(r.intended));
}

INSTANTIATE_TEST_SUITE_P(Toolkits, EngineTyping,
                         ::testing::Values(TypingCase{Kind::Gtk, false}, TypingCase{Kind::Gtk, true},
                                           TypingCase{Kind::Qt, false}, TypingCase{Kind::Qt, true}),
                         [](const auto &info) {
                             return std::string(kindName(info.param.kind))
                                    + (info.param.humanize ? "Humanized" : "Plain");
                         });

// --- Caret moves by arrow keys: the review's typo fixes press Delete and
// read and write the caret right after them, so a move has to have landed
// when it returns.

class EngineCaretMove : public EngineRunTest, public ::testing::WithParamInterface<Kind> {};

TEST_P(EngineCaretMove, ACaretMoveHasLandedWhenItReturns)
{
    auto target = startTarget(GetParam());
    ASSERT_TRUE(target->set(QStringLiteral("view"), kText));
    const Element view = focusView(*target);
    ASSERT_TRUE(view);
    ASSERT_TRUE(writeRange(view, {kText.size(), 0}));
    SeededRandom random(1);
    TypingEngine engine(*platform, *brisk, random);
    // Into the first sentence and back to the end, as a typo fix goes.
    const qint64 goal = kText.indexOf(QStringLiteral("tourists"));
    ASSERT_TRUE(runReal(engine.elements().moveCursor(goal, kText, view, {})));
    EXPECT_EQ(engine.elements().caretPosition(view), goal);
    ASSERT_TRUE(runReal(engine.elements().moveCursor(kText.size(), kText, view, {})));
    EXPECT_EQ(engine.elements().caretPosition(view), kText.size());
    // Once the keys have landed the caret is where the moves meant it to be.
    pump(300);
    EXPECT_EQ(engine.elements().caretPosition(view), kText.size());
}

INSTANTIATE_TEST_SUITE_P(Toolkits, EngineCaretMove, ::testing::Values(Kind::Gtk, Kind::Qt), toolkitName);

// --- Another window in front: the run holds its keys until it comes back.

TEST_F(EngineRunTest, SwitchingToAnotherWindowPausesAndReturningResumes)
{
    auto other = startTarget(Kind::Gtk);
    ASSERT_TRUE(focusView(*other));
    auto target = startTarget(Kind::Qt);
    const Element view = focusView(*target);
    ASSERT_TRUE(view);

    constexpr int kSwitchAt = 30;
    bool switched = false;
    bool paused = false;
    bool resumed = false;
    std::optional<QString> atPause;
    std::optional<QString> laterInPause;
    std::optional<QString> otherInPause;
    RunOptions options{.text = kShort, .target = view, .seed = 7};
    // Right after a key, between two steps of the run: the other window is
    // in front before the run takes its next step.
    options.onProgress = [&](int done) {
        if (done == kSwitchAt && !switched)
            switched = bringToFront(*other);
    };
    options.onPhase = [&](const QString &phase) {
        if (phase != QLatin1String("paused") || paused)
            return;
        paused = true;
        // The key sent right before the switch may still be on its way to
        // the target: what it holds a moment later is what was typed.
        QTimer::singleShot(300, [&] { atPause = target->dump(QStringLiteral("view")); });
        QTimer::singleShot(1800, [&] {
            laterInPause = target->dump(QStringLiteral("view"));
            otherInPause = other->dump(QStringLiteral("view"));
            resumed = true;
            bringToFront(*target);
        });
    };
    const RunResult r = type(options);
    ASSERT_TRUE(r.finished);
    ASSERT_TRUE(switched) << "the other window never came to the front";
    ASSERT_TRUE(resumed) << "the run never paused: " << phasesText(r.phases).toStdString();

    EXPECT_EQ(r.phases, (QStringList{QStringLiteral("typing"), QStringLiteral("paused"), QStringLiteral("typing"),
                                     QStringLiteral("editing"), QStringLiteral("done")}))
        << phasesText(r.phases).toStdString();
    // Paused right after the key typed before the switch (a typo left for
    // the review may stand in it), and nothing typed while the other window
    // was in front, there or here.
    ASSERT_TRUE(atPause.has_value());
    EXPECT_EQ(text::graphemeCount(*atPause), kSwitchAt) << atPause->toStdString();
    EXPECT_EQ(laterInPause, atPause);
    EXPECT_EQ(otherInPause, QString());
    EXPECT_EQ(r.intended, kShort);
    EXPECT_EQ(settledDump(*target, QStringLiteral("view"), kShort), kShort);
    EXPECT_EQ(other->dump(QStringLiteral("view")), QString());
}

// --- A field that accessibility cannot read: the run reads it by copying.

class EngineClipboardRead : public EngineRunTest, public ::testing::WithParamInterface<Kind> {};

TEST_P(EngineClipboardRead, ReadsTheFieldByCopyingAndRestoresTheUsersClipboard)
{
    // The user's clipboard: several types, owned by another program.
    auto owner = startTarget(Kind::Gtk);
    ASSERT_EQ(owner->command(QStringLiteral("clip")), QStringLiteral("ok"));
    ASSERT_TRUE(waitUntil([&] { return platform->pasteboard().plainText() == QStringLiteral("clip text ✓"); }, 3000));
    std::unique_ptr<TargetApp> separate;
    if (GetParam() == Kind::Qt)
        separate = startTarget(Kind::Qt);
    TargetApp &target = separate ? *separate : *owner;
    const Element view = focusView(target);
    ASSERT_TRUE(view);

    // With humanize a typo is left for the end, so the copied text differs
    // from the intended one and the repair works through the clipboard too.
    const RunResult r = type(
        {.text = kShort, .humanize = true, .target = view, .seed = 99, .unreadablePid = target.pid()});
    ASSERT_TRUE(r.finished);
    expectPlainPhases(r);
    EXPECT_GT(r.refusedReads, 0);
    EXPECT_TRUE(r.debugHas(QStringLiteral("endReview: AX read failed, clipboard len="))) << "the field was not copied";
    // Typos left for the end make the copy differ from the intended text:
    // the field is then put right by keys and checked by copying it again.
    if (r.debugHas(QStringLiteral("typo deferred"))) {
        EXPECT_TRUE(r.debugHas(QStringLiteral("tailFix: verified"))
                    || r.debugHas(QStringLiteral("replaceAll: verified")));
    }
    ASSERT_FALSE(r.intended.isEmpty());
    expectViewHolds(target, r.intended);

    // Every type of the user's clipboard is back, for us and for others.
    EXPECT_EQ(platform->pasteboard().plainText(), QStringLiteral("clip text ✓"));
    expectTargetsClipboard(*owner);
}

INSTANTIATE_TEST_SUITE_P(Toolkits, EngineClipboardRead, ::testing::Values(Kind::Gtk, Kind::Qt), toolkitName);

// --- A field that already held text: only the typed segment is checked.

class EngineSegment : public EngineRunTest, public ::testing::WithParamInterface<Kind> {};

TEST_P(EngineSegment, KeepsTheTextAroundAndRepairsOnlyTheTypedSegment)
{
    auto target = startTarget(GetParam());
    const QString prefix = QStringLiteral("Already here: “keep” 👨‍👩‍👧 e\u0301 🇫🇷 — ");
    const QString suffix = QStringLiteral(" …and after it.");
    ASSERT_TRUE(target->set(QStringLiteral("view"), prefix + suffix));
    const Element view = focusView(*target);
    ASSERT_TRUE(view);
    // The caret between the two, as a click would leave it.
    ASSERT_TRUE(writeRange(view, {prefix.size(), 0}));

    // When the review begins, the application changes a letter inside the
    // typed segment and one after it (as an autocorrection might): the
    // segment is put right, the text after it is not the run's to touch.
    const qsizetype wrongAt = kShort.indexOf(QStringLiteral("clicks"));
    ASSERT_GT(wrongAt, 0);
    QString segment = kShort;
    segment[wrongAt] = QLatin1Char('k');
    QString changedSuffix = suffix;
    changedSuffix.replace(QStringLiteral("after"), QStringLiteral("afker"));
    bool changed = false;
    RunOptions options{.text = kShort, .target = view, .seed = 3};
    options.onPhase = [&](const QString &phase) {
        if (phase == QLatin1String("editing"))
            changed = target->set(QStringLiteral("view"), prefix + segment + changedSuffix);
    };
    const RunResult r = type(options);
    ASSERT_TRUE(r.finished);
    expectPlainPhases(r);
    EXPECT_TRUE(changed);
    EXPECT_EQ(r.intended, kShort);
    EXPECT_TRUE(r.debug.contains(QStringLiteral("start: total=%1 startIndex=0 ownsWholeField=false "
                                                "confirmedEditable=true allowDeferred=false clipboard=true")
                                     .arg(text::graphemeCount(kShort))));
    EXPECT_TRUE(r.debug.contains(QStringLiteral("finalizeInsertedSegment: insertionStart=%1 typedLen=%2 targetLen=%3")
                                     .arg(prefix.size())
                                     .arg(kShort.size())
                                     .arg(text::graphemeCount(kShort))));
    expectViewHolds(*target, prefix + kShort + changedSuffix);
}

INSTANTIATE_TEST_SUITE_P(Toolkits, EngineSegment, ::testing::Values(Kind::Gtk, Kind::Qt), toolkitName);

// --- Chromium miscounts the selection it reports after astral characters.
// The heavy review selects the tail it retypes and the sentences it
// rewrites, all after the emoji here, and fixes a typo left there.

TEST_F(EngineRunTest, ChromiumReviewSelectsAndFixesAfterEmojiAndEndsExact)
{
    const QString emoji = QStringLiteral(
        "Flags 🇫🇷🇯🇵 wave, a family 👨‍👩‍👧 smiles and a thumb 👍🏽 rises 😀. ");
    const QString text =
        emoji
        + QStringLiteral("The market opens early on Saturday and the baker sells warm bread before the sun is up. "
                         "Children carry baskets of apples while their parents argue about the price of cheese. "
                         "By noon the square is quiet again, and the pigeons return to the fountain to rest. "
                         "Everyone agrees that the best hour is the first one, when the stalls still smell of rain.");
    auto page = startTarget(Kind::Chromium);
    const Element view = focusView(*page);
    ASSERT_TRUE(view);

    const RunResult r = type({.text = text,
                              .humanize = true,
                              .review = QStringLiteral("heavy"),
                              .target = view,
                              .seed = 20261211,
                              .limitMs = 240000});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.phases.last(), QStringLiteral("done")) << phasesText(r.phases).toStdString();
    bool typoAfterEmoji = false;
    const QString deferred = QStringLiteral("typo deferred idx=");
    for (const QString &line : r.debug)
        if (line.startsWith(deferred)
            && line.mid(deferred.size()).section(QLatin1Char(' '), 0, 0).toInt() > emoji.size())
            typoAfterEmoji = true;
    EXPECT_TRUE(typoAfterEmoji) << "no typo was left for the review after the emoji";
    EXPECT_TRUE(r.debugHas(QStringLiteral("retypeTail: count="))) << "the tail was not selected and retyped";
    for (const QString &failed :
         {QStringLiteral("rewrite: selection"), QStringLiteral("retypeTail: skipped"),
          QStringLiteral("retypeTail: selection"), QStringLiteral("endReview: caret not at fix"),
          QStringLiteral("endReview: fix failed")})
        EXPECT_FALSE(r.debugHas(failed)) << failed.toStdString();
    ASSERT_FALSE(r.intended.isEmpty());
    expectViewHolds(*page, r.intended);
}

} // namespace
} // namespace qv::e2e
