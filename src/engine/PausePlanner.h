#pragma once

#include <QCoro/QCoroTask>
#include <QString>

namespace qv::engine {

class TypingRun;

// The step after each keystroke: the rhythm above single keys. A retype of
// the last four letters of a longer word (humanize only), the pause after a
// sentence, the pause at a blank line, the stall that ends a burst of words,
// and the sentence bookkeeping the key timing reads, with one long pause per
// run at a sentence end. Then the loop's per-character fields move on.
class PausePlanner {
public:
    // `k` is the character this pass typed.
    static QCoro::Task<> afterKey(TypingRun &run, QString k);

    // The line the heading test looks at after a blank line: the one about
    // to be typed, from `index` to the next line feed.
    static QString upcomingLine(TypingRun &run, int index);

    static constexpr int kRetypeAfterKeys = 44;
    static constexpr int kRetypeChars = 4;
    static constexpr int kLongParagraphKeys = 240;
    static constexpr double kSentenceErrorPauseMs = 30000;
    static constexpr int kSentenceErrorMinChars = 13;

private:
    static QCoro::Task<> tailRetype(TypingRun &run);
    static QCoro::Task<> sentenceBookkeeping(TypingRun &run, const QString &k);
};

} // namespace qv::engine
