// Runs the typing engine on the simulated desktop over a fixed essay at
// several speeds, with and without humanize and at each review level, and
// prints one row per run: how fast and how human the typing is, and what
// the engine itself costs in real time.
//
// Key-only speed and the interval figures use the gaps between consecutive
// text keys of at most 1.5 s (the per-key delays); the overall speed counts
// everything, pauses, stalls and edits included. Keys per character leave
// out the caret steps, which are counted on their own. The engine's cost is
// given per key and per character of the text: arrows are cheap keys, so
// the cost per key hides what a run costs when the review sends many.

#include "SampleText.h"

#include "core/Random.h"
#include "core/Text.h"
#include "core/VirtualScheduler.h"
#include "engine/TypingEngine.h"
#include "platform/sim/SimDesktop.h"

#include <QCoro/QCoroTask>

#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

struct Row {
    int targetWpm = 0;
    bool humanize = false;
    QString review;
    double keyWpm = 0;
    double overallWpm = 0;
    double minutes = 0;
    double keysPerChar = 0;   // keys other than caret steps
    double arrowsPerChar = 0; // caret steps (the review reaches its typos with arrows)
    double correctionsPer100 = 0;
    double medianMs = 0;
    double p90Ms = 0;
    double cv = 0;
    bool fieldMatches = false;
    double wallMs = 0;
    double usPerKey = 0;
    double usPerChar = 0; // per character of the text: what a run costs, however many keys it sends
};

double percentile(std::vector<double> sorted, double q)
{
    if (sorted.empty())
        return 0;
    const double pos = q * double(sorted.size() - 1);
    const size_t lo = size_t(std::floor(pos));
    const size_t hi = std::min(lo + 1, sorted.size() - 1);
    return sorted[lo] + (sorted[hi] - sorted[lo]) * (pos - double(lo));
}

Row runOnce(const QString &text, int wpm, bool humanize, const QString &review, quint64 seed)
{
    qv::VirtualScheduler clock;
    qv::sim::SimDesktop sim(clock);
    auto &editor = sim.addApp(QStringLiteral("Editor"));
    auto &field = editor.addWindow({0, 0, 1000, 800}).addTextArea({10, 10, 980, 780});
    field.focus();
    editor.activate();
    qv::SeededRandom random(seed);
    qv::engine::TypingEngine engine(sim, clock, random);

    bool finished = false;
    auto job = [&]() -> QCoro::Task<> {
        qv::engine::RunOptions options{
            .text = text, .review = review, .humanize = humanize, .targetWpm = wpm, .target = field.element()};
        co_await engine.typeText(std::move(options));
        finished = true;
    };
    QElapsedTimer wall;
    wall.start();
    auto task = job();
    clock.runUntil([&] { return finished; });
    Row row;
    row.wallMs = double(wall.nsecsElapsed()) / 1e6;

    const int chars = qv::text::graphemeCount(text);
    const auto &keys = sim.log().keys;
    std::vector<double> gaps;
    double keyTimeMs = 0;
    int corrections = 0;
    int arrows = 0;
    bool inBackspaces = false;
    double lastTextKeyMs = -1;
    for (const auto &key : keys) {
        if (key.kind == qv::sim::KeyEvent::Kind::Key
            && (key.key == qv::platform::Key::Left || key.key == qv::platform::Key::Right)) {
            ++arrows;
            continue;
        }
        const bool backspace = key.kind == qv::sim::KeyEvent::Kind::Key && key.key == qv::platform::Key::Backspace;
        if (backspace && !inBackspaces)
            ++corrections;
        inBackspaces = backspace;
        const bool textKey = key.kind == qv::sim::KeyEvent::Kind::Grapheme
                             || (key.kind == qv::sim::KeyEvent::Kind::Key
                                 && (key.key == qv::platform::Key::Return || key.key == qv::platform::Key::Tab));
        if (!textKey)
            continue;
        if (lastTextKeyMs >= 0) {
            const double gap = key.timeMs() - lastTextKeyMs;
            if (gap <= 1500) {
                gaps.push_back(gap);
                keyTimeMs += gap;
            }
        }
        lastTextKeyMs = key.timeMs();
    }
    std::sort(gaps.begin(), gaps.end());
    double mean = 0;
    for (double g : gaps)
        mean += g;
    mean = gaps.empty() ? 0 : mean / double(gaps.size());
    double variance = 0;
    for (double g : gaps)
        variance += (g - mean) * (g - mean);
    variance = gaps.empty() ? 0 : variance / double(gaps.size());

    row.targetWpm = wpm;
    row.humanize = humanize;
    row.review = review;
    row.minutes = clock.nowMs() / 60000.0;
    row.keyWpm = keyTimeMs > 0 ? (chars / 5.0) / (keyTimeMs / 60000.0) : 0;
    row.overallWpm = row.minutes > 0 ? (chars / 5.0) / row.minutes : 0;
    row.keysPerChar = double(int(keys.size()) - arrows) / std::max(chars, 1);
    row.arrowsPerChar = double(arrows) / std::max(chars, 1);
    row.correctionsPer100 = 100.0 * corrections / std::max(chars, 1);
    row.medianMs = percentile(gaps, 0.5);
    row.p90Ms = percentile(gaps, 0.9);
    row.cv = mean > 0 ? std::sqrt(variance) / mean : 0;
    row.fieldMatches = finished && field.text() == engine.lastIntendedText();
    row.usPerKey = keys.empty() ? 0 : row.wallMs * 1000.0 / double(keys.size());
    row.usPerChar = row.wallMs * 1000.0 / std::max(chars, 1);
    return row;
}

} // namespace

