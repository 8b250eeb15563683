#pragma once

#include <QCoro/QCoroTask>
#include <QString>

namespace qv::engine {

class TypingRun;

// The word step of the loop: keeps the word being typed and, when a space
// or line feed ends it, runs the actions of a word end in their order: a
// slow-down after a hard word, a swap of a plain word for a stronger one,
// pauses to think, small revisions, and once per run a long break with a
// retype of the last 25 words. Every action runs before the ending key is
// typed.
class WordBoundaryActions {
public:
    // For the character about to be typed (the wrong one of a deferred typo).
    static QCoro::Task<> onCharacter(TypingRun &run, QString k);

    // Only " " and "\n" end a word.
    static bool endsWord(const QString &k);
    // Letters, numbers and the apostrophe belong to the word.
    static bool joinsWord(const QString &k);

    static constexpr int kThesaurusEvery = 150;
    static constexpr double kStyleSwapWaitMs = 3500;
    static constexpr double kLongPauseMs = 30000;
    static constexpr int kLongPauseRetypeWords = 25;

private:
    static QCoro::Task<> wordEnd(TypingRun &run);
};

} // namespace qv::engine
