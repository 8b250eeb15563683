#pragma once

#include "engine/BufferEdits.h"
#include "engine/CarriedIndent.h"
#include "engine/ClipboardRead.h"
#include "engine/DeferredError.h"
#include "engine/ElementAccess.h"
#include "engine/EndOfRun.h"
#include "engine/KeyOutput.h"
#include "engine/OwnedTail.h"
#include "engine/Profiles.h"
#include "engine/RunKeyGate.h"
#include "engine/RunOptions.h"
#include "engine/RunOutcome.h"
#include "engine/WholeCluster.h"
#include "engine/WordTables.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace qv {
class Random;
class Scheduler;
namespace platform {
class Platform;
}
} // namespace qv

namespace qv::engine {

class PasteboardSnapshot;

// The typing engine: types a prepared text into another application's text
// element like a person, then verifies and repairs it. The application state
// creates one and drives it only through the typing run.
//
// Structure
// - Pure rules, testable without a desktop: WordTables (word and key
//   tables), Profiles.h (grade, style and review profiles, word speeds,
//   sentence ranges), Rewording.h (sentence and word rewrites, headings),
//   BufferEdits.h (typed-buffer edits and deferred typos).
// - KeyOutput: key output, Backspace runs and stop-aware waits; every key
//   passes the RunKeyGate, which holds keys while the run's application or
//   a text input is not in front and keeps Return and Tab out of fields
//   that cannot take them.
// - ElementAccess: accessibility element discovery and text access; owns
//   the FocusMonitor, created on the first focus lookup.
// - This class: the per-run fields (debug sink, clipboard permission), the
//   clipboard reads, and the tail rewrite that keeps the buffer true. The
//   typing run (its entry point, its loop state struct and the end-of-run
//   review) builds on these members.
//
// Collaborators are held by reference and must outlive the engine; the
// engine must outlive every task it returns. Everything runs on the GUI
// thread. No operation throws: helpers answer false or nothing and an abort
// writes one diagnostic line.
class TypingEngine {
public:
    using DebugSink = engine::DebugSink;
    using ProgressSink = engine::ProgressSink;
    // The run's parameter types, under the names the engine's callers use.
    using StyleProfile = engine::StyleProfile;
    using ReviewLevel = engine::ReviewLevel;
    using SpecialKey = engine::SpecialKey;

    TypingEngine(platform::Platform &platform, Scheduler &scheduler, Random &random);
    ~TypingEngine();
    TypingEngine(const TypingEngine &) = delete;
    TypingEngine &operator=(const TypingEngine &) = delete;

    // --- The typing run.
    // Types `options.text` from the character `options.startIndex` on
    // (clamped) into `options.target` (null: the focused element), then
    // repairs the field.
    // Progress counts characters from the beginning of the text; phases are
    // Typing, Paused, Editing, then Done, or Differs when the
    // field read back at the end does not hold what the run meant to leave
    // there, or Unchecked when it could not be read back. A stop returns at once and reports no phase of its own. The
    // engine and every closure must outlive the task; one run at a time.
    QCoro::Task<> typeText(RunOptions options);
    // What the last run that reached its end asked the repair to leave in
    // the field: its text with CR LF and CR as LF without humanize, else the
    // text with its deferred typos corrected. Empty until then; a new run
    // clears it.
    const QString &lastIntendedText() const { return m_lastIntendedText; }
    // The line breaks and tabs of the text the last run left out of the
    // field because it could not take them, and why; a line break left out
    // is typed as a space unless one stands beside it. Zero until then; a
    // new run clears it.
    struct LeftOut {
        int returns = 0;
        int returnsAsSpaces = 0;
        RunKeyGate::Refusal returnsWhy = RunKeyGate::Refusal::None;
        int tabs = 0;
        RunKeyGate::Refusal tabsWhy = RunKeyGate::Refusal::None;
        int total() const { return returns + tabs; }
    };
    const LeftOut &lastLeftOut() const { return m_lastLeftOut; }
    // Why the field differed at the end of the last run that reported
    // Differs; absent after an exact end. A new run clears it.
    const std::optional<FieldDifference> &lastDifference() const { return m_difference; }
    // Why the last run could not check what it left in the field (it then
    // ends Unchecked unless the field was seen to differ); absent when it
    // could. A new run clears it.
    const std::optional<QString> &lastUncheckedReason() const { return m_unchecked; }
    // Records that the field could not be read back to check the run: the
    // run then never ends in Done.
    void reportFieldUnchecked(const QString &reason);
    // A resumed run leaves the text in front of it as it stands when that
    // text is not the project's with a few typos (or cannot be checked):
    // whether it was read and differs, and why, for the run note. Absent
    // when it was exact or put right. A new run clears it.
    struct EarlierTextLeft {
        bool differs = false; // read, and not the project's text (else: not checked)
        QString reason;
        // The character of the project (counted from 1) where the field
        // first reads otherwise, when it was read.
        std::optional<int> firstDiffering;
    };
    const std::optional<EarlierTextLeft> &lastEarlierTextLeft() const { return m_earlierTextLeft; }
    void reportEarlierTextLeft(EarlierTextLeft left);
    // Where the last run, stopped while typing, left its job in the field;
    // absent when it was not stopped there or the field did not tell. The
    // run also reports that position as its last progress. A new run clears
    // it.
    const std::optional<StoppedRun> &lastStop() const { return m_lastStop; }
    // Records that the field does not hold what the run means to leave
    // there: the run then ends in Differs instead of Done. Every
    // report goes to the debug log; the latest count given stands.
    void reportFieldDiffers(const QString &reason, std::optional<int> characters = std::nullopt);

