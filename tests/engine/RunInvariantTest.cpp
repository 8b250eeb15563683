// The invariant of the whole run: after every edit the field holds the text
// that was before the insertion point, then the typed buffer, then the text
// that was after it. Checked at every key of the text over many seeds, and
// with stops at every key of the run's corrections, retypes and repairs.
// A run that reaches its end leaves the intended text in place of the
// buffer, the caret after it, the user's clipboard and the text around it
// untouched; a run stopped in its repairs leaves no half-done edit.

#include "engine/BufferEdits.h"

#include "RunHarness.h"

#include "core/Text.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <algorithm>
#include <optional>
#include <set>

using namespace qv::engine;
using qv::platform::Key;
using qv::test::RunHarness;

namespace {

// About 330 words: swappable and filler words, dialogue, numbers, a dash,
// accents, an emoji, tabs, blank lines and a heading.
QString invariantText()
{
    const QString paragraph = QString::fromUtf8(
        "It was a good day and a bad night, but the small café on the corner was really busy. "
        "\"Is it important?\" she asked — and he said it was interesting, very big, and just fine. "
        "We paid 3.50 for two coffees 👍🏽 and walked home\tslowly, talking about naïve plans.\n");
    QString text = QStringLiteral("NOTES:\n");
    for (int i = 0; i < 10; ++i)
        text += paragraph + (i % 3 == 2 ? "\n" : "");
    return text;
}

struct Outcome {
    bool ok = true;
    QString failure;
    int keyEvents = 0;
    int keysAtEditing = -1;                 // key events sent before the hand-off to the repair
    QList<std::pair<int, int>> editWindows; // key event ranges of deletions and retypes
};

// One run; `stopAtKeyEvent` < 0 runs to the end.
Outcome runOnce(quint64 seed, bool humanize, bool surrounded, int stopAtKeyEvent,
                const QString &review = QStringLiteral("heavy"))
{
    Outcome out;
    RunHarness h;
    const QString before = surrounded ? QString::fromUtf8("Dear Sir 😀, ") : QString();
    const QString after = surrounded ? QStringLiteral(" Yours truly,\nAnn") : QString();
    h.field.setText(before + after);
    h.field.setCaret(before.size());
    const QList<qv::platform::TypedData> clipboard = {
        {{"text/plain", QByteArray("user text")}, {"text/html", QByteArray("<i>user</i>")}}};
    h.sim.userSetPasteboardItems(clipboard);
    qv::SeededRandom random(seed);
    TypingEngine engine(h.sim, h.clock, random);
    auto a = h.args(invariantText(), humanize, 90);
    a.review = review;
    if (stopAtKeyEvent >= 0)
        a.stopFlag = [&h, stopAtKeyEvent] { return int(h.sim.log().keys.size()) >= stopAtKeyEvent; };
    // What the run hands to its repair, taken when it reports "editing".
    std::optional<RunState> handedOver;
    TypingRun *current = nullptr;
    a.onPhase = [&](RunPhase p) {
        h.phases.append(phaseName(p));
        if (p == RunPhase::Editing && !handedOver) {
            handedOver = current->state();
            out.keysAtEditing = int(h.sim.log().keys.size());
        }
    };
    TypingRun run(engine, a);
    current = &run;

    auto fail = [&out](const QString &why) {
        if (out.ok) {
            out.ok = false;
            out.failure = why;
        }
    };
    // While typing: the field is the buffer between the old text, and every
    // typo left for later still stands where the buffer says.
    auto check = [&](const char *where) {
        const RunState &s = run.state();
        if (h.field.text() != before + s.buffer + after)
            fail(QStringLiteral("%1: field \"%2\" buffer \"%3\"").arg(where, h.field.text(), s.buffer));
        for (const DeferredError &e : s.deferredErrors)
            if (s.buffer.mid(e.index, e.wrong.size()) != e.wrong)
                fail(QStringLiteral("%1: typo at %2 lost").arg(where).arg(e.index));
    };
    h.onKey = [&](int) { check("key"); };
    h.run(run);
    if (stopAtKeyEvent < 0 && h.phases.value(h.phases.size() - 1) != "done")
        fail("not done: " + h.phases.join(' '));
    if (!handedOver) {
        check("stopped while typing");
    } else if (!h.phases.isEmpty() && h.phases.last() == "done") {
        // The repairs made the field hold the intended text, and only in
        // the run's own stretch.
        if (h.field.text() != before + engine.lastIntendedText() + after)
            fail(QStringLiteral("done: field \"%1\" intended \"%2\"").arg(h.field.text(), engine.lastIntendedText()));
        const QString intended = engine.lastIntendedText();
        if (!humanize && intended != invariantText())
            fail(QStringLiteral("humanize off intended \"%1\"").arg(intended));
        // Rewordings may change words, never the shape of the text.
        if (intended.count('\n') != invariantText().count('\n') || !intended.startsWith("NOTES:\n"))
            fail(QStringLiteral("shape of intended \"%1\"").arg(intended));
        if (h.phases.count("editing") != 1)
            fail("phases " + h.phases.join(' '));
        if (h.field.selection() != qv::platform::TextRange{before.size() + intended.size(), 0})
            fail(QStringLiteral("caret not at the end of the run"));
        if (h.sim.simPasteboard().peekItems() != clipboard)
            fail(QStringLiteral("the user's clipboard changed"));
        for (const auto &k : h.sim.log().keys)
            if (k.pid != h.editor.pid())
                fail(QStringLiteral("a key reached pid %1").arg(k.pid));
    } else if (h.field.text() != before + run.state().buffer + after) {
        // Stopped during a repair: every edit begun was finished, so the
        // field is what the repair last made of it.
        fail(QStringLiteral("stopped in repair: field \"%1\" buffer \"%2\"").arg(h.field.text(), run.state().buffer));
    }

    const auto &keys = h.sim.log().keys;
    out.keyEvents = int(keys.size());
    for (int i = 0; i < out.keyEvents; ++i) {
        if (keys[i].kind != qv::sim::KeyEvent::Kind::Key || keys[i].key != Key::Backspace)
            continue;
        int end = i;
        while (end + 1 < out.keyEvents
               && !(keys[end + 1].kind == qv::sim::KeyEvent::Kind::Grapheme
                    && keys[end + 1].timeNs - keys[end].timeNs > qint64(75e6)))
            ++end;
        // Single Backspaces take back corrected wrong keys and bounces; the
        // longer runs are the retypes and rewrites.
        if (end - i >= 2)
            out.editWindows.append({i, end + 1});
        i = end;
    }
    if (!humanize && out.ok) {
        // Without humanize the buffer is the text so far, typos aside: the
        // resume position never runs ahead of what stands in the field.
        const RunState &s = handedOver ? *handedOver : run.state();
        const QString typed = applyDeferredErrors(s.buffer, s.deferredErrors);
        const QString text = invariantText();
        const int done = h.progress.isEmpty() ? 0 : h.progress.last().first;
        if (typed != text.left(qv::text::offsetOfGrapheme(text, done))) {
            out.ok = false;
            out.failure = "humanize off typed \"" + typed + "\"";
        }
    }
    return out;
}

} // namespace

