#pragma once

#include "engine/DeferredError.h"
#include "engine/KeyOutput.h"
#include "engine/Profiles.h"
#include "engine/RunPhase.h"
#include "platform/Element.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace qv::engine {

class TypingEngine;

using PauseFlag = std::function<bool()>;
using PhaseSink = std::function<void(RunPhase phase)>;

// What the end-of-run review gets when the run owns the whole field.
struct EndReviewArgs {
    QString *buffer = nullptr;   // the typed buffer, in-out; outlives the task
    QList<DeferredError> errors; // typos left in the field for the review
    ReviewLevel review;
    QString intendedText; // what the field must finally hold
    bool enforceExact = true;
    StopFlag stopFlag;
    PauseFlag pauseFlag;
    PhaseSink onPhase;
    std::optional<qint64> requiredPid; // absent when no application was in front at the start
    platform::Element element;         // the element examined at set-up (may be null)
    bool allowClipboardOps = false;
};

// What the verification of an inserted segment gets when the run typed
// into a field that already held other text.
struct SegmentArgs {
    std::optional<qint64> insertionStartHint; // selection start read at set-up, UTF-16
    qint64 typedLen = 0;                      // UTF-16 length of the corrected text
    QString targetText;                       // the corrected text
    StopFlag stopFlag;
    PauseFlag pauseFlag;
    PhaseSink onPhase;
    std::optional<qint64> requiredPid;
    platform::Element element;
    bool allowClipboardOps = false;
    // The job's text in front of this run's start, when the run resumed a
    // job (line breaks as typed): typos an earlier, stopped run left in it
    // are put right before the segment is checked. Empty: nothing to do.
    QString earlierText;
    // Typos a stopped run left in the earlier text (offsets from its start
    // in the field): they are the job's own and are put right whatever their
    // number.
    QList<DeferredError> earlierTypos;
    // The field's text after the insertion point at set-up, when it could
    // be read: while the field still ends with it, the segment ends where it
    // begins.
    std::optional<QString> textAfter;
    // The field's text in front of the insertion point at set-up, when it
    // could be read: text the user typed in front of it during the run
    // moves the segment, which is found again by it.
    std::optional<QString> textBefore;
    // The segment as the run's keys left it (its typed buffer, stray keys
    // and typos included), when known: a repair never deletes what the
    // segment holds beyond it (the user's typing at its edges, which the
    // field cannot tell from the run's).
    std::optional<QString> typedText;
    // The run saw its caret away from its text while it typed (a click):
    // its keys may stand in more than one place.
    bool caretMoved = false;
};

// The two repair procedures the end of a run hands the field to. Both leave
// a collapsed caret behind and never report Done themselves. Unless
// stopped, each ends by reading the field back: when it does not hold what
// the run meant to leave there (the whole field, or the typed segment), the
// engine is told the field differs and by how much.
QCoro::Task<> endReview(TypingEngine &engine, EndReviewArgs args);
QCoro::Task<> finalizeInsertedSegment(TypingEngine &engine, SegmentArgs args);

} // namespace qv::engine
