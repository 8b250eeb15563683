#pragma once

#include "engine/DeferredError.h"

#include <QChar>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace qv::engine {

// The keystroke loop's state for one run. The loop steps read and change it
// one at a time, in the loop's order; nothing else touches it meanwhile.
struct RunState {
    // What the run has typed since set-up: every key appends, every edit at
    // the end of the field changes it the same way (UTF-16 offsets).
    QString buffer;
    QList<DeferredError> deferredErrors;
    // A key the run sent and could not take back, a stop having held its
    // Delete: it stands where the character `correct` of the text goes,
    // right after the buffer (`index`: the buffer's length then).
    std::optional<DeferredError> strayKey;

    int charIndex = 0;  // index of the character in hand in the run's characters
    int typedCount = 0; // characters of the text typed, from its beginning

    // The word being typed: its letters, numbers and apostrophes as typed,
    // and the buffer offset where each of them landed.
    QString currentWord;
    QList<int> wordOffsets;
    int wordIndex = 0;      // words completed
    int burstRemaining = 2; // words left before the next stall

    int editCount = 0; // deferred typos and counted edits since the last sentence end
    QHash<QString, int> errorCooldowns;
    // Line breaks and tabs of the text the field could not take.
    int leftOutReturns = 0;
    int leftOutTabs = 0;
    int returnsAsSpaces = 0; // left-out line breaks typed as a space
    int immediateTypos = 0;
    int deferredTypos = 0;
    int typoCount() const { return immediateTypos + deferredTypos; }

    QString prev = QString(QChar(0));
    QString prevPrev = QString(QChar(0));
    bool lastWasSpace = false;

    int focusCheckCounter = 0;
    bool focusChecksEnabled = false;
    int keysSinceRetype = 0;
    int keysSinceParagraph = 0;

    int sentenceIndex = 0;
    int sentencePos = 0;
    int sentenceStart = 0;
    int sentenceLength = 1;
    bool headingLine = false;

    bool earlyTypoDone = false;
    bool longPauseDone = false;
    bool sentenceErrorDone = false;
};

} // namespace qv::engine
