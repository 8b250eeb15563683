#pragma once

#include <QString>

namespace qv {
class Random;
}

namespace qv::engine {

struct RunParams;
struct RunState;

// How long one keystroke takes, in milliseconds: the speed of the word (or
// a drawn speed between words), a slow drift over the run, two slow waves,
// and the terms that make the rhythm human. Pure apart from its draws.
class KeyTiming {
public:
    // `k` is the character about to be typed; `state.currentWord` already
    // holds it when it belongs to the word.
    static double keystrokeDelay(const QString &k, const RunState &state, const RunParams &params, Random &random);

    // The base delay before the per-key terms.
    static double baseDelay(int wpm, double drift, int charIndex);

    // Characters typed with Shift that are not letters.
    static bool isShiftedSymbol(const QString &k);
};

} // namespace qv::engine
