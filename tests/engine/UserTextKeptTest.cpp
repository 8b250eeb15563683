// The user's own text around a run is never changed by it: not when the
// user clicks into it while the run types (the run's keys then go on
// there), nor when the user types in front of or behind the insertion
// point, switches away, pauses or stops. A run says "done" only when the
// field holds exactly the user's text with the intended text at the
// insertion point.

#include "RunHarness.h"

#include "core/Text.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSet>

#include <optional>

using namespace qv::engine;
using qv::test::EngineRunHarness;

namespace {

// Whether `pieces` stand in `field` in order, each whole, the first at its
// start and the last at its end (what the user's text looks like with the
// run's keys put in between).
bool piecesInOrder(const QString &field, const QStringList &pieces)
{
    qsizetype at = 0;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const QString &piece = pieces.at(i);
        if (i == 0) {
            if (!field.startsWith(piece))
                return false;
            at = piece.size();
            continue;
        }
        if (i == pieces.size() - 1)
            return field.size() - piece.size() >= at && field.endsWith(piece);
        const qsizetype found = field.indexOf(piece, at);
        if (found < 0)
            return false;
        at = found + piece.size();
    }
    return true;
}

const QString kText = QStringLiteral(
    "It was a good day and a bad night, but the small cafe on the corner was really busy. "
    "She said it was important, and he walked home slowly, talking about big plans.");

// ---------------------------------------------------------------------------
// Table: one click into the user's text while the run types.

struct ClickRow {
    const char *name;
    QString before; // the user's text in front of the insertion point
    QString after;  // and after it
    bool inFront;   // the click goes into `before` (else into `after`)
    int offset;     // units into that text
    int atKey;      // after this many characters of the text
    bool humanize;
};

QList<ClickRow> clickRows()
{
    const QString dearBefore = QString::fromUtf8("Dear Ann 😀, notes: ");
    const QString dearAfter = QString::fromUtf8(" — Yours, Bo 🇫🇷");
    const int late = int(kText.size()) - 12;
    return {
        // The field of the report: the caret at 20, a click at 3.
        {"report: into the text in front, early", dearBefore, dearAfter, true, 3, 40, true},
        {"into the text in front, early", dearBefore, dearAfter, true, 3, 5, false},
        {"into the text in front, late", dearBefore, dearAfter, true, 14, late, true},
        {"into the text behind, early", dearBefore, dearAfter, false, 8, 5, true},
        {"into the text behind, late", dearBefore, dearAfter, false, 3, late, false},
        {"right after the insertion point's text behind", dearBefore, dearAfter, false, 1, 60, true},
        {"at the field's start", dearBefore, dearAfter, true, 0, 30, true},
        {"at the field's end", dearBefore, dearAfter, false, int(dearAfter.size()), 30, false},
        // Text the run's own keys could be taken for.
        {"into text like the run's", "It was a good day. ", " It was busy.", true, 8, 50, true},
        {"behind, into text like the run's", "Note: ", " talking about big plans.", false, 9, 70, true},
    };
}

struct ClickOutcome {
    QString field;
    QString phase;
    QString intended;
    QStringList debug;
};

ClickOutcome runWithClick(const ClickRow &row, quint64 seed)
{
    EngineRunHarness h(seed);
    h.field.setText(row.before + row.after);
    h.field.setCaret(row.before.size());
    bool clicked = false;
    h.onKey = [&](int done) {
        if (clicked || done < row.atKey)
            return;
        clicked = true;
        // Where the user's text stands now: the run's keys went in after `before`.
        const QString now = h.field.text();
        const qsizetype at = row.inFront ? row.offset : now.size() - row.after.size() + row.offset;
        h.field.setCaret(at);
    };
    h.runText(kText, row.humanize, 90);
    return {h.field.text(), h.phases.value(h.phases.size() - 1), h.engine.lastIntendedText(), h.debug};
}

} // namespace