int main()
{
    const QString text = QString::fromUtf8(kSampleText);
    const quint64 seed = 2026;
    std::printf("text: %d characters, %lld words; seed %llu\n", qv::text::graphemeCount(text),
                static_cast<long long>(text.split(QLatin1Char(' '), Qt::SkipEmptyParts).size()),
                static_cast<unsigned long long>(seed));
    std::printf("%6s %5s %-7s %8s %8s %8s %9s %9s %8s %8s %8s %6s %6s %9s %8s %8s\n", "target", "human", "review",
                "keyWPM", "allWPM", "minutes", "keys/char", "arrow/chr", "corr/100", "medianMs", "p90Ms", "CV", "exact",
                "wallMs", "us/key", "us/char");
    double worstUs = 0;
    double worstUsPerChar = 0;
    double worstWall = 0;
    for (int wpm : {40, 60, 90})
        for (bool humanize : {false, true})
            for (const char *review : {"light", "medium", "heavy"}) {
                const Row r = runOnce(text, wpm, humanize, QString::fromLatin1(review), seed);
                worstUs = std::max(worstUs, r.usPerKey);
                worstWall = std::max(worstWall, r.wallMs);
                worstUsPerChar = std::max(worstUsPerChar, r.usPerChar);
                std::printf(
                    "%6d %5s %-7s %8.1f %8.1f %8.1f %9.3f %9.2f %8.2f %8.1f %8.1f %6.3f %6s %9.1f %8.2f %8.1f\n",
                    r.targetWpm, r.humanize ? "on" : "off", qPrintable(r.review), r.keyWpm, r.overallWpm, r.minutes,
                    r.keysPerChar, r.arrowsPerChar, r.correctionsPer100, r.medianMs, r.p90Ms, r.cv,
                    r.fieldMatches ? "yes" : "no", r.wallMs, r.usPerKey, r.usPerChar);
            }
    std::printf("engine cost: worst %.2f us per keystroke (target < 20), worst %.1f us per typed character, "
                "worst run %.1f ms of wall time (target < 1000)\n",
                worstUs, worstUsPerChar, worstWall);
    return 0;
}
