#pragma once

#include "platform/Element.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

namespace qv {
class Random;
}

namespace qv::engine {

// Inclusive ranges of the profile tables.
struct IntRange {
    int lo = 0;
    int hi = 0;
    friend bool operator==(const IntRange &, const IntRange &) = default;
};
struct RealRange {
    double lo = 0;
    double hi = 0;
    friend bool operator==(const RealRange &, const RealRange &) = default;
};

// How a writer of one grade types: typo rates, bursts, stalls and pauses.
struct GradeProfile {
    double errorProbability = 0;      // base chance of a typo per letter
    double correctionProbability = 0; // base chance a typo is corrected at once
    IntRange burstWords;              // words per burst
    IntRange burstWpm;                // carried along, read by nothing
    RealRange stallMs;                // stall after a burst
    double interSentenceMs = 0;
    double interParagraphMs = 0;
    RealRange thesaurusGapMs; // a low end of 0 switches the pause off
    int styleSwapEvery = 0;   // words between style swaps; 0 = off
    IntRange sentenceErrorWordRange;
    friend bool operator==(const GradeProfile &, const GradeProfile &) = default;
};

// The variation of one run: speed band and scale factors.
struct StyleProfile {
    int minWpm = 0;
    int maxWpm = 0;
    double burstScale = 1;
    double pauseScale = 1;
    double errorScale = 1;
    double correctionScale = 1;
    double wordWpmBoost = 0;
    double drift = 0;
    double hesitationProb = 0;
};

// What the end-of-run review may do.
struct ReviewLevel {
    int minErrorFixes = 0;    // deferred typos fixed at least (when not exact)
    int wordSwaps = 0;        // word-swap rewrites of final sentences
    int sentenceRewrites = 0; // sentence rewrites
    int tailRetypeCap = 0;    // cap on the characters retyped at the end
    friend bool operator==(const ReviewLevel &, const ReviewLevel &) = default;
};

// "9", "10" and "11" select their own rows (exact match); every other string,
// "12" and "" included, the last row.
GradeProfile gradeProfile(const QString &grade);

// The speed band and scale factors of a run. `grade` does not influence the
// result. With humanize, seven fresh draws are made in field order
// (burst, pause, error, correction, word boost, drift, hesitation).
StyleProfile computeStyleProfile(const QString &grade, const QString &review, bool humanize, int targetWpm,
                                 Random &random);

// The review numbers with their humanize values ("light", "heavy", any
// other); the run derives editBudget from them.
ReviewLevel reviewNumbers(const QString &review);
// The level handed to the end-of-run review: the humanize-only numbers
// (wordSwaps, sentenceRewrites) are zero without humanize.
ReviewLevel reviewLevel(const QString &review, bool humanize);
// Edits allowed per sentence: minErrorFixes plus, with humanize, the word
// swaps and sentence rewrites.
int editBudget(const QString &review, bool humanize);

// Characters between forced typos, one uniform draw from the review's range.
int adjustedForcedErrorEvery(const QString &review, bool humanize, Random &random);

// Words per minute for one word. Fast and slow words get fixed speeds; any
// other word one uniform draw around the target. `profile` is not used.
int getWordWpm(QStringView word, const GradeProfile &profile, int targetWpm, Random &random);

// Lowers every cooldown by one and drops those that reach 0.
void decayErrorCooldowns(QHash<QString, int> &cooldowns);

// ".", "!" or "?" (one grapheme).
bool isSentenceEnd(QStringView character);

// Runs of characters other than ".!?" with at most one closing mark, in
// UTF-16 units; empty ranges are left out.
QList<platform::TextRange> computeSentenceRanges(const QString &text);

} // namespace qv::engine
