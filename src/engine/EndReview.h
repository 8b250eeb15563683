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

private:
    // Each stage answers false when the review ends there.
    QCoro::Task<> stages();
    QCoro::Task<bool> fixTypos();
    QCoro::Task<bool> editSentences();
    QCoro::Task<bool> retypeTail();
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
    QString m_tracked;
    EditGate m_gate;
    ExactMatchRepair m_repair;
    bool m_touched = false;
};

} // namespace qv::engine
