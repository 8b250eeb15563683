#pragma once

#include "engine/DeferredError.h"
#include "engine/EndOfRun.h"
#include "engine/KeyOutput.h"
#include "platform/Element.h"

#include <QList>
#include <QString>

#include <functional>

namespace qv::engine {

// Where a run's diagnostic lines go ("step: key=value ..."); empty drops them.
using DebugSink = std::function<void(const QString &line)>;
// (characters of the text now typed, counted from its beginning; total)
using ProgressSink = std::function<void(int done, int total)>;

// Everything the caller decides about one typing run. Built once by the
// caller and handed through unchanged; every field has a usable default, so
// callers name only what they set.
struct RunOptions {
    QString text = {};                         // line breaks in any convention
    QString grade = QStringLiteral("12");      // the writer's grade profile
    QString review = QStringLiteral("medium"); // "light", "medium" or "heavy"
    bool humanize = false;                     // typos, rewordings and their repairs
    int targetWpm = 60;
    platform::Element target = {}; // null: the focused element
    int startIndex = 0;            // first character typed (clamped)
    // Typos a stopped run of the job left in the text in front of
    // `startIndex`, for a review it never reached (StoppedRun::typos).
    QList<DeferredError> earlierTypos = {};
    StopFlag stopFlag = {};        // empty: never stops
    PauseFlag pauseFlag = {};      // empty: never pauses
    ProgressSink onProgress = {};
    PhaseSink onPhase = {};
    DebugSink onDebug = {};
};

} // namespace qv::engine