    // --- Per-run fields: set at the start of a run, cleared on every return.
    // Where diagnostic lines go ("step: key=value ..."); empty drops them.
    DebugSink debugSink;
    // Whether the run may read the field through select-all/copy. Set from
    // clipboardAllowedFor() of the run's target.
    bool allowClipboardOps = false;
    // Clears the per-run fields.
    void clearRunFields();

    // Writes one diagnostic line to the sink, when there is one.
    void debug(const QString &line) const;
    // "true" / "false", as diagnostic lines print Booleans.
    static QString boolText(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

    // --- Collaborators.
    const WordTables &words() const { return WordTables::standard(); }
    KeyOutput &keys() { return m_keys; }
    // The gate every key of the engine passes (open outside a run).
    RunKeyGate &keyGate() { return m_gate; }
    // Which of the run's typed text its Backspaces may still reach (watched
    // only while a run types into text of the user's).
    OwnedTail &ownedTail() { return m_owned; }
    ElementAccess &elements() { return m_elements; }
    platform::Platform &platform() { return m_platform; }
    Scheduler &scheduler() { return m_scheduler; }
    Random &random() { return m_random; }

    // --- Clipboard reads. Both act on the focused element of the frontmost
    // application and snapshot the clipboard before and restore it after.
    // Nothing is sent (NotRead) when the stop flag is set, when clipboard use
    // is not allowed, or when the focused element is a terminal (where the
    // shortcuts would select nothing useful and interrupt the user's
    // program).
    //
    // Whole field: select all, 110 ms, copy, 160 ms, read. The field's text
    // stays selected afterwards.
    QCoro::Task<ClipboardRead> readAllTextViaClipboard(StopFlag stopFlag);
    // The current selection: copy, 160 ms, read.
    QCoro::Task<ClipboardRead> readSelectionViaClipboard(StopFlag stopFlag);
    // Puts `text` in at the caret of the focused element by paste, for
    // characters the field drops when they come as keys: the clipboard is
    // snapshotted, given `text`, pasted, and put back once `element` shows
    // `expected` with the caret at `caretAfter` (or the wait for it gives
    // up, as a copy's does). True only when the field was read back so.
    // Gated like the reads; a field that cannot be read gets no paste.
    QCoro::Task<bool> pasteText(QString text, QString expected, platform::Element element, qint64 caretAfter,
                                StopFlag stopFlag);
    // Whether the run may use the clipboard on this target: it must take
    // text and must not be a terminal.
    bool clipboardAllowedFor(const platform::Element &target);

    // --- Buffer edits at the end of the field.
    // Deletes the last `deleteCount` units of what was typed (clamped, and
    // widened to a whole grapheme) with Backspace, types `replacement`, and
    // applies the same edit to `buffer`, re-anchoring `deferredErrors`.
    // `buffer` and `deferredErrors` belong to the caller and must outlive the
    // task. Stops as replaceTail does.
    QCoro::Task<> rewriteTail(int deleteCount, QString replacement, QString &buffer,
                              QList<DeferredError> &deferredErrors, StopFlag stopFlag);

    // One change of the typed buffer, made at the end of the field: the
    // buffer from `retypeFrom` (at most change.start; widened to a grapheme
    // boundary) to its end is deleted with Backspace and the changed text
    // from there is typed, so text after the change is retyped as it was.
    // Errors are re-anchored by the change alone, so typos behind it keep
    // their exact place. A stop seen before the first key does nothing; once
    // keys have begun the edit is finished, except that a stop during the
    // deletion retypes exactly what was deleted and leaves the buffer as it
    // was. Every key passes the key gate, so none lands in someone else's
    // document; a key it holds (a stop while it waited) abandons the edit
    // and the buffer keeps exactly what the field was left with. An edit
    // that would delete what is no longer right in front of the caret (see
    // OwnedTail) sends nothing. Answers whether the buffer was changed.
    struct TailChange {
        int start = 0;
        int deleteCount = 0;
        QString replacement;
    };
    QCoro::Task<bool> replaceTail(TailChange change, int retypeFrom, QString &buffer,
                                  QList<DeferredError> &deferredErrors, StopFlag stopFlag);

    // A copy that had not changed the clipboard when its read gave up may
    // still land: while one may, no further select-all or copy is sent
    // (Withheld), and the user's clipboard is put back if it does land.
    // With `wait`, waits out the rest of its window (the run's end);
    // otherwise only looks.
    // Once a read has put the user's clipboard back, the application may
    // still claim the clipboard again for the same copy (some do so twice,
    // a busy one late): the run's copy is then taken off again. That is
    // watched for the rest of the run, and at its end (`wait`) for
    // kCopyAgainWindowMs after the last put-back; a clipboard the user
    // changed meanwhile is left as it is.
    QCoro::Task<> settleLateCopy(bool wait);
    bool copyMayLandLate() const { return bool(m_lateCopy); }

    static constexpr double kSelectAllWaitMs = 110;
    static constexpr double kCopyWaitMs = 160;
    // How long a copy is waited for before the read gives up, and how long
    // afterwards it may still land.
    static constexpr double kCopyLandMs = 1500;
    static constexpr double kCopyPollMs = 50;
    static constexpr double kLateCopyWindowMs = 5000;
    static constexpr double kCopyAgainWindowMs = 3000;
    // The least half of a copied text that tells it from the field's text.
    static constexpr qsizetype kCopyHalfMin = 8;

private:
    QCoro::Task<ClipboardRead> readViaClipboard(bool selectAll, StopFlag stopFlag);
    // Whether a snapshot holds every type of the clipboard; says which not.
    bool savedWhole(const PasteboardSnapshot &snapshot) const;
    // Types each cluster with the retype spacing; answers the UTF-16 units
    // typed (fewer than all when the gate held or left out a key).
    QCoro::Task<int> typeClusters(QStringList clusters);

    friend class TypingRun;

    platform::Platform &m_platform;
    Scheduler &m_scheduler;
    Random &m_random;
    KeyOutput m_keys;
    CarriedIndent m_carriedIndent;
    WholeCluster m_wholeCluster;
    ElementAccess m_elements;
    RunKeyGate m_gate;
    OwnedTail m_owned;
    QString m_lastIntendedText;
    LeftOut m_lastLeftOut;
    std::optional<FieldDifference> m_difference;
    std::optional<QString> m_unchecked;
    std::optional<EarlierTextLeft> m_earlierTextLeft;
    std::optional<StoppedRun> m_lastStop;
    struct LateCopy {
        std::shared_ptr<const PasteboardSnapshot> snapshot;
        qint64 changeCount = 0;
        qint64 untilNs = 0;
    };
    std::optional<LateCopy> m_lateCopy;
    struct PutBack {
        std::shared_ptr<const PasteboardSnapshot> snapshot;
        qint64 changeCount = 0;
        std::optional<QString> usersText;
        QStringList copied; // what the run's copies held
        qint64 untilNs = 0;
        bool taken = false; // the clipboard was seen to read as the user's again
    };
    std::optional<PutBack> m_putBack;
    // Puts the user's clipboard back after a copy of the run's holding
    // `copied` (absent: unknown) and watches for that copy coming again.
    void putBack(std::shared_ptr<const PasteboardSnapshot> snapshot, std::optional<QString> copied);
    bool isRunsCopy(const QString &text);
};

} // namespace qv::engine
