#include "engine/EndOfRun.h"

#include "engine/EndReview.h"
#include "engine/FieldCheck.h"
#include "engine/RepairRules.h"
#include "engine/ResumedPrefixRepair.h"
#include "engine/SegmentVerifier.h"
#include "engine/TypingEngine.h"
#include "platform/Platform.h"
#include "platform/Workspace.h"

namespace qv::engine {

namespace {
// The procedures read the clipboard permission from the engine; it is the
// caller's for their duration and given back afterwards.
class ClipboardPermission {
public:
    ClipboardPermission(TypingEngine &engine, bool allowed) : m_engine(engine), m_before(engine.allowClipboardOps)
    {
        engine.allowClipboardOps = allowed;
    }
    ~ClipboardPermission() { m_engine.allowClipboardOps = m_before; }
    ClipboardPermission(const ClipboardPermission &) = delete;
    ClipboardPermission &operator=(const ClipboardPermission &) = delete;

private:
    TypingEngine &m_engine;
    bool m_before;
};

bool stopped(const StopFlag &stopFlag) { return stopFlag && stopFlag(); }

const QString kRewrittenByTarget = QStringLiteral(
    "the application rewrote what was typed (typographic quotes or dashes), which no repair undoes");

// Keys go to whatever has the focus: caret keys only while the run's
// application is in front (a run without one checks nothing) with a text
// box focused. A stop does not forbid them: they only move the caret.
bool mayPressCaretKeys(TypingEngine &engine)
{
    ElementAccess &elements = engine.elements();
    if (!elements.isTextInputElementRelaxed(elements.focusedElement()))
        return false;
    const std::optional<qint64> runPid = engine.keyGate().requiredPid();
    if (!runPid)
        return true;
    const std::optional<platform::AppInfo> front = engine.platform().workspace().frontmostApplication();
    return front && front->pid == *runPid;
}

// Leaves a collapsed caret at `position` of `live` (the field's text): the
// confirmed caret write, and where that does not hold, Right to collapse a
// selection that stands and arrows to get there.
QCoro::Task<> leaveCaretAt(TypingEngine &engine, platform::Element element, qint64 position, QString live)
{
    ElementAccess &elements = engine.elements();
    const platform::TextRange wanted{position, 0};
    if (elements.selectedTextRange(element) == wanted)
        co_return;
    const bool placed = co_await elements.placeCaretConfirmed(position, element);
    const std::optional<platform::TextRange> range = elements.selectedTextRange(element);
    if (placed && (!range || *range == wanted))
        co_return;
    if (!mayPressCaretKeys(engine)) {
        engine.debug(QStringLiteral("caret: not at %1 and no keys may be sent").arg(position));
        co_return;
    }
    if (range && range->length > 0) {
        co_await engine.keys().sendKey(SpecialKey::Right);
        co_await elements.waitForCaret(range->end(), element);
    }
    const bool there = co_await elements.moveCursor(position, live, element, {});
    if (!there)
        engine.debug(QStringLiteral("caret: could not be left at %1").arg(position));
}

// The field as the repairs left it, compared with what it should hold.
// Besides the characters really off, what the application rewrote.
QString rewritesToo(const FieldComparison &compared)
{
    return compared.rewritten > 0
               ? QStringLiteral("; besides, the application rewrote %1 characters as they were typed")
                     .arg(compared.rewritten)
               : QString();
}

void checkWholeField(TypingEngine &engine, const QString &live, const QString &intended)
{
    if (live == intended)
        return;
    const FieldComparison compared = compareField(live, intended);
    if (compared.off == 0)
        engine.reportFieldDiffers(kRewrittenByTarget, differingCharacters(live, intended));
    else
        engine.reportFieldDiffers(QStringLiteral("the text box holds %1 units where the project has %2, "
                                                 "first differing at %3")
                                          .arg(live.size())
                                          .arg(intended.size())
                                          .arg(commonPrefixLength(compared.accepted, live))
                                      + rewritesToo(compared),
                                  compared.off);
}

// The run's segment: up to the text that stood after the insertion point
// while that still ends the field (so a character too many or too few
// shows), else as long as the target. The text after it is not the run's.
void checkSegment(TypingEngine &engine, const QString &live, qint64 start, const QString &target,
                  const std::optional<QString> &after)
{
    const bool bounded = after && live.endsWith(*after) && live.size() - after->size() >= start;
    const qint64 length = bounded ? live.size() - after->size() - start : target.size();
    const QString have = live.mid(start, length);
    if (have == target)
        return;
    const FieldComparison compared = compareField(have, target);
    if (compared.off == 0)
        engine.reportFieldDiffers(kRewrittenByTarget, differingCharacters(have, target));
    else
        engine.reportFieldDiffers(QStringLiteral("the typed segment at %1 does not read as the project, "
                                                 "first differing at %2")
                                          .arg(start)
                                          .arg(start + commonPrefixLength(compared.accepted, have))
                                      + rewritesToo(compared),
                                  compared.off);
}

const QString kUnreadable = QStringLiteral("the text box cannot be read back");

// The whole field when accessibility cannot read it: select-all and copy,
// then Right, which collapses the selection at the end of the text (no
// caret write is trusted to). Unread: the run was not checked.
QCoro::Task<> checkWholeFieldByClipboard(TypingEngine &engine, ExactMatchRepair &reader, QString intended,
                                         StopFlag stopFlag)
{
    if (stopped(stopFlag))
        co_return;
    if (!engine.allowClipboardOps) {
        engine.reportFieldUnchecked(kUnreadable);
        co_return;
    }
    const ClipboardRead copied = co_await reader.readAll(stopFlag);
    const std::optional<QString> live = copied.value();
    if (copied.outcome != ClipboardRead::Outcome::NotRead && copied.outcome != ClipboardRead::Outcome::Withheld
        && mayPressCaretKeys(engine))
        co_await engine.keys().sendKey(SpecialKey::Right);
    if (stopped(stopFlag))
        co_return;
    if (live)
        checkWholeField(engine, *live, intended);
    else
        engine.reportFieldUnchecked(kUnreadable + QStringLiteral(", through accessibility or a copy"));
}

// Until the keys the run sent have landed in a field where it typed a
// segment (see ElementAccess::waitForFieldQuiet).
QCoro::Task<> settleSegment(TypingEngine &engine, platform::Element element, QString target, bool readableBefore,
                            StopFlag stopFlag)
{
    if (stopped(stopFlag))
        co_return;
    const bool quiet = co_await engine.elements().waitForFieldQuiet(
        element, [&target](const QString &text) { return text.contains(target); }, readableBefore, stopFlag);
    if (!quiet)
        engine.debug(QStringLiteral("end: the field did not settle before the check"));
}
} // namespace

// Accessibility may read a document otherwise than it holds it (a word
// processor's paragraph that goes on on the next page reads as two, with a
// line break between): before a field is said to hold text off what the run
// meant, the editor's own copy is asked (select-all, copy, then Right to
// collapse the selection at the end), and where it holds nothing off, it is
// what the check goes by. False when the copy was not made or does not
// settle it.
QCoro::Task<bool> checkedByCopy(TypingEngine &engine, ExactMatchRepair &reader, QString live, QString intended,
                                StopFlag stopFlag)
{
    if (!engine.allowClipboardOps || stopped(stopFlag) || compareField(live, intended).off == 0
        || !mayPressCaretKeys(engine))
        co_return false;
    const ClipboardRead copied = co_await reader.readAll(stopFlag);
    if (copied.outcome != ClipboardRead::Outcome::NotRead && copied.outcome != ClipboardRead::Outcome::Withheld)
        co_await engine.keys().sendKey(SpecialKey::Right);
    std::optional<QString> copy = copied.value();
    if (!copy || stopped(stopFlag))
        co_return false;
    // Editors end a copied document with a line break of their own.
    if (copy->endsWith(QLatin1Char('\n')) && !intended.endsWith(QLatin1Char('\n')))
        copy->chop(1);
    const FieldComparison compared = compareField(*copy, intended);
    if (compared.off != 0)
        co_return false;
    engine.debug(QStringLiteral("check: the editor's own copy holds nothing off, accessibility read %1 units for %2")
                     .arg(live.size())
                     .arg(copy->size()));
    checkWholeField(engine, *copy, intended);
    co_return true;
}

QCoro::Task<> endReview(TypingEngine &engine, EndReviewArgs args)
{
    const ClipboardPermission permission(engine, args.allowClipboardOps);
    const StopFlag stopFlag = args.stopFlag;
    const platform::Element element = args.element;
    const QString intended = args.intendedText;
    EndReview review(engine, std::move(args));
    co_await review.run();
    // The check reads the field only once the review's keys have landed: a
    // busy application takes them late and meanwhile answers nothing.
    if (review.wentToTheField() && !stopped(stopFlag)) {
        const bool quiet = co_await engine.elements().waitForFieldQuiet(
            element, [&intended](const QString &text) { return compareField(text, intended).off == 0; },
            review.readTheField(), stopFlag);
        if (!quiet)
            engine.debug(QStringLiteral("end: the field did not settle before the check"));
    }
    // Also after a stop: the caret never stays inside the text.
    ExactMatchRepair reader(engine);
    const std::optional<QString> live = co_await reader.readLiveText(element);
    if (!live) {
        co_await checkWholeFieldByClipboard(engine, reader, intended, stopFlag);
        co_return;
    }
    if (review.keysMayBePending())
        engine.debug(QStringLiteral("caret: keys may still be on their way, left where they take it"));
    else
        co_await leaveCaretAt(engine, element, live->size(), *live);
    if (stopped(stopFlag))
        co_return;
    // Keys still on their way would land in the select-all.
    if (!review.keysMayBePending() && co_await checkedByCopy(engine, reader, *live, intended, stopFlag))
        co_return;
    checkWholeField(engine, *live, intended);
}

namespace {
// The segment where no repair may touch it: the text around it changed in a
// way that keys of the run and text of the user's cannot be told apart.
// Checked as it stands, and only where the start is sure: the text in front
// of it is as it was.
QCoro::Task<> checkUnrepaired(TypingEngine &engine, SegmentArgs args, SegmentPlace place)
{
    engine.debug(QStringLiteral("finalizeInsertedSegment: the text around the segment changed (%1), nothing repaired")
                     .arg(place.frontIntact ? QStringLiteral("after it") : QStringLiteral("in front of it")));
    if (!args.earlierText.isEmpty()) {
        const QString why = QStringLiteral("the text in front of the insertion point changed during the run");
        TypingEngine::EarlierTextLeft left;
        left.reason = why;
        engine.reportEarlierTextLeft(left);
        engine.reportFieldUnchecked(QStringLiteral("the text in front of the resumed run: ") + why);
    }
    ExactMatchRepair reader(engine);
    const std::optional<QString> live = co_await reader.readLiveText(args.element);
    if (stopped(args.stopFlag))
        co_return;
    if (!live) {
        engine.reportFieldUnchecked(kUnreadable);
        co_return;
    }
    if (place.frontIntact) {
        checkSegment(engine, *live, place.start, args.targetText, args.textAfter);
        co_return;
    }
    if (place.end)
        engine.reportFieldDiffers(QStringLiteral("the typed text does not stand whole before the text that followed "
                                                 "the insertion point; the text in front of it changed during the "
                                                 "run (a click into it?)"));
    else
        engine.reportFieldUnchecked(QStringLiteral("the text around the insertion point changed during the run, so "
                                                   "where the typed text stands cannot be told"));
}
} // namespace

QCoro::Task<> finalizeInsertedSegment(TypingEngine &engine, SegmentArgs args)
{
    const ClipboardPermission permission(engine, args.allowClipboardOps);
    // The segment is looked for, checked and repaired only once the typed
    // keys have landed.
    const bool readable = args.textBefore.has_value();
    co_await settleSegment(engine, args.element, args.targetText, readable, args.stopFlag);
    std::optional<SegmentPlace> place;
    if (args.insertionStartHint && args.textBefore) {
        const platform::Element field = args.element.isNull() ? engine.elements().focusedElement() : args.element;
        if (const std::optional<QString> live = engine.elements().readFocusedText(field)) {
            place = placeSegment(*live, *args.insertionStartHint, args.textBefore, args.textAfter, args.targetText,
                                 args.caretMoved);
            if (place->start != *args.insertionStartHint)
                engine.debug(QStringLiteral("finalizeInsertedSegment: text in front moved the start from %1 to %2")
                                 .arg(*args.insertionStartHint)
                                 .arg(place->start));
            args.insertionStartHint = place->start;
        }
    }
    if (place && !place->mayRepair) {
        co_await checkUnrepaired(engine, std::move(args), *place);
        co_return;
    }
    // The earlier text stands in front of the segment: fixing it first keeps
    // the segment's start true (moved by any change of length) and leaves
    // the caret to the segment check, as on every other run.
    if (!args.earlierText.isEmpty()) {
        ResumedPrefixRepair prefix(engine, args);
        const qint64 moved = co_await prefix.run();
        if (args.insertionStartHint)
            *args.insertionStartHint += moved;
    }
    const StopFlag stopFlag = args.stopFlag;
    const platform::Element element = args.element;
    const QString target = args.targetText;
    const std::optional<QString> after = args.textAfter;
    SegmentVerifier verifier(engine, std::move(args));
    co_await verifier.run();
    co_await settleSegment(engine, element, target, readable, stopFlag);
    ExactMatchRepair reader(engine);
    const std::optional<QString> live = co_await reader.readLiveText(element);
    if (!live) {
        if (!stopped(stopFlag))
            engine.reportFieldUnchecked(kUnreadable);
        co_return;
    }
    // The typed text ends where the text that stood after it begins; the
    // check's own account stands in when that text is unknown or changed.
    std::optional<qint64> end = verifier.caretAfterSegment();
    if (after && live->endsWith(*after))
        end = live->size() - after->size();
    if (end)
        co_await leaveCaretAt(engine, element, *end, *live);
    if (stopped(stopFlag))
        co_return;
    if (verifier.segmentStart())
        checkSegment(engine, *live, *verifier.segmentStart(), target, after);
    else
        engine.reportFieldUnchecked(QStringLiteral("where the typed text begins in the text box is not known"));
}

} // namespace qv::engine