TEST(RunInvariant, FieldEqualsBeforeBufferAfterAtEveryKeyOverManySeeds)
{
    // Every review level; at the end the field holds the intended text in
    // the run's own stretch, the caret after it, the user's clipboard as it
    // was, and no key went elsewhere.
    const QStringList reviews = {"light", "medium", "heavy"};
    for (quint64 seed = 1; seed <= 12; ++seed)
        for (bool humanize : {true, false})
            for (bool surrounded : {false, true}) {
                const QString review = reviews.at(int(seed % 3));
                const Outcome o = runOnce(seed, humanize, surrounded, -1, review);
                EXPECT_TRUE(o.ok) << "seed " << seed << " " << review.toStdString() << " humanize " << humanize
                                  << " surrounded " << surrounded << ": " << o.failure.toStdString();
            }
}

TEST(RunInvariant, StopsAtEveryKeyOfTheCorrectionsLoseNothing)
{
    const struct {
        quint64 seed;
        bool humanize;
        bool surrounded;
    } runs[] = {{3, true, false}, {8, true, true}, {5, false, false}};
    for (const auto &[seed, humanize, surrounded] : runs) {
        const Outcome full = runOnce(seed, humanize, surrounded, -1);
        ASSERT_TRUE(full.ok);
        ASSERT_FALSE(full.editWindows.isEmpty());
        // Every key of the run's long retypes and rewrites, and of the first
        // few four-letter retypes.
        ASSERT_GT(full.keysAtEditing, 0);
        std::set<int> points;
        int shortWindows = 0;
        for (const auto &[from, to] : full.editWindows) {
            if (from >= full.keysAtEditing || (to - from < 10 && ++shortWindows > 3))
                continue;
            for (int k = from; k <= to + 1; ++k)
                points.insert(k);
        }
        // And a spread over the typing and, more densely, over its repairs
        // (which are mostly caret steps; their own stops are swept in the
        // review's tests).
        for (int k = 0; k < full.keysAtEditing; k += 197)
            points.insert(k);
        const int repairKeys = full.keyEvents - full.keysAtEditing;
        for (int k = full.keysAtEditing; k <= full.keyEvents; k += std::max(repairKeys / 60, 1))
            points.insert(k);
        EXPECT_GE(full.editWindows.size(), humanize ? 4 : 1);
        for (int k : points) {
            const Outcome o = runOnce(seed, humanize, surrounded, k);
            ASSERT_TRUE(o.ok) << "seed " << seed << " stop at key event " << k << ": " << o.failure.toStdString();
        }
    }
}
