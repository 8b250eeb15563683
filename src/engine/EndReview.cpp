#include "engine/EndReview.h"

#include "core/Random.h"
#include "core/Scheduler.h"
#include "core/Text.h"
#include "engine/FieldCheck.h"
#include "engine/RepairRules.h"
#include "engine/Rewording.h"
#include "engine/TypingEngine.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cstdlib>

namespace qv::engine {

using platform::Attribute;
using platform::Element;

namespace {
// The replacement keeps the blank space around the sentence it replaces:
// rewrites come back trimmed and would glue the sentence to the one before.
QString keepOuterSpace(const QString &original, const QString &replacement)
{
    const QString inner = text::trimmed(original);
    const qsizetype lead = original.indexOf(inner);
    if (inner.isEmpty() || lead < 0)
        return replacement;
    return original.left(lead) + text::trimmed(replacement) + original.mid(lead + inner.size());
}
} // namespace

EndReview::EndReview(TypingEngine &engine, EndReviewArgs args)
    : m_engine(engine), m_args(std::move(args)), m_buffer(m_args.buffer ? m_args.buffer : &m_ownBuffer),
      m_tracked(*m_buffer), m_gate(engine, m_args.requiredPid, m_args.stopFlag, m_args.pauseFlag, m_args.onPhase),
      m_repair(engine)
{
}

void EndReview::setTracked(const QString &text)
{
    m_tracked = text;
    *m_buffer = text;
}

QCoro::Task<> EndReview::waitAfterEdit()
{
    co_await m_engine.scheduler().sleep(m_engine.random().uniformReal(1200, 3500));
}

QCoro::Task<> EndReview::run()
{
    co_await stages();
    if (!m_keysPending)
        co_await leaveCaretAtEnd();
}

QCoro::Task<> EndReview::stages()
{
    const ReviewLevel &level = m_args.review;
    m_engine.debug(QStringLiteral("endReview: errors=%1 enforceExact=%2")
                       .arg(m_args.errors.size())
                       .arg(TypingEngine::boolText(m_args.enforceExact)));
    if (m_args.errors.isEmpty() && level.wordSwaps == 0 && level.sentenceRewrites == 0 && !m_args.enforceExact)
        co_return;

    co_await m_engine.keys().sleepWithStop(m_engine.random().uniformReal(8000, 15000), m_args.stopFlag);
    const bool open = co_await m_gate.pass();
    if (!open)
        co_return;
    m_touched = true;
    if (!m_args.element.isNull())
        m_engine.elements().focus(m_args.element);
    const std::optional<QString> live = co_await m_repair.readLiveText(m_args.element);
    if (!live) {
        if (m_args.allowClipboardOps)
            co_await clipboardPath();
        co_return;
    }
    setTracked(*live);
    co_await m_engine.elements().placeCaretConfirmed(live->size(), m_args.element);

    const bool typosDone = co_await fixTypos();
    if (!typosDone)
        co_return;
    const bool sentencesDone = co_await editSentences();
    if (!sentencesDone)
        co_return;
    const bool tailDone = co_await retypeTail();
    if (!tailDone)
        co_return;
    if (m_args.enforceExact)
        co_await finalRepair();
}

QCoro::Task<bool> EndReview::fixTypos()
{
    QList<DeferredError> fixes = m_args.errors;
    if (m_args.enforceExact) {
        std::stable_sort(fixes.begin(), fixes.end(),
                         [](const DeferredError &a, const DeferredError &b) { return a.index < b.index; });
    } else if (!fixes.isEmpty()) {
        const int n = int(fixes.size());
        fixes = selectErrors(fixes, std::min(std::max(n / 2, m_args.review.minErrorFixes), n));
    }

    for (const DeferredError &fix : fixes) {
        const std::optional<QString> live = co_await liveTextBeforeEdit();
        if (!live)
            co_return false;
        setTracked(*live);

        const int length = int(live->size());
        const int width = int(fix.wrong.size());
        const int i = findErrorIndex(*live, fix.index, fix.wrong);
        // Only the typo itself, where the buffer says it is (give or take a
        // few units of drift): the nearest look-alike elsewhere is the
        // writer's own correct text.
        // A "typo" of the same letter again changes nothing and is left be.
        if (width == 0 || fix.wrong == fix.correct || i < 0 || i + width > length || live->mid(i, width) != fix.wrong
            || std::abs(i - fix.index) > 3 || !text::isGraphemeBoundary(*live, i)
            || !text::isGraphemeBoundary(*live, i + width))
            continue;

        const bool goOn = co_await fixTypo(*live, i, fix);
        if (!goOn)
            co_return false;
        co_await waitAfterEdit();
    }
    co_return true;
}

QCoro::Task<bool> EndReview::fixTypo(QString live, int i, DeferredError fix)
{
    ElementAccess &elements = m_engine.elements();
    KeyOutput &keys = m_engine.keys();
    const int width = int(fix.wrong.size());
    const QString fixed = live.left(i) + fix.correct + live.mid(i + width);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const bool there = co_await elements.moveCursor(i + width, live, m_args.element, m_args.stopFlag);
        if (stopped())
            co_return false;
        if (!there) {
            // A Backspace now could take the wrong letter: leave this typo.
            m_engine.debug(QStringLiteral("endReview: caret not at fix, skipping index=%1").arg(i));
            break;
        }
        const int presses = std::max(keys.backspacePresses(fix.wrong), 1);
        for (int press = 0; press < presses; ++press)
            co_await keys.sendKey(SpecialKey::Delete);
        co_await keys.sendKey(fix.correct);
        // The caret moves next: let the fix's keys land first.
        const bool landed = co_await elements.waitForText(fixed, m_args.element, i + fix.correct.size());
        if (landed) {
            setTracked(fixed);
            break;
        }
        // Not read back, and its keys may still be on their way: a caret
        // write now would overtake them. Arrows queue behind them instead,
        // and once the caret reads the end every key of the fix was taken.
        const Settled settled = co_await returnByArrows(live, fixed, i + width);
        if (settled == Settled::Fixed)
            break;
        if (settled == Settled::Unknown) {
            m_keysPending = true;
            m_engine.debug(QStringLiteral("endReview: keys not taken, review ends index=%1").arg(i));
            co_return false;
        }
        if (attempt > 0) {
            m_engine.debug(QStringLiteral("endReview: fix failed index=%1").arg(i));
            co_return true;
        }
        m_engine.debug(QStringLiteral("endReview: fix did not take, retrying index=%1").arg(i));
    }
    // Back to the end even when a stop came meanwhile: the caret must not
    // stay inside the text.
    co_await elements.moveCursor(m_tracked.size(), m_tracked, m_args.element, {});
    co_return !stopped();
}

