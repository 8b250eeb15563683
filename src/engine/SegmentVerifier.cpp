#include "engine/SegmentVerifier.h"

#include "core/Scheduler.h"
#include "core/Text.h"
#include "engine/FieldCheck.h"
#include "engine/RepairRules.h"
#include "engine/TypingEngine.h"
#include "platform/Platform.h"

#include <algorithm>

namespace qv::engine {

using platform::Attribute;

SegmentVerifier::SegmentVerifier(TypingEngine &engine, SegmentArgs args)
    : m_engine(engine), m_args(std::move(args)),
      m_gate(engine, m_args.requiredPid, m_args.stopFlag, m_args.pauseFlag, m_args.onPhase), m_repair(engine)
{
}

QCoro::Task<> SegmentVerifier::run()
{
    co_await verify();
    if (m_finalCaret)
        co_await m_engine.elements().placeCaretConfirmed(*m_finalCaret, m_target);
}

void SegmentVerifier::safetyAbort()
{
    m_engine.debug(QStringLiteral("finalizeInsertedSegment: safety abort (low prefix match)"));
}

QCoro::Task<std::optional<QString>> SegmentVerifier::readSegment()
{
    if (auto text = m_engine.elements().readSelectedText(m_target))
        co_return text;
    if (!m_args.allowClipboardOps)
        co_return std::nullopt;
    const ClipboardRead copied = co_await m_engine.readSelectionViaClipboard(m_args.stopFlag);
    co_return copied.value();
}

QCoro::Task<> SegmentVerifier::verify()
{
    if (stopped())
        co_return;
    const bool open = co_await m_gate.pass();
    if (!open)
        co_return;

    ElementAccess &elements = m_engine.elements();
    m_target = m_args.element.isNull() ? elements.focusedElement() : m_args.element;
    if (m_target.isNull())
        co_return;
    if (m_engine.platform().accessibility().isSettable(m_target, Attribute::SelectedTextRange) != true)
        co_return;
    if (!elements.isTextWhole(m_target)) {
        // Offsets into a part of the text would select the wrong thing.
        m_engine.debug(QStringLiteral("finalizeInsertedSegment: field not wholly readable, not checked"));
        co_return;
    }

    const QString &target = m_args.targetText;
    const qint64 typedLen = m_args.typedLen;
    qint64 start = 0;
    if (m_args.insertionStartHint) {
        start = *m_args.insertionStartHint;
    } else {
        const std::optional<qint64> caret = elements.caretPosition(m_target);
        if (!caret)
            co_return;
        start = *caret - std::max<qint64>(typedLen, 0);
    }
    m_start = start = std::max<qint64>(start, 0);
    m_startKnown = true;
    m_engine.debug(QStringLiteral("finalizeInsertedSegment: insertionStart=%1 typedLen=%2 targetLen=%3")
                       .arg(start)
                       .arg(typedLen)
                       .arg(text::graphemeCount(target)));

    qint64 segLen = std::max<qint64>(typedLen, 0);
    const qint64 T = target.size();
    // Read in place first: a document's selection cannot always span its
    // paragraphs, and a segment that reads right needs none.
    const std::optional<QString> live = elements.readFocusedText(m_target);
    if (live) {
        const QString typed = live->mid(start, T);
        if (typed == target || rewrittenByTarget(typed, target)) {
            m_finalCaret = start + T;
            co_return;
        }
    }
    // The text that stood after the insertion point bounds what may be
    // selected: none of it is ever taken for the segment.
    if (m_args.textAfter) {
        const std::optional<qint64> end = live ? segmentEnd(*live) : std::nullopt;
        if (!end) {
            m_engine.debug(QStringLiteral("finalizeInsertedSegment: the text after the segment is not as it was, "
                                          "nothing repaired"));
            co_return;
        }
        segLen = *end - start;
    }
    const bool segmentSelected = co_await m_repair.selectConfirmed({start, segLen}, m_target);
    if (!segmentSelected)
        co_return;
    m_finalCaret = start + T;

    const std::optional<QString> segment = co_await readSegment();
    if (!segment)
        co_return;
    const qint64 S = segment->size();
    if (*segment == target || rewrittenByTarget(*segment, target))
        co_return;

    if (segmentOverwriteRefused(*segment, target)) {
        safetyAbort();
        m_finalCaret = start + segLen;
        co_return;
    }
    if (foreignTextInTheWay(*segment, false)) {
        m_finalCaret = start + segLen;
        co_return;
    }
    const MiddleDiff diff = diffMiddle(*segment, target);

    KeyOutput &keys = m_engine.keys();
    const bool middleSelected = co_await m_repair.selectConfirmed({start + diff.prefix, diff.liveMid}, m_target);
    if (middleSelected) {
        if (stopped())
            co_return;
        if (!diff.targetMiddle.isEmpty()) {
            co_await keys.retypeText(diff.targetMiddle, {});
        } else if (diff.liveMid >= 1) {
            co_await keys.sendKey(SpecialKey::Delete);
            co_await m_engine.scheduler().sleep(80);
        }
        co_await postVerify(S);
        co_return;
    }

    if (foreignTextInTheWay(*segment, true))
        co_return;
    // Bounded, the segment read is all there is to type over.
    const qint64 over = m_args.textAfter ? S : std::max(S, T);
    const bool wholeSelected = co_await m_repair.selectConfirmed({start, over}, m_target);
    if (!wholeSelected)
        co_return;
    if (stopped())
        co_return;
    if (target.isEmpty())
        co_await keys.sendKey(SpecialKey::Delete);
    else
        co_await keys.retypeText(target, {});
    co_await checkReplaced();
}

bool SegmentVerifier::foreignTextInTheWay(const QString &segment, bool whole)
{
    if (!m_args.typedText || !repairTouchesForeignText(segment, *m_args.typedText, m_args.targetText, whole))
        return false;
    m_engine.debug(QStringLiteral("finalizeInsertedSegment: the repair would take text the run did not type, "
                                  "nothing repaired"));
    return true;
}

std::optional<qint64> SegmentVerifier::segmentEnd(const QString &live) const
{
    return afterTextStart(live, *m_args.textAfter, m_start, m_args.caretMoved);
}

QCoro::Task<bool> SegmentVerifier::segmentLanded()
{
    const QString &target = m_args.targetText;
    ElementAccess &elements = m_engine.elements();
    for (int waited = 0;; waited += ElementAccess::kCaretPollMs) {
        const std::optional<QString> live = elements.readFocusedText(m_target);
        if (!live || live->mid(m_start, target.size()) == target)
            co_return true;
        if (waited >= ElementAccess::kCaretWaitMs)
            co_return false;
        co_await m_engine.scheduler().sleep(ElementAccess::kCaretPollMs);
    }
}

QCoro::Task<> SegmentVerifier::checkReplaced()
{
    const bool landed = co_await segmentLanded();
    if (!landed)
        m_engine.debug(QStringLiteral("finalizeInsertedSegment: replacement not read back"));
}

QCoro::Task<> SegmentVerifier::postVerify(qint64 readLength)
{
    const QString &target = m_args.targetText;
    const qint64 T = target.size();
    // A caret write must not overtake the keys of the fix.
    co_await segmentLanded();
    co_await m_engine.elements().placeCaretConfirmed(m_start + T, m_target);
    if (stopped())
        co_return;
    const bool segmentSelected = co_await m_repair.selectConfirmed({m_start, T}, m_target);
    if (!segmentSelected)
        co_return;
    const std::optional<QString> segment = co_await readSegment();
    if (!segment || *segment == target || rewrittenByTarget(*segment, target) || stopped())
        co_return;
    if (segmentOverwriteRefused(*segment, target)) {
        safetyAbort();
        co_return;
    }
    qint64 over = std::max(readLength, T);
    if (m_args.textAfter) {
        // What the fix left may be longer or shorter than the target: the
        // segment is what stands in front of the text after it.
        const std::optional<QString> live = m_engine.elements().readFocusedText(m_target);
        const std::optional<qint64> end = live ? segmentEnd(*live) : std::nullopt;
        if (!end) {
            m_engine.debug(QStringLiteral("finalizeInsertedSegment: the text after the segment is not as it was, "
                                          "nothing repaired"));
            co_return;
        }
        over = *end - m_start;
        if (foreignTextInTheWay(live->mid(m_start, over), true))
            co_return;
    }
    m_engine.debug(QStringLiteral("finalizeInsertedSegment: post-verify mismatch, replacing segment"));
    const bool wholeSelected = co_await m_repair.selectConfirmed({m_start, over}, m_target);
    if (!wholeSelected)
        co_return;
    if (target.isEmpty())
        co_await m_engine.keys().sendKey(SpecialKey::Delete);
    else
        co_await m_engine.keys().retypeText(target, {});
    co_await checkReplaced();
}

} // namespace qv::engine
