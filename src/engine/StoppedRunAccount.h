#pragma once

#include "engine/DeferredError.h"
#include "engine/RunOutcome.h"

#include <QList>
#include <QString>

#include <optional>

namespace qv::engine {

// What a run stopped in its keystroke loop knows of the field and of what it
// typed there, for working out where its job really stands.
struct StopFacts {
    QString live = {};                         // the field's text once its keys settled
    std::optional<qint64> insertionStart = {}; // where the run's keys began (UTF-16)
    std::optional<QString> textBefore = {};    // the field in front of it at set-up
    std::optional<QString> textAfter = {};     // the field after it at set-up
    QString buffer = {};                       // the run's own account of its keys
    QList<DeferredError> deferredErrors = {};  // buffer offsets
    int start = 0;                             // the character of the text the run began at
    int typedCount = 0;                        // characters counted as typed, from the text's start
    QList<DeferredError> earlierTypos = {};    // typos it was handed in the text in front of it
    // A key the run could not take back, right after the buffer (RunState).
    std::optional<DeferredError> strayKey = {};
    qint64 earlierLength = 0; // units that text takes in the field, typos included
};

// Where the job stands in the field: the run's keys are found right after
// the text that stood in front of them; the characters of its buffer that
// are not there never landed and are not counted, and only the typos that
// stand in the field are passed on. Absent when the field no longer tells
// (the text around the run's keys changed).
std::optional<StoppedRun> accountForStop(const StopFacts &facts);

} // namespace qv::engine
