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
      m_typed(*m_buffer), m_tracked(*m_buffer),
      m_gate(engine, m_args.requiredPid, m_args.stopFlag, m_args.pauseFlag, m_args.onPhase), m_repair(engine)
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
    m_readTheField = true;
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

    // Where the buffer's offsets stand in the field: an application that
    // rewrote some of what was typed (a tab as spaces, "..." as one
    // character) moved everything after it.
    std::optional<FieldComparison> placed;
    qsizetype moved = 0; // units the fixes made so far added or took away
    int failedInARow = 0;
    for (const DeferredError &fix : fixes) {
        const std::optional<QString> live = co_await liveTextBeforeEdit();
        if (!live)
            co_return false;
        setTracked(*live);
        if (!placed)
            placed = compareField(*live, m_typed);

        const int length = int(live->size());
        const int width = int(fix.wrong.size());
        const int expected = int(placed->liveOffset(fix.index) + moved);
        const int i = findErrorIndex(*live, expected, fix.wrong);
        // Only the typo itself, where the buffer says it is (give or take a
        // few units of drift): the nearest look-alike elsewhere is the
        // writer's own correct text.
        // A "typo" of the same letter again changes nothing and is left be.
        if (width == 0 || fix.wrong == fix.correct || i < 0 || i + width > length || live->mid(i, width) != fix.wrong
            || std::abs(i - expected) > 3 || !text::isGraphemeBoundary(*live, i)
            || !text::isGraphemeBoundary(*live, i + width))
            continue;

        const Fixed outcome = co_await fixTypo(*live, i, fix);
        if (outcome == Fixed::Stopped)
            co_return false;
        if (outcome == Fixed::Taken) {
            moved += fix.correct.size() - width;
            failedInARow = 0;
        } else if (++failedInARow >= kFailedFixLimit) {
            // The field does not take such edits: more of them would only
            // cost the same again. What is left goes to the final repair.
            m_engine.debug(QStringLiteral("endReview: fixes do not take here, leaving the rest to the final repair"));
            break;
        }
        co_await waitAfterEdit();
    }
    co_return true;
}

QCoro::Task<EndReview::Fixed> EndReview::fixTypo(QString live, int i, DeferredError fix)
{
    ElementAccess &elements = m_engine.elements();
    KeyOutput &keys = m_engine.keys();
    const int width = int(fix.wrong.size());
    const QString fixed = live.left(i) + fix.correct + live.mid(i + width);
    const bool there = co_await elements.moveCursor(i + width, live, m_args.element, m_args.stopFlag);
    if (stopped())
        co_return Fixed::Stopped;
    if (!there) {
        // A Backspace now could take the wrong letter: leave this typo.
        m_engine.debug(QStringLiteral("endReview: caret not at fix, skipping index=%1").arg(i));
        co_return Fixed::NotTaken;
    }
    const int presses = std::max(keys.backspacePresses(fix.wrong), 1);
    for (int press = 0; press < presses; ++press)
        co_await keys.sendKey(SpecialKey::Delete);
    co_await elements.waitForDeletion(live.left(i) + live.mid(i + width), m_args.element, i);
    co_await keys.sendKey(fix.correct);
    // The caret moves next: let the fix's keys land first.
    const bool landed = co_await elements.waitForText(fixed, m_args.element, i + fix.correct.size());
    Fixed outcome = Fixed::Taken;
    if (landed) {
        setTracked(fixed);
    } else {
        // Not read back, and its keys may still be on their way: a caret
        // write now would overtake them. One Right queues behind them, and
        // once the caret shows it taken so were they. No retry: what did not
        // take once would cost as much again.
        const Settled settled = co_await settleBehindArrow(live, fixed, i + width, i + int(fix.correct.size()));
        if (settled == Settled::Unknown) {
            // Far slower than any wait: the review ends here, and arrows
            // queued behind those keys take the caret to the end once they
            // land, where a caret write would overtake them.
            co_await elements.pressArrows(SpecialKey::Right, keys.arrowPresses(live.mid(i + width)));
            m_keysPending = true;
            m_engine.debug(QStringLiteral("endReview: keys not taken, review ends index=%1").arg(i));
            co_return Fixed::Stopped;
        }
        if (settled == Settled::Unchanged && !elements.waitsForDeletions()) {
            // Not one of its keys took, the Right after them did: the
            // application loses a Backspace and the key that comes before it
            // has handled it. From now on each deletion lands first, and
            // this fix is made once more.
            m_engine.debug(QStringLiteral("endReview: a Backspace and the key after it were lost, "
                                          "letting each deletion land first"));
            elements.deletionsLandFirst();
            co_return co_await fixTypo(live, i, fix);
        }
        if (settled != Settled::Fixed) {
            const int at = commonPrefixLength(m_tracked, fixed);
            m_engine.debug(QStringLiteral("endReview: fix did not take index=%1 (%2; the field reads \"%3\" at %4)")
                               .arg(i)
                               .arg(settled == Settled::Unchanged ? QStringLiteral("unchanged")
                                                                  : QStringLiteral("changed otherwise"))
                               .arg(m_tracked.mid(std::max(at - 8, 0), 24))
                               .arg(at));
            outcome = Fixed::NotTaken;
        }
    }
    // Back to the end even when a stop came meanwhile: the caret must not
    // stay inside the text.
    co_await elements.moveCursor(m_tracked.size(), m_tracked, m_args.element, {});
    co_return stopped() ? Fixed::Stopped : outcome;
}

