#pragma once

#include "engine/DeferredError.h"
#include "engine/KeyOutput.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QString>

namespace qv::engine {

class TypingEngine;

// The hesitations and revisions made while typing: a short pause, a
// backtrack over the last few words with one word swapped, a reworded
// retype of the last sentence, and a pause that ends by going back over the
// last words. Each asks the stop flag first and again right before its
// first key; an edit whose keys have begun is finished (TypingEngine::
// replaceTail), so the field always holds what the buffer says.
//
// `buffer` and `errors` belong to the run and must outlive the task.
class InFlightEdits {
public:
    static QCoro::Task<> microPause(TypingEngine &engine, StopFlag stopFlag);
    // Retypes the last 3 to 6 words with the first swappable one swapped.
    static QCoro::Task<> microEdit(TypingEngine &engine, QString &buffer, QList<DeferredError> &errors,
                                   StopFlag stopFlag);
    // Retypes the last complete sentence (31 characters or more) reworded,
    // and the text after it as it was.
    static QCoro::Task<> rethinkSentence(TypingEngine &engine, QString &buffer, QList<DeferredError> &errors,
                                         StopFlag stopFlag);
    // Waits `ms`; from 20000 ms on, then retypes the last 3 or 4 words.
    static QCoro::Task<> pauseWithOptionalBacktrack(TypingEngine &engine, double ms, QString &buffer,
                                                    QList<DeferredError> &errors, StopFlag stopFlag);
    // Deletes and retypes, unchanged, everything from the start of the
    // `count`-th last word.
    static QCoro::Task<> retypeLastWords(TypingEngine &engine, int count, QString &buffer, QList<DeferredError> &errors,
                                         StopFlag stopFlag);

    static constexpr double kBacktrackFromMs = 20000;
    static constexpr int kRethinkMinChars = 31;
};

} // namespace qv::engine
