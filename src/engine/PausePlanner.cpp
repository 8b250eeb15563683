#include "engine/PausePlanner.h"

#include "core/Random.h"
#include "core/Text.h"
#include "engine/InFlightEdits.h"
#include "engine/Rewording.h"
#include "engine/TypingRun.h"

#include <algorithm>

namespace qv::engine {

QCoro::Task<> PausePlanner::afterKey(TypingRun &run, QString k)
{
    TypingEngine &engine = run.engine();
    RunState &state = run.state();
    const RunParams &params = run.params();
    const StopFlag &stop = run.stopFlag();
    Random &random = engine.random();
    const double pauseScale = params.style.pauseScale;

    co_await tailRetype(run);

    const QString next = params.charAt(state.charIndex + 1);
    if (isSentenceEnd(k) && (next == QLatin1String(" ") || next == QLatin1String("\n"))) {
        const double ms = params.profile.interSentenceMs;
        co_await engine.keys().sleepWithStop(pauseScale * random.uniformReal(0.8 * ms, 1.2 * ms), stop);
    }

    if (k == QLatin1String("\n") && state.charIndex >= 1 && params.charAt(state.charIndex - 1) == QLatin1String("\n")) {
        const double factor = state.keysSinceParagraph < kLongParagraphKeys ? 0.6 : 1.0;
        const double ms = params.profile.interParagraphMs;
        co_await engine.keys().sleepWithStop(pauseScale * random.uniformReal(0.6 * factor * ms, 1.1 * factor * ms),
                                             stop);
        state.keysSinceParagraph = 0;
        state.headingLine = isHeadingLine(upcomingLine(run, state.charIndex + 1));
    }

    if (state.burstRemaining < 1) {
        const int words = int(random.uniformInt(params.profile.burstWords.lo, params.profile.burstWords.hi));
        state.burstRemaining = std::max(2, int(params.style.burstScale * words));
        const double stall = pauseScale * random.uniformReal(params.profile.stallMs.lo, params.profile.stallMs.hi);
        co_await InFlightEdits::pauseWithOptionalBacktrack(engine, stall, state.buffer, state.deferredErrors, stop);
    }

    co_await sentenceBookkeeping(run, k);

    state.lastWasSpace = k == QLatin1String(" ");
    state.prevPrev = state.prev;
    state.prev = k;
    state.charIndex += 1;
}

QCoro::Task<> PausePlanner::tailRetype(TypingRun &run)
{
    RunState &state = run.state();
    if (!run.params().options.humanize || state.keysSinceRetype <= kRetypeAfterKeys)
        co_return;
    const QStringList chars = text::graphemes(state.currentWord);
    if (chars.size() <= 3)
        co_return;
    const QString last = chars.mid(chars.size() - kRetypeChars).join(QString());
    if (!state.buffer.endsWith(last))
        co_return;
    // Exactly the four characters' units, however many each has.
    const int from = int(state.buffer.size() - last.size());
    const TypingEngine::TailChange unchanged{from, 0, {}};
    co_await run.engine().replaceTail(unchanged, from, state.buffer, state.deferredErrors, run.stopFlag());
    state.keysSinceRetype = 0;
}

QCoro::Task<> PausePlanner::sentenceBookkeeping(TypingRun &run, const QString &k)
{
    RunState &state = run.state();
    const RunParams &params = run.params();
    state.sentencePos += 1;
    if (!isSentenceEnd(k))
        co_return;
    const int count = params.remainingCount();
    int nextStart = state.charIndex + 1;
    if (params.charAt(state.charIndex + 1) == QLatin1String(" "))
        nextStart += 1;
    const int sentenceChars = std::max(std::min(nextStart, count) - state.sentenceStart, 0);
    if (!state.sentenceErrorDone && state.wordIndex >= params.sentenceErrorAt
        && sentenceChars >= kSentenceErrorMinChars) {
        co_await run.engine().keys().sleepWithStop(kSentenceErrorPauseMs, run.stopFlag());
        state.sentenceErrorDone = true;
    }
    state.sentenceIndex += 1;
    const int length = state.sentenceIndex < params.sentenceLengths.size()
                           ? params.sentenceLengths.at(state.sentenceIndex)
                           : count - nextStart;
    state.sentenceLength = std::max(1, length);
    state.sentencePos = 0;
    state.sentenceStart = nextStart;
}

QString PausePlanner::upcomingLine(TypingRun &run, int index)
{
    const RunParams &params = run.params();
    QString line;
    for (int i = index; i < params.remainingCount(); ++i) {
        const QString &c = params.remaining.at(i);
        if (c == QLatin1String("\n"))
            break;
        line += c;
    }
    return line;
}

} // namespace qv::engine