QCoro::Task<EndReview::Settled> EndReview::returnByArrows(QString live, QString fixed, int from)
{
    ElementAccess &elements = m_engine.elements();
    co_await elements.pressArrows(SpecialKey::Right, m_engine.keys().arrowPresses(live.mid(from)));
    for (double waited = 0;; waited += ElementAccess::kCaretPollMs) {
        const std::optional<QString> now = elements.readFocusedText(m_args.element);
        const std::optional<qint64> caret = elements.caretPosition(m_args.element);
        if (now && caret && *now == fixed && *caret == fixed.size()) {
            setTracked(fixed);
            co_return Settled::Fixed;
        }
        if (now && caret && *now == live && *caret == live.size())
            co_return Settled::Unchanged;
        if (waited >= kKeysSettleMs)
            co_return Settled::Unknown;
        co_await m_engine.scheduler().sleep(ElementAccess::kCaretPollMs);
    }
}

QCoro::Task<std::optional<QString>> EndReview::liveTextBeforeEdit()
{
    if (stopped())
        co_return std::nullopt;
    const bool open = co_await m_gate.pass();
    if (!open)
        co_return std::nullopt;
    const std::optional<QString> live = co_await m_repair.readLiveText(m_args.element);
    co_return live;
}

QCoro::Task<bool> EndReview::editSentences()
{
    int swaps = m_args.review.wordSwaps;
    int rewrites = m_args.review.sentenceRewrites;
    if (swaps <= 0 && rewrites <= 0)
        co_return true;

    QStringList candidates = matchingSentences(m_tracked);
    candidates = candidates.mid(std::max<qsizetype>(candidates.size() - 4, 0));
    ElementAccess &elements = m_engine.elements();
    KeyOutput &keys = m_engine.keys();
    for (qsizetype c = candidates.size() - 1; c >= 0 && (swaps > 0 || rewrites > 0); --c) {
        const QString candidate = candidates.at(c);
        const std::optional<QString> live = co_await liveTextBeforeEdit();
        if (!live)
            co_return false;
        const qsizetype at = live->lastIndexOf(candidate);
        if (at < 0)
            continue;

        QString replacement;
        if (rewrites > 0) {
            replacement = rewriteSentence(candidate);
            --rewrites;
        } else {
            replacement = applyWordSwap(candidate);
            --swaps;
        }
        replacement = keepOuterSpace(candidate, replacement);

        const bool selected = co_await m_repair.selectConfirmed({at, candidate.size()}, m_args.element);
        if (!selected) {
            m_engine.debug(QStringLiteral("rewrite: selection failed, skipping"));
            continue;
        }
        if (m_args.allowClipboardOps) {
            const ClipboardRead copied = co_await m_engine.readSelectionViaClipboard(m_args.stopFlag);
            if (copied.contradicts(candidate)) {
                m_engine.debug(QStringLiteral("rewrite: selection mismatch, skipping"));
                continue;
            }
        }
        if (stopped())
            co_return false;
        co_await keys.sendKey(SpecialKey::Delete);
        co_await keys.retypeText(replacement, {});
        const QString edited = live->left(at) + replacement + live->mid(at + candidate.size());
        setTracked(edited);
        // A caret write would overtake keys still on their way.
        const bool editLanded = co_await elements.waitForText(edited, m_args.element, at + replacement.size());
        if (!editLanded) {
            // Left to the exact-match repair, which starts from what is there.
            m_engine.debug(QStringLiteral("rewrite: edit not read back"));
            if (const std::optional<QString> now = co_await m_repair.readLiveText(m_args.element))
                setTracked(*now);
        }
        co_await elements.moveCursor(m_tracked.size(), m_tracked, m_args.element, {});
        co_await waitAfterEdit();
    }
    co_return true;
}

