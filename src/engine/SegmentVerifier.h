#pragma once

#include "engine/EditGate.h"
#include "engine/EndOfRun.h"
#include "engine/ExactMatchRepair.h"

#include <QCoro/QCoroTask>
#include <QString>

#include <optional>

namespace qv::engine {

class TypingEngine;

// Checks the segment a run typed into a field that already held other text
// and replaces only its differing middle. It refuses to overwrite a segment
// that differs too much from the text (the range then holds the user's own
// text, for instance after a click moved the caret), and it leaves a
// collapsed caret after the segment. Where the field's text after the
// insertion point is known, nothing of it is ever selected: the segment
// ends where it begins, and while the field no longer ends with it nothing
// is repaired.
class SegmentVerifier {
public:
    SegmentVerifier(TypingEngine &engine, SegmentArgs args);
    QCoro::Task<> run();
    // Where the segment begins in the field: as found by the check, else
    // the insertion point read at set-up; absent when neither is known.
    std::optional<qint64> segmentStart() const
    {
        return m_startKnown ? std::optional<qint64>(m_start) : m_args.insertionStartHint;
    }
    // Where the check left the caret: after the segment as it now stands.
    std::optional<qint64> caretAfterSegment() const { return m_finalCaret; }

private:
    QCoro::Task<> verify();
    // The selected segment's text: accessibility, then the clipboard.
    QCoro::Task<std::optional<QString>> readSegment();
    QCoro::Task<> postVerify(qint64 readLength);
    // After the whole segment was typed over: read back, for the debug log
    // (the end-of-run check decides the outcome).
    QCoro::Task<> checkReplaced();
    // Polls (bounded) until the field shows the target at the segment's
    // start; true at once when unreadable.
    QCoro::Task<bool> segmentLanded();
    void safetyAbort();
    // Where the segment ends in `live`: where the text that stood after the
    // insertion point begins (afterTextStart); absent when that is not
    // known. Only with that text known.
    std::optional<qint64> segmentEnd(const QString &live) const;
    // Whether the repair of `segment` (its middle, or `whole`) would delete
    // text the run's keys did not leave there; says so in the log.
    bool foreignTextInTheWay(const QString &segment, bool whole);
    bool stopped() const { return m_args.stopFlag && m_args.stopFlag(); }

    TypingEngine &m_engine;
    SegmentArgs m_args;
    EditGate m_gate;
    ExactMatchRepair m_repair;
    platform::Element m_target;
    qint64 m_start = 0;
    bool m_startKnown = false;
    std::optional<qint64> m_finalCaret; // set once the segment has been selected
};

} // namespace qv::engine
