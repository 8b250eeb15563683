#pragma once

#include "engine/EndOfRun.h"
#include "engine/KeyOutput.h"
#include "engine/RunOptions.h"
#include "engine/RunParams.h"
#include "engine/RunState.h"
#include "engine/TypingEngine.h"

#include <QCoro/QCoroTask>
#include <QString>
#include <QStringList>

namespace qv::engine {

// One typing run: set-up, the keystroke loop and the end of the text with
// its hand-off to the repair. It lives in the frame of
// TypingEngine::typeText; the loop steps (TypoModel, KeyTiming,
// WordBoundaryActions, PausePlanner, InFlightEdits) read and change its
// state in the loop's order.
class TypingRun {
public:
    TypingRun(TypingEngine &engine, RunOptions options);
    TypingRun(const TypingRun &) = delete;
    TypingRun &operator=(const TypingRun &) = delete;

    // The whole run; clears the engine's per-run fields on every return.
    QCoro::Task<> run();

    TypingEngine &engine() { return m_engine; }
    const RunParams &params() const { return m_params; }
    RunState &state() { return m_state; }
    const StopFlag &stopFlag() const { return m_params.options.stopFlag; }
    bool stopRequested() const { return m_params.options.stopFlag && m_params.options.stopFlag(); }
    bool pauseRequested() const { return m_params.options.pauseFlag && m_params.options.pauseFlag(); }

    // CR LF and lone CR become LF: fields store line feeds, and one Return
    // is typed for each.
    static QString normalizeLineBreaks(const QString &text);

private:
    QCoro::Task<> setUp();
    // One pass of the loop; false leaves the loop.
    QCoro::Task<bool> typeCharacter(QString c);
    // Holds while the application of the start is not in front; false when
    // a stop ended the wait.
    QCoro::Task<bool> holdForFrontmost();
    // False when a stop ended the focus wait.
    QCoro::Task<bool> checkFocus();
    // The typo step; false when a stop came after a corrected wrong key.
    QCoro::Task<bool> typoStep(QString &k, const QString &c);
    QCoro::Task<> humanTouches(const QString &k, const QString &c);
    // Deletes `key`, just sent after the buffer, while the caret still
    // stands after the run's own text; else it stays in the buffer as a
    // stray key (a deferred error with nothing to put in its place). True
    // when it was deleted.
    QCoro::Task<bool> takeBack(QString key);
    QCoro::Task<> endOfText();
    // After a stop in the loop: where the job stands is what landed in the
    // field once the keys settled (TypingEngine::lastStop).
    QCoro::Task<> settleStop();
    // Waits until the target has taken every key and the last copy has
    // landed; a field not read whole is reported as not verified.
    QCoro::Task<> settleEnd();
    bool frontmostIsRequired();
    // The text as the field takes it: without the tabs it cannot take, and
    // each line break it cannot take as one space (none beside a space).
    QString withoutLeftOut(const QString &text) const;
    // Whether a line break left out at `index` of `characters`, after
    // `before` (the character in front of it as typed), becomes a space: not
    // when a space stands beside it, so words never join and no space doubles.
    static bool spaceStandsIn(const QString &before, const QStringList &characters, int index);
    // Types the space for the line break in hand when one stands in; true
    // when the gate held it (a stop).
    QCoro::Task<bool> spaceForLineBreak();
    void reportLeftOut();
    void phase(RunPhase name);
    void progress();

    TypingEngine &m_engine;
    RunParams m_params;
    RunState m_state;
};

} // namespace qv::engine
