#include "engine/InFlightEdits.h"

#include "core/Random.h"
#include "core/Text.h"
#include "engine/RetypeStretch.h"
#include "engine/Rewording.h"
#include "engine/TypingEngine.h"

namespace qv::engine {

namespace {
bool stopped(const StopFlag &stopFlag) { return stopFlag && stopFlag(); }
} // namespace

QCoro::Task<> InFlightEdits::microPause(TypingEngine &engine, StopFlag stopFlag)
{
    if (stopped(stopFlag))
        co_return;
    co_await engine.keys().sleepWithStop(engine.random().uniformReal(800, 1800), stopFlag);
}

QCoro::Task<> InFlightEdits::microEdit(TypingEngine &engine, QString &buffer, QList<DeferredError> &errors,
                                       StopFlag stopFlag)
{
    if (stopped(stopFlag))
        co_return;
    const int count = int(engine.random().uniformInt(3, 6));
    if (RetypeStretch::lastWordsStart(buffer, count) >= buffer.size())
        co_return; // no word to go back over
    co_await engine.keys().sleepWithStop(engine.random().uniformReal(1200, 2400), stopFlag);
    // Measured after the wait: the buffer is the run's and may not change
    // meanwhile, but the stretch is what the keys act on.
    const int from = RetypeStretch::lastWordsStart(buffer, count);
    const std::optional<StretchEdit> swap = RetypeStretch::firstWordSwap(buffer.mid(from));
    TypingEngine::TailChange change{from, 0, {}};
    if (swap)
        change = {from + swap->start, swap->deleteCount, swap->replacement};
    co_await engine.replaceTail(change, from, buffer, errors, stopFlag);
}

QCoro::Task<> InFlightEdits::rethinkSentence(TypingEngine &engine, QString &buffer, QList<DeferredError> &errors,
                                             StopFlag stopFlag)
{
    if (stopped(stopFlag))
        co_return;
    const std::optional<RetypeStretch::Sentence> found = RetypeStretch::lastSentence(buffer);
    if (!found || text::graphemeCount(found->withLeadingSpace()) < kRethinkMinChars)
        co_return;
    co_await engine.keys().sleepWithStop(engine.random().uniformReal(1800, 3200), stopFlag);
    const std::optional<RetypeStretch::Sentence> sentence = RetypeStretch::lastSentence(buffer);
    if (!sentence)
        co_return;
    // The sentence's own text is replaced; the white space before it stays
    // and the text after it is retyped as it was.
    const QString rewritten = rewriteSentence(removeFillers(sentence->withLeadingSpace()));
    const TypingEngine::TailChange change{sentence->ownStart, sentence->end - sentence->ownStart, rewritten};
    co_await engine.replaceTail(change, sentence->ownStart, buffer, errors, stopFlag);
}

QCoro::Task<> InFlightEdits::pauseWithOptionalBacktrack(TypingEngine &engine, double ms, QString &buffer,
                                                        QList<DeferredError> &errors, StopFlag stopFlag)
{
    if (stopped(stopFlag))
        co_return;
    co_await engine.keys().sleepWithStop(ms, stopFlag);
    if (!(ms >= kBacktrackFromMs))
        co_return;
    const int count = int(engine.random().uniformInt(3, 4));
    co_await retypeLastWords(engine, count, buffer, errors, stopFlag);
}

QCoro::Task<> InFlightEdits::retypeLastWords(TypingEngine &engine, int count, QString &buffer,
                                             QList<DeferredError> &errors, StopFlag stopFlag)
{
    const int from = RetypeStretch::lastWordsStart(buffer, count);
    if (from >= buffer.size())
        co_return;
    const TypingEngine::TailChange unchanged{from, 0, {}};
    co_await engine.replaceTail(unchanged, from, buffer, errors, stopFlag);
}

} // namespace qv::engine