TEST(UserTextKept, AClickIntoTheUsersTextNeverChangesItNorEndsDone)
{
    for (const ClickRow &row : clickRows()) {
        for (quint64 seed : {3, 7, 11}) {
            SCOPED_TRACE(QStringLiteral("%1, seed %2").arg(row.name).arg(seed).toStdString());
            const ClickOutcome o = runWithClick(row, seed);
            // The user's text stands whole and in order, split only where
            // the click went.
            const QString &split = row.inFront ? row.before : row.after;
            const QStringList pieces = row.inFront
                                           ? QStringList{split.left(row.offset), split.mid(row.offset) + "", row.after}
                                           : QStringList{row.before, split.left(row.offset), split.mid(row.offset)};
            EXPECT_TRUE(piecesInOrder(o.field, pieces)) << o.field.toStdString();
            EXPECT_NE(o.phase, "") << o.debug.join('\n').toStdString();
            const bool exact = o.field == row.before + o.intended + row.after;
            if (o.phase == "done") {
                EXPECT_TRUE(exact) << o.field.toStdString() << "\n" << o.debug.join('\n').toStdString();
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Seeded runs with random interference.

namespace {

// The user's text uses characters the project text never holds, so what
// is the user's in the field can always be told: Cyrillic, no-break
// spaces, full-width punctuation and emoji the project does not have.
const QString kUserBefore = QString::fromUtf8("Дорогая\u00a0Анна\u00a0😀，заметки：\u00a0");
const QString kUserAfter = QString::fromUtf8("\u00a0―\u00a0Ваш，Бо\u00a0🇫🇷");
const QStringList kUserWords = {QString::fromUtf8("ой\u00a0"), QString::fromUtf8("да"), QString::fromUtf8("Ё"),
                                QString::fromUtf8("и\u00a0вот\u00a0")};

QString projectText(qv::Random &random)
{
    const QStringList sentences = {
        "It was a good day and a bad night, but the small cafe was really busy.",
        "\"Is it important?\" she asked, and he said it was interesting, very big, and just fine.",
        "We paid 3.50 for two coffees 👍🏽 and walked home slowly, talking about naive plans.",
        "This is a simple test of the system, and it is quite good.",
        "The report is very important for the team — we need it soon.",
        "He thought about it for a long time and then he wrote it again.",
    };
    QString text;
    const int count = int(random.uniformInt(3, 14));
    for (int i = 0; i < count; ++i) {
        text += sentences.at(int(random.uniformInt(0, sentences.size() - 1)));
        text += random.uniformInt(0, 5) == 0 ? "\n" : " ";
    }
    return text.trimmed();
}

struct Interference {
    EngineRunHarness &h;
    qv::sim::SimApp &other;
    QSet<QString> userClusters;
    QString userBefore; // the user's text in front of the insertion point, as it should be now
    QString userAfter;
    bool stopped = false;

    // Field offsets of the user's clusters, in order, and the field's end.
    QList<qsizetype> userOffsets() const
    {
        QList<qsizetype> offsets;
        qsizetype at = 0;
        const QString text = h.field.text();
        for (const QString &cluster : qv::text::graphemes(text)) {
            if (userClusters.contains(cluster))
                offsets.append(at);
            at += cluster.size();
        }
        return offsets;
    }
    QString userProjection() const
    {
        QString out;
        for (const QString &cluster : qv::text::graphemes(h.field.text()))
            if (userClusters.contains(cluster))
                out += cluster;
        return out;
    }
    // A place inside the user's text, in front of (or behind) the insertion
    // point, as a cluster index of the user's text; absent when there is
    // no such text.
    std::optional<int> userPlace(bool inFront, qv::Random &random) const
    {
        const int frontCount = int(qv::text::graphemes(userBefore).size());
        const int backCount = int(qv::text::graphemes(userAfter).size());
        if (inFront)
            return frontCount == 0 ? std::nullopt : std::optional<int>(int(random.uniformInt(0, frontCount - 1)));
        return backCount == 0 ? std::nullopt : std::optional<int>(frontCount + int(random.uniformInt(1, backCount)));
    }
    qsizetype fieldOffsetOf(int userIndex) const
    {
        const QList<qsizetype> offsets = userOffsets();
        return userIndex < offsets.size() ? offsets.at(userIndex) : h.field.text().size();
    }

    void click(bool inFront, qv::Random &random)
    {
        if (const std::optional<int> place = userPlace(inFront, random))
            h.field.setCaret(fieldOffsetOf(*place));
    }
    void type(bool inFront, qv::Random &random)
    {
        const std::optional<int> place = userPlace(inFront, random);
        if (!place)
            return;
        const QString word = kUserWords.at(int(random.uniformInt(0, kUserWords.size() - 1)));
        const qsizetype at = fieldOffsetOf(*place);
        qv::sim::EditState &edit = h.field.editState();
        edit.text.insert(at, word);
        if (edit.selection.location >= at)
            edit.selection.location += word.size();
        const int frontCount = int(qv::text::graphemes(userBefore).size());
        auto insertAtCluster = [&word](QString &text, int index) {
            text.insert(qv::text::offsetOfGrapheme(text, index), word);
        };
        if (inFront)
            insertAtCluster(userBefore, *place);
        else
            insertAtCluster(userAfter, *place - frontCount);
    }

    void typeAtCaret(qv::Random &random)
    {
        const QString word = kUserWords.at(int(random.uniformInt(0, kUserWords.size() - 1)));
        const qsizetype caret = h.field.selection().location;
        int before = 0;
        for (const qsizetype offset : userOffsets())
            before += offset < caret ? 1 : 0;
        h.sim.userType(h.field, word);
        // Where the run types, it lands in front of the text after the
        // insertion point.
        const int frontCount = int(qv::text::graphemes(userBefore).size());
        if (before < frontCount)
            userBefore.insert(qv::text::offsetOfGrapheme(userBefore, before), word);
        else
            userAfter.insert(qv::text::offsetOfGrapheme(userAfter, before - frontCount), word);
    }

    void act(qv::Random &random)
    {
        switch (random.uniformInt(0, 8)) {
        case 0:
        case 1:
            click(random.uniformInt(0, 1) == 0, random);
            break;
        case 2:
        case 3:
            type(random.uniformInt(0, 1) == 0, random);
            break;
        case 4: {
            other.activate();
            const double away = random.uniformReal(200, 5000);
            h.sim.after(away).switchTo(h.editor);
            break;
        }
        case 5: {
            h.pause = true;
            h.sim.after(random.uniformReal(200, 6000)).run([this] { h.pause = false; });
            break;
        }
        case 6:
            // A click, and the user goes on typing where they clicked.
            click(random.uniformInt(0, 1) == 0, random);
            break;
        case 7:
            // The user types where the caret is: after a click, into their
            // own text; else right where the run types.
            if (random.uniformInt(0, 1) == 0) {
                typeAtCaret(random);
                break;
            }
            [[fallthrough]];
        default:
            if (random.uniformInt(0, 2) == 0) {
                h.stop = true;
                stopped = true;
            }
            break;
        }
    }
};

struct PropertyOutcome {
    bool ok = true;
    QString failure;
    bool done = false;
};

// One run with random interference; `resumes`: a stopped run without
// humanize is resumed.
PropertyOutcome interferedRun(quint64 seed, bool resumes)
{
    qv::SeededRandom random(seed * 7919 + 17);
    EngineRunHarness h(seed);
    qv::sim::SimApp &other = h.sim.addApp("Other");
    other.addWindow({900, 0, 300, 300}).addTextArea({910, 10, 280, 280}, "elsewhere");
    h.editor.activate();
    h.field.focus();

    const int shape = int(random.uniformInt(0, 3)); // both sides, in front only, behind only, both
    Interference in{h, other, {}, shape == 2 ? QString() : kUserBefore, shape == 1 ? QString() : kUserAfter};
    for (const QString &s : QStringList{kUserBefore, kUserAfter} + kUserWords)
        for (const QString &cluster : qv::text::graphemes(s))
            in.userClusters.insert(cluster);
    h.field.setText(in.userBefore + in.userAfter);
    h.field.setCaret(in.userBefore.size());

    const QString text = projectText(random);
    const int total = int(qv::text::graphemes(text).size());
    const bool humanize = random.uniformInt(0, 1) == 1;
    const QStringList reviews = {"light", "medium", "heavy"};
    QList<int> eventKeys;
    const int events = int(random.uniformInt(1, 4));
    for (int i = 0; i < events; ++i)
        eventKeys.append(int(random.uniformInt(1, std::max(total - 1, 1))));
    // Run alone (QV_SEED), the keys that first changed the user's text are
    // named too.
    const bool watchEveryKey = qEnvironmentVariableIntValue("QV_SEED") > 0;
    int keysBefore = 0;
    QString firstBroken;
    h.onKey = [&](int done) {
        if (watchEveryKey && firstBroken.isEmpty() && in.userProjection() != in.userBefore + in.userAfter) {
            firstBroken = QStringLiteral("first changed at character %1 by the keys:").arg(done);
            for (int i = keysBefore; i < int(h.sim.log().keys.size()); ++i) {
                const qv::sim::KeyEvent &k = h.sim.log().keys[i];
                firstBroken += k.kind == qv::sim::KeyEvent::Kind::Grapheme ? k.text
                                                                           : QStringLiteral("<%1>").arg(int(k.key));
            }
        }
        keysBefore = int(h.sim.log().keys.size());
        for (int i = 0; i < eventKeys.size(); ++i) {
            if (eventKeys.at(i) != done)
                continue;
            eventKeys[i] = -1;
            // Now, or a little later: inside a correction or a pause.
            if (random.uniformInt(0, 2) == 0)
                in.act(random);
            else
                h.sim.after(random.uniformReal(0, 4000)).run([&in, &random] {
                    if (!in.stopped)
                        in.act(random);
                });
        }
    };
    auto args = h.args(text, humanize, int(random.uniformInt(60, 140)));
    args.review = reviews.at(int(random.uniformInt(0, 2)));
    TypingRun &run = h.start(args);
    h.run(run);
    // Stopped without humanize: the job is resumed from what was typed,
    // wherever the caret now stands, as the user does after a stop.
    bool resumed = false;
    if (in.stopped && !humanize && random.uniformInt(0, 1) == 0 && !h.progress.isEmpty() && resumes) {
        resumed = true;
        in.stopped = false;
        h.stop = false;
        h.phases.clear();
        args.startIndex = h.progress.last().first;
        TypingRun &again = h.start(args);
        h.run(again);
    }

    PropertyOutcome out;
    const QString field = h.field.text();
    const QString user = in.userBefore + in.userAfter;
    if (in.userProjection() != user) {
        out.ok = false;
        out.failure = QStringLiteral("the user's text changed: \"%1\" holds \"%2\", not \"%3\"")
                          .arg(field, in.userProjection(), user);
    }
    const QString phase = h.phases.value(h.phases.size() - 1);
    out.done = phase == "done";
    const QString intended = in.userBefore + (resumed ? text : h.engine.lastIntendedText()) + in.userAfter;
    if (out.done && field != intended) {
        out.ok = false;
        out.failure += QStringLiteral(" done%1, but the field reads \"%2\" for \"%3\"")
                           .arg(resumed ? QStringLiteral(" after a resume") : QString(), field, intended);
    }
    if (!in.stopped && !h.stop && phase != "done" && phase != "differs" && phase != "unchecked") {
        out.ok = false;
        out.failure += " ended " + phase;
    }
    if (!out.ok)
        out.failure += "\n" + firstBroken + "\n" + h.debug.join('\n');
    return out;
}

} // namespace

namespace {
// The sweep: seeds 1 to 400 (QV_RUNS widens it by hand; QV_SEED runs one
// seed). Every failing seed is named; the first few with their logs.
void sweep(bool resumes)
{
    QElapsedTimer timer;
    timer.start();
    const int runs = std::max(qEnvironmentVariableIntValue("QV_RUNS"), 400);
    const quint64 only = quint64(std::max(qEnvironmentVariableIntValue("QV_SEED"), 0));
    int done = 0;
    QStringList failed;
    for (quint64 seed = only ? only : 1; seed <= (only ? only : quint64(runs)); ++seed) {
        const PropertyOutcome o = interferedRun(seed, resumes);
        done += o.done ? 1 : 0;
        if (o.ok)
            continue;
        failed << QString::number(seed);
        if (failed.size() <= 3)
            ADD_FAILURE() << "seed " << seed << ": " << o.failure.toStdString();
    }
    EXPECT_TRUE(failed.isEmpty()) << "seeds " << failed.join(' ').toStdString();
    // Interference leaves plenty of runs to end exact: the property is not
    // met by never saying "done".
    if (!only) {
        EXPECT_GT(done, runs / 5);
    }
    ::testing::Test::RecordProperty("wallMs", int(timer.elapsed()));
}
} // namespace

TEST(UserTextKept, SeededRunsWithInterferenceNeverChangeTheUsersTextNorEndDoneFalsely) { sweep(false); }

// The same runs, a stopped run resumed as the user does: the resumed run
// answers for the whole text, the earlier part included.
TEST(UserTextKept, SeededRunsWithInterferenceAndResumesNeverEndDoneFalsely) { sweep(true); }