QCoro::Task<EndReview::Settled> EndReview::settleBehindArrow(QString live, QString fixed, int caretIfUnchanged,
                                                             int caretIfFixed)
{
    ElementAccess &elements = m_engine.elements();
    // Where one Right leaves a caret: the next character boundary, or the end.
    const auto oneRight = [](const QString &text, int at) {
        return qint64(at >= text.size() ? text.size() : text::boundaryAtOrAfter(text, at + 1));
    };
    co_await m_engine.keys().sendKey(SpecialKey::Right);
    std::optional<QString> now;
    for (double waited = 0;; waited += ElementAccess::kCaretPollMs) {
        now = elements.readFocusedText(m_args.element);
        const std::optional<qint64> caret = elements.caretPosition(m_args.element);
        if (!now || !caret)
            break;
        if (*now == fixed && *caret == oneRight(fixed, caretIfFixed)) {
            setTracked(fixed);
            co_return Settled::Fixed;
        }
        if (*now == live && *caret == oneRight(live, caretIfUnchanged)) {
            setTracked(live);
            co_return Settled::Unchanged;
        }
        if (waited >= kKeysSettleMs)
            break;
        co_await m_engine.scheduler().sleep(ElementAccess::kCaretPollMs);
    }
    // The field changed some other way (the application rewrote around the
    // fix) and holds still now: that is what it holds.
    if (now && *now != live && *now != fixed) {
        const bool still = co_await elements.waitForKeysTaken(m_args.element);
        if (still) {
            if (const std::optional<QString> after = co_await m_repair.readLiveText(m_args.element)) {
                setTracked(*after);
                co_return *after == fixed ? Settled::Fixed : Settled::Other;
            }
        }
    }
    co_return Settled::Unknown;
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

        const QString edited = live->left(at) + replacement + live->mid(at + candidate.size());
        // The white space around the sentence (a paragraph's line breaks and
        // tab) stays as it stands: only the sentence itself is selected and
        // retyped, as editors handle Return and Tab keys their own way.
        qsizetype lead = 0;
        while (lead < candidate.size() && lead < replacement.size() && candidate.at(lead) == replacement.at(lead)
               && candidate.at(lead).isSpace())
            ++lead;
        qsizetype trail = 0;
        while (trail < candidate.size() - lead && trail < replacement.size() - lead
               && candidate.at(candidate.size() - 1 - trail) == replacement.at(replacement.size() - 1 - trail)
               && candidate.at(candidate.size() - 1 - trail).isSpace())
            ++trail;
        const qsizetype editAt = at + lead;
        const QString oldPart = candidate.mid(lead, candidate.size() - lead - trail);
        const QString newPart = replacement.mid(lead, replacement.size() - lead - trail);
        if (oldPart.isEmpty())
            continue; // a Delete would take a character before it
        bool editLanded = false;
        bool skipped = false;
        for (int attempt = 0; attempt < 2 && !editLanded && !skipped; ++attempt) {
            const bool selected = co_await m_repair.selectConfirmed({editAt, oldPart.size()}, m_args.element);
            if (!selected) {
                m_engine.debug(QStringLiteral("rewrite: selection failed, skipping"));
                skipped = true;
                break;
            }
            if (m_args.allowClipboardOps) {
                const ClipboardRead copied = co_await m_engine.readSelectionViaClipboard(m_args.stopFlag);
                if (copied.contradicts(oldPart)) {
                    m_engine.debug(QStringLiteral("rewrite: selection mismatch, skipping"));
                    skipped = true;
                    break;
                }
            }
            if (stopped())
                co_return false;
            co_await keys.sendKey(SpecialKey::Delete);
            co_await elements.waitForDeletion(live->left(editAt) + live->mid(editAt + oldPart.size()), m_args.element,
                                              editAt);
            keys.typingAfter(QStringView(*live).left(editAt));
            co_await keys.retypeText(newPart, {});
            setTracked(edited);
            // A caret write would overtake keys still on their way.
            editLanded = co_await elements.waitForText(edited, m_args.element, editAt + newPart.size());
            if (editLanded || elements.waitsForDeletions())
                break;
            // Not a key of it took: the application lost the Delete and the
            // key that came before it had handled it. Each deletion lands
            // first from now on, and the edit is made once more.
            const bool settled = co_await elements.waitForKeysTaken(m_args.element);
            if (!settled || elements.readFocusedText(m_args.element) != *live)
                break;
            m_engine.debug(QStringLiteral("rewrite: a Delete and the key after it were lost, "
                                          "letting each deletion land first"));
            elements.deletionsLandFirst();
            setTracked(*live);
        }
        if (skipped)
            continue;
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
    // Where a deleting key has been seen lost with the key after it, the
    // tail's first key waits for the deletion like every fix's does: lost,
    // the tail would be typed over a selection still there.
    co_await elements.waitForDeletion(m_tracked.left(start), m_args.element, start);
    m_engine.keys().typingAfter(QStringView(m_tracked).left(start));
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
        m_engine.keys().typingAfter(*now);
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
    // Keys of the review's edits still on their way would make the field
    // look further off than it is, and a whole-text replace of it be typed
    // into them.
    const QString intended = m_args.intendedText;
    const bool quiet = co_await m_engine.elements().waitForFieldQuiet(
        m_args.element, [&intended](const QString &text) { return compareField(text, intended).off == 0; },
        m_readTheField, m_args.stopFlag);
    if (!quiet)
        m_engine.debug(QStringLiteral("endReview: the field did not settle before the final repair"));
    if (stopped())
        co_return;
    co_await m_repair.finalizeExactMatch(m_args.intendedText, m_args.stopFlag, m_args.element, m_tracked);

    QString now = m_tracked;
    const std::optional<QString> live = co_await m_repair.readLiveText(m_args.element);
    if (live) {
        setTracked(*live);
        now = *live;
    }
    if (now == m_args.intendedText || stopped())
        co_return;
    const FieldComparison compared = compareField(now, m_args.intendedText);
    if (compared.off == 0)
        co_return;
    // The exact-match repair did not take. A few small stretches it tried
    // and could not change; retyping the whole text for them would cost the
    // most and take no better. A whole text is replaced once at most.
    if (!compared.stretches.isEmpty() && compared.stretches.size() <= ExactMatchRepair::kStretchLimit
        && compared.off <= ExactMatchRepair::kStretchKeyLimit * ExactMatchRepair::kStretchLimit) {
        m_engine.debug(QStringLiteral("endReview: %1 characters could not be repaired, not replacing the whole text")
                           .arg(compared.off));
        co_return;
    }
    if (m_repair.wholeTextReplaced()) {
        m_engine.debug(QStringLiteral("endReview: the whole text was replaced once already, not again"));
        co_return;
    }
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
