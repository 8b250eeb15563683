#pragma once

#include "engine/Profiles.h"
#include "engine/RunOptions.h"
#include "platform/Element.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace qv::engine {

// What a typing run fixes at set-up and never changes afterwards.
struct RunParams {
    QString text;          // the whole text, line breaks as "\n"
    int textLength = 0;    // its characters (grapheme clusters)
    int start = 0;         // first character typed, clamped into the text
    QStringList remaining; // the characters typed by this run, in order
    int total = 1;         // max(textLength, 1)

    RunOptions options; // as the caller gave them
    GradeProfile profile;
    StyleProfile style;
    ReviewLevel reviewNumbers; // with their humanize values
    int editBudget = 0;        // deferred typos and counted edits per sentence
    int forcedErrorEvery = 1;
    int minErrors = 2;

    // The application in front at set-up; absent: no front checks at all.
    std::optional<qint64> requiredPid;
    platform::Element probeElement;
    bool confirmedEditable = false;
    // The probed field's value is all of its text (not one paragraph of a
    // document the desktop could not put together).
    bool textWhole = true;
    bool ownsWholeField = false;
    bool allowDeferred = false;
    int maxDeferred = 0;
    // Start of the selection read at set-up (where the typed text begins).
    std::optional<qint64> insertionStartHint;
    // The field's text before and after the selection read at set-up (the
    // typed text replaces the selection and stands between them).
    std::optional<QString> textBeforeInsertion;
    std::optional<QString> textAfterInsertion;

    QList<int> sentenceLengths; // characters of each sentence of `remaining`
    int sentenceErrorAt = 0;    // words before the once-per-run sentence pause
    int longPauseOffset = 0;
    int microEditOffset = 0;
    int rethinkOffset = 0;
    int microPauseOffset = 0;
    int earlyTypoOffset = 0;

    int remainingCount() const { return int(remaining.size()); }
    // The character of `remaining` at `index`, empty outside it.
    QString charAt(int index) const { return index >= 0 && index < remaining.size() ? remaining.at(index) : QString(); }
};

} // namespace qv::engine
