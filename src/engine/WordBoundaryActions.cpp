#include "engine/WordBoundaryActions.h"

#include "core/Random.h"
#include "core/Text.h"
#include "engine/InFlightEdits.h"
#include "engine/RetypeStretch.h"
#include "engine/TypingRun.h"
#include "engine/WordKey.h"
#include "engine/WordTables.h"

namespace qv::engine {

bool WordBoundaryActions::endsWord(const QString &k) { return k == QLatin1String(" ") || k == QLatin1String("\n"); }

bool WordBoundaryActions::joinsWord(const QString &k) { return text::isLetterOrNumber(k) || k == QLatin1String("'"); }

QCoro::Task<> WordBoundaryActions::onCharacter(TypingRun &run, QString k)
{
    RunState &state = run.state();
    if (endsWord(k)) {
        if (!state.currentWord.isEmpty())
            co_await wordEnd(run);
    } else if (joinsWord(k)) {
        state.currentWord += k;
        state.wordOffsets.append(int(state.buffer.size()));
    }
}

QCoro::Task<> WordBoundaryActions::wordEnd(TypingRun &run)
{
    TypingEngine &engine = run.engine();
    RunState &state = run.state();
    const RunParams &params = run.params();
    const WordTables &tables = engine.words();
    const StopFlag &stop = run.stopFlag();
    KeyOutput &keys = engine.keys();

    state.wordIndex += 1;
    decayErrorCooldowns(state.errorCooldowns);
    const int wpm = getWordWpm(state.currentWord, params.profile, params.options.targetWpm, engine.random());
    const QString lookup = letterCore(state.currentWord);
    auto budgetLeft = [&] { return state.editCount < params.editBudget; };

    // A: a hard word slows the next thought down (a stop cuts it short).
    if (tables.smartWords.contains(lookup)) {
        const double perChar = 60000.0 / (wpm * 5.0);
        co_await keys.sleepWithStop(3 * text::graphemeCount(state.currentWord) * perChar, stop);
    }

    // B: swap a plain word for a stronger one: its letters are replaced and
    // whatever followed them stays.
    const int swapEvery = params.profile.styleSwapEvery;
    if (params.options.humanize && swapEvery > 0 && state.wordIndex % swapEvery == 0 && budgetLeft()) {
        co_await keys.sleepWithStop(kStyleSwapWaitMs, stop);
        const auto found = tables.styleSwapMap.constFind(lookup);
        if (found != tables.styleSwapMap.constEnd()) {
            const std::optional<StretchEdit> letters = RetypeStretch::wordLetters(state.buffer, state.currentWord,
                                                                                  state.wordOffsets, found.value());
            if (letters) {
                const TypingEngine::TailChange change{letters->start, letters->deleteCount, letters->replacement};
                co_await engine.replaceTail(change, letters->start, state.buffer, state.deferredErrors, stop);
                state.editCount += 1;
            }
        }
    }

    // C: looking for a better word.
    const RealRange gap = params.profile.thesaurusGapMs;
    if (gap.lo > 0 && state.wordIndex % kThesaurusEvery == 0) {
        const double ms = gap.lo + (gap.hi - gap.lo) * engine.random().uniformReal(0, 1);
        co_await InFlightEdits::pauseWithOptionalBacktrack(engine, ms, state.buffer, state.deferredErrors, stop);
    }

    // D: go back over the last few words.
    if (params.options.humanize && state.wordIndex % (75 + params.microEditOffset) == 0 && budgetLeft()) {
        co_await InFlightEdits::microEdit(engine, state.buffer, state.deferredErrors, stop);
        state.editCount += 1;
    }

    // E: a short pause.
    if (state.wordIndex % (90 + params.microPauseOffset) == 0 && budgetLeft())
        co_await InFlightEdits::microPause(engine, stop);

    // F: rethink the last sentence.
    if (params.options.humanize && state.wordIndex % (180 + params.rethinkOffset) == 0 && budgetLeft()) {
        co_await InFlightEdits::rethinkSentence(engine, state.buffer, state.deferredErrors, stop);
        state.editCount += 1;
    }

    // G: once per run, a long break, then the last 25 words again.
    if (!state.longPauseDone && state.wordIndex >= 180 + params.longPauseOffset && budgetLeft()) {
        co_await InFlightEdits::pauseWithOptionalBacktrack(engine, kLongPauseMs, state.buffer, state.deferredErrors,
                                                           stop);
        co_await InFlightEdits::retypeLastWords(engine, kLongPauseRetypeWords, state.buffer, state.deferredErrors,
                                                stop);
        state.editCount += 1;
        state.longPauseDone = true;
    }

    state.currentWord.clear();
    state.wordOffsets.clear();
    state.burstRemaining -= 1;
}

} // namespace qv::engine