QCoro::Task<bool> EndReview::retypeTail()
{
    if (m_args.review.tailRetypeCap < 1 || m_tracked.isEmpty())
        co_return true;
    if (stopped())
        co_return false;
    const bool open = co_await m_gate.pass();
    if (!open)
        co_return false;

    ElementAccess &elements = m_engine.elements();
    const int length = int(m_tracked.size());
    const int count = tailRetypeCount(length, m_args.review.tailRetypeCap);
    const Element target = m_args.element.isNull() ? elements.focusedElement() : m_args.element;
    if (count + 80 >= length || target.isNull()
        || m_engine.platform().accessibility().isSettable(target, Attribute::SelectedTextRange) != true) {
        m_engine.debug(QStringLiteral("retypeTail: skipped (unsafe length or no selection)"));
        co_return true;
    }
    // The tail starts between two characters, never inside one.
    const int start = text::boundaryAtOrBefore(m_tracked, std::max(length - count, 0));
    const QString tail = m_tracked.mid(start);
    const bool selected = co_await m_repair.selectConfirmed({start, tail.size()}, m_args.element);
    if (!selected) {
        m_engine.debug(QStringLiteral("retypeTail: skipped (selection failed)"));
        co_return true;
    }
    if (m_args.allowClipboardOps) {
        const ClipboardRead copied = co_await m_engine.readSelectionViaClipboard(m_args.stopFlag);
        if (copied.contradicts(tail)) {
            m_engine.debug(QStringLiteral("retypeTail: selection mismatch, skipping"));
            co_return false;
        }
    }
    if (stopped())
        co_return false;
    m_engine.debug(QStringLiteral("retypeTail: count=%1").arg(tail.size()));
    co_await m_engine.keys().sendKey(SpecialKey::Delete);
    co_await m_engine.keys().retypeText(tail, {});
    // A caret write would overtake keys still on their way.
    const bool tailLanded = co_await elements.waitForText(m_tracked, m_args.element, m_tracked.size());
    if (!tailLanded)
        co_await repairTail(start);
    co_await elements.moveCursor(m_tracked.size(), m_tracked, m_args.element, {});
    co_return true;
}

