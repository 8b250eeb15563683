#pragma once

#include <QString>

namespace qv {
class Random;
}

namespace qv::engine {

struct RunParams;
struct RunState;

// Which typo, if any, a character of the text carries. Pure: reads the run
// and draws from `random`, changes nothing.
struct TypoDecision {
    enum class Kind { None, Immediate, Deferred };
    Kind kind = Kind::None;
    QString wrong;             // the character typed instead
    double wrongKeyWaitMs = 0; // how long a corrected wrong key stays
    bool earlyAttempt = false; // the run's early forced attempt was spent
    QString cooldownKey;       // the word so far with the character, as a table key
};

class TypoModel {
public:
    // A plausible wrong key for `c` after `prev` and `prevPrev`: a
    // neighbouring key, the wrong case, the previous letter again, or the
    // same letter. Empty when the band drawn cannot produce one.
    static QString generateHumanError(const QString &c, const QString &prev, const QString &prevPrev, Random &random);

    // The typo decision for `c`, the character at state.charIndex. The
    // caller has already reset editCount at a sentence end.
    static TypoDecision decide(const QString &c, const RunState &state, const RunParams &params, Random &random);

    // Whether a typo of this kind and number writes a diagnostic line:
    // the first six, then every eighth.
    static bool logsTypo(int number) { return number < 7 || number % 8 == 0; }
};

} // namespace qv::engine
