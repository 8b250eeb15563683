#pragma once

#include "engine/EditGate.h"
#include "engine/EndOfRun.h"
#include "engine/ExactMatchRepair.h"

#include <QCoro/QCoroTask>
#include <QString>

#include <optional>

namespace qv::engine {

class TypingEngine;

// The review of a field the run owns, as a writer rereads the work: a pause,
// the typos left for later put right, a few final sentences reworded, the
// last characters retyped, then the field made equal to the intended text.
// Every edit passes the edit gate first; the review leaves a collapsed caret
// at the end of the text.
class EndReview {
public:
    EndReview(TypingEngine &engine, EndReviewArgs args);
    QCoro::Task<> run();
    // Keys of a fix were never seen taken: they may still land, and a caret
    // write now would overtake them.
    bool keysMayBePending() const { return m_keysPending; }
    // Whether the review went past its pause to the field, and whether it
    // read the field's text at least once.
    bool wentToTheField() const { return m_touched; }
    bool readTheField() const { return m_readTheField; }

    // How long a retyped tail that did not read back is given before the
    // field is read again, and how long keys of a fix that did not read
    // back are waited for at most.
    static constexpr double kFixSettleMs = 1000;
    static constexpr double kKeysSettleMs = 3000;
    // Fixes that do not take in a row before the rest are left to the final
    // repair.
    static constexpr int kFailedFixLimit = 2;

private:
    // Each stage answers false when the review ends there.
    QCoro::Task<> stages();
    QCoro::Task<bool> fixTypos();
    // One typo at `i` of `live`, tried once.
    enum class Fixed { Taken, NotTaken, Stopped };
    QCoro::Task<Fixed> fixTypo(QString live, int i, DeferredError fix);
    // After a fix that did not read back: one Right, then until the caret
    // shows it taken behind the fix's keys, with the field fixed or as it
    // was; Other when the field changed some other way and holds still,
    // Unknown when the keys never show taken.
    enum class Settled { Fixed, Unchanged, Other, Unknown };
    QCoro::Task<Settled> settleBehindArrow(QString live, QString fixed, int caretIfUnchanged, int caretIfFixed);
    QCoro::Task<bool> editSentences();
    QCoro::Task<bool> retypeTail();
    // The retyped tail did not read back: what is missing of it is typed
    // once more when the field shows only a cut-short tail.
    QCoro::Task<> repairTail(int start);
    QCoro::Task<> finalRepair();
    QCoro::Task<> clipboardPath();
    QCoro::Task<> leaveCaretAtEnd();

    bool stopped() const { return m_args.stopFlag && m_args.stopFlag(); }
    // The review's belief of the field, mirrored into the caller's buffer.
    void setTracked(const QString &text);
    QCoro::Task<> waitAfterEdit();
    // The field's text right before an edit; none when the review must end
    // there (stopped, the gate closed, or the text unreadable).
    QCoro::Task<std::optional<QString>> liveTextBeforeEdit();

    TypingEngine &m_engine;
    EndReviewArgs m_args;
    QString m_ownBuffer; // stands in when the caller passed no buffer
    QString *m_buffer;
    QString m_typed; // the buffer as the run typed it
    QString m_tracked;
    EditGate m_gate;
    ExactMatchRepair m_repair;
    bool m_touched = false;
    bool m_keysPending = false;
    bool m_readTheField = false;
};

} // namespace qv::engine