QCoro::Task<> EndReview::repairTail(int start)
{
    const QString wanted = m_tracked;
    co_await m_engine.scheduler().sleep(kFixSettleMs);
    const std::optional<QString> now = co_await m_repair.readLiveText(m_args.element);
    if (!now) {
        m_engine.debug(QStringLiteral("retypeTail: tail not read back"));
        co_return;
    }
    if (*now == wanted)
        co_return;
    // The field reads as the text up to the tail and some of the tail: the
    // rest is typed once more, from the end where the caret stands.
    if (now->size() >= start && now->size() < wanted.size() && wanted.startsWith(*now)
        && text::isGraphemeBoundary(wanted, int(now->size()))) {
        m_engine.debug(QStringLiteral("retypeTail: tail cut short, typing the rest"));
        co_await m_engine.keys().retypeText(wanted.mid(now->size()), {});
        const bool landed = co_await m_engine.elements().waitForText(wanted, m_args.element, wanted.size());
        if (landed)
            co_return;
    }
    m_engine.debug(QStringLiteral("retypeTail: tail failed"));
    if (const std::optional<QString> after = co_await m_repair.readLiveText(m_args.element))
        setTracked(*after);
}

QCoro::Task<> EndReview::finalRepair()
{
    const bool open = co_await m_gate.pass();
    if (!open)
        co_return;
    co_await m_repair.finalizeExactMatch(m_args.intendedText, m_args.stopFlag, m_args.element, m_tracked);

    QString now = m_tracked;
    const std::optional<QString> live = co_await m_repair.readLiveText(m_args.element);
    if (live) {
        setTracked(*live);
        now = *live;
    }
    if (now == m_args.intendedText || rewrittenByTarget(now, m_args.intendedText) || stopped())
        co_return;
    // The exact-match repair did not take: once more, the whole text.
    m_engine.debug(QStringLiteral("endReview: exact-match repair did not take, replacing the whole text"));
    co_await m_repair.replaceAllText(m_args.intendedText, m_args.stopFlag, m_args.element, now);
    const std::optional<QString> after = co_await m_repair.readLiveText(m_args.element);
    if (after)
        setTracked(*after);
    if (after && *after != m_args.intendedText)
        m_engine.debug(QStringLiteral("endReview: exact-match repair failed"));
}

QCoro::Task<> EndReview::clipboardPath()
{
    // The run's typed buffer is what the field should hold: the wipe check
    // compares the field's copied text with it.
    const QString expected = m_tracked;
    const ClipboardRead copied = co_await m_repair.readAll(m_args.stopFlag);
    const std::optional<QString> read = copied.value();
    if (read) {
        m_engine.debug(QStringLiteral("endReview: AX read failed, clipboard len=%1").arg(text::graphemeCount(*read)));
        *m_buffer = *read;
        if (!m_args.enforceExact || *read == m_args.intendedText || rewrittenByTarget(*read, m_args.intendedText)
            || stopped())
            co_return;
        const bool fixed = co_await m_repair.keyboardTailFixIfLikely(*read, m_args.intendedText, m_args.stopFlag);
        if (fixed) {
            m_engine.debug(QStringLiteral("endReview: tail fix applied"));
        } else if (!stopped()) {
            co_await m_repair.replaceAllTextViaKeyboard(m_args.intendedText, m_args.stopFlag, expected);
            m_engine.debug(QStringLiteral("endReview: full replace attempted (clipboard path)"));
        }
        co_return;
    }
    if (m_args.enforceExact) {
        m_engine.debug(QStringLiteral("endReview: AX read failed, full replace via AX"));
        co_await m_repair.replaceAllText(m_args.intendedText, m_args.stopFlag, m_args.element, expected);
    }
}

QCoro::Task<> EndReview::leaveCaretAtEnd()
{
    if (!m_touched)
        co_return;
    ElementAccess &elements = m_engine.elements();
    const Element target = m_args.element.isNull() ? elements.focusedElement() : m_args.element;
    const qint64 end = elements.textLengthEstimate(target).value_or(m_buffer->size());
    co_await elements.placeCaretConfirmed(end, m_args.element);
    // A caret write that cannot be read back proves nothing: a select-all
    // that may stand is collapsed by Right (which does nothing at the end of
    // a collapsed caret).
    const std::optional<platform::TextRange> range = elements.selectedTextRange(m_args.element);
    const bool selectionStands = range ? range->length > 0 : m_repair.wholeFieldMaySelected();
    if (!selectionStands || stopped())
        co_return;
    // Accessibility cannot collapse it: Right ends a selection at its end,
    // which is the end of the text for everything the review selects.
    const bool open = co_await m_gate.pass();
    if (!open)
        co_return;
    co_await m_engine.keys().sendKey(SpecialKey::Right);
}

} // namespace qv::engine
