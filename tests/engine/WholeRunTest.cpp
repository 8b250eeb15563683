// Whole typing jobs, from the first key to "done", on the simulated desktop:
// what stands in the field at the end, where the caret is, that the user's
// clipboard and the text around the run's own stretch are untouched, over
// several seeds and every review level.

#include "RunHarness.h"

#include "core/Text.h"

#include <gtest/gtest.h>

using namespace qv::engine;
using qv::test::RunHarness;

namespace {

// About 150 words: swappable and filler words for the rewordings, dialogue,
// numbers, a dash, accents, an emoji and a blank line.
const QString kEssay = QString::fromUtf8(
    "It was a good day and a bad night, but the small café on the corner was really busy. "
    "\"Is it important?\" she asked — and he said it was interesting, very big, and just fine. "
    "We paid 3.50 for two coffees 👍🏽 and walked home slowly, talking about naïve plans.\n\n"
    "The next morning was quiet. Basically, nobody wanted to talk about the big plan, so we "
    "made a small list instead. It had four items and one of them was important. "
    "In the end we think it was a good idea, and the people who helped us were happy.");

struct Outcome {
    QString before;
    QString after;
    QString field;
    QString intended;
    QStringList phases;
    bool caretAtEndOfRun = false;
    bool clipboardKept = false;
    bool keysOnlyInEditor = false;
};

Outcome runJob(quint64 seed, const QString &review, bool humanize, const QString &before = {},
               const QString &after = {})
{
    RunHarness h;
    h.field.setText(before + after);
    h.field.setCaret(before.size());
    const QList<qv::platform::TypedData> clipboard = {
        {{"text/plain", QByteArray("user text")}, {"text/html", QByteArray("<i>user</i>")}}};
    h.sim.userSetPasteboardItems(clipboard);
    qv::SeededRandom random(seed);
    TypingEngine engine(h.sim, h.clock, random);
    auto a = h.args(kEssay, humanize, 90);
    a.review = review;
    TypingRun run(engine, a);
    h.run(run);

    Outcome o;
    o.before = before;
    o.after = after;
    o.field = h.field.text();
    o.intended = engine.lastIntendedText();
    o.phases = h.phases;
    o.caretAtEndOfRun = h.field.selection() == qv::platform::TextRange{before.size() + o.intended.size(), 0};
    o.clipboardKept = h.sim.simPasteboard().peekItems() == clipboard;
    o.keysOnlyInEditor = true;
    for (const auto &k : h.sim.log().keys)
        o.keysOnlyInEditor = o.keysOnlyInEditor && k.pid == h.editor.pid();
    return o;
}

std::string where(quint64 seed, const QString &review) { return "seed " + std::to_string(seed) + " " + review.toStdString(); }

void expectCleanEnd(const Outcome &o, const std::string &at)
{
    EXPECT_EQ(o.field, o.before + o.intended + o.after) << at;
    EXPECT_EQ(o.phases.last(), "done") << at;
    EXPECT_EQ(o.phases.count("editing"), 1) << at;
    EXPECT_TRUE(o.caretAtEndOfRun) << at;
    EXPECT_TRUE(o.clipboardKept) << at;
    EXPECT_TRUE(o.keysOnlyInEditor) << at;
}

const QStringList kReviews = {"light", "medium", "heavy"};

} // namespace

TEST(WholeRun, EveryReviewLeavesTheIntendedTextAndOnlyTheRunsOwnStretchChanges)
{
    const QString before = QString::fromUtf8("Dear Sir 😀, ");
    const QString after = QStringLiteral(" Yours truly,\nAnn");
    for (const bool surrounded : {false, true})
        for (quint64 seed : {1, 2, 3, 4})
            for (const QString &review : kReviews)
                for (const bool humanize : {false, true}) {
                    if (surrounded && seed > 2)
                        continue;
                    const Outcome o = surrounded ? runJob(seed, review, humanize, before, after)
                                                 : runJob(seed, review, humanize);
                    const std::string at = where(seed, review) + (humanize ? " humanize" : "")
                                           + (surrounded ? " surrounded" : "");
                    expectCleanEnd(o, at);
                    if (!humanize) {
                        EXPECT_EQ(o.intended, kEssay) << at;
                    }
                    // Rewordings may change words, never the shape of the essay.
                    EXPECT_EQ(o.intended.count('\n'), 2) << at;
                    EXPECT_TRUE(o.intended.startsWith("It ")) << at;
                }
}

TEST(WholeRun, WindowsLineBreaksEndEqualToTheTextWithLineFeeds)
{
    QString crlf = kEssay;
    crlf.replace("\n", "\r\n");
    RunHarness h;
    qv::SeededRandom random(5);
    TypingEngine engine(h.sim, h.clock, random);
    TypingRun run(engine, h.args(crlf, false, 90));
    h.run(run);
    EXPECT_EQ(h.field.text(), kEssay);
    EXPECT_EQ(h.phases.last(), "done");
    // The review found nothing to replace wholesale.
    EXPECT_FALSE(h.debug.contains("replaceAll: safety check failed (expected mismatch)"));
}
