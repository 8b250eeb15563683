#include "engine/ExactMatchRepair.h"

#include "core/Scheduler.h"
#include "engine/FieldCheck.h"
#include "engine/RepairRules.h"
#include "engine/TypingEngine.h"

#include <algorithm>

namespace qv::engine {

using platform::Element;
using platform::TextRange;

ExactMatchRepair::ExactMatchRepair(TypingEngine &engine) : m_engine(engine) {}

QCoro::Task<std::optional<QString>> ExactMatchRepair::readLiveText(Element element)
{
    ElementAccess &elements = m_engine.elements();
    const std::optional<QString> text = co_await elements.readFocusedTextWithRetry(element, 3);
    if (text)
        co_return text;
    const Element focused = elements.focusedElement();
    if (focused.isNull())
        co_return std::nullopt;
    if (const std::optional<QString> again = elements.readFocusedText(focused))
        co_return again;
    elements.focus(focused);
    co_return elements.readFocusedText(focused);
}

QCoro::Task<ClipboardRead> ExactMatchRepair::readAll(StopFlag stopFlag)
{
    ClipboardRead read = co_await m_engine.readAllTextViaClipboard(stopFlag);
    if (read.outcome != ClipboardRead::Outcome::NotRead && read.outcome != ClipboardRead::Outcome::Withheld)
        m_wholeSelected = true;
    co_return read;
}

QCoro::Task<bool> ExactMatchRepair::selectConfirmed(TextRange range, Element element)
{
    return m_engine.elements().writeSelectionConfirmed(range, std::move(element));
}

QCoro::Task<> ExactMatchRepair::tailFixOrReplace(QString live, QString targetText, StopFlag stopFlag, Element element,
                                                 std::optional<QString> expectedCurrent, QString note)
{
    const bool fixed = co_await keyboardTailFixIfLikely(live, targetText, stopFlag);
    if (fixed) {
        m_engine.debug(QStringLiteral("finalizeExactMatch: tail fix applied") + note);
        co_return;
    }
    co_await replaceAllText(targetText, stopFlag, element, expectedCurrent);
    m_engine.debug(QStringLiteral("finalizeExactMatch: full replace") + note);
}

QCoro::Task<> ExactMatchRepair::finalizeExactMatch(QString targetText, StopFlag stopFlag, Element element,
                                                   std::optional<QString> expectedCurrent)
{
    ElementAccess &elements = m_engine.elements();
    m_wholeReplaced = false;
    if (stopped(stopFlag))
        co_return;
    if (!elements.isTextInputElementRelaxed(element.isNull() ? elements.focusedElement() : element))
        co_return;
    if (!element.isNull())
        elements.focus(element);

    const std::optional<QString> live = co_await readLiveText(element);
    if (!live) {
        co_await replaceAllText(targetText, stopFlag, element, expectedCurrent);
        co_return;
    }
    if (*live == targetText)
        co_return;
    // What the application rewrote as it was typed stays as it made it:
    // typing the quotes again would only have them rewritten again. The
    // rest is repaired against the text with those rewrites in it, so a
    // typo between two rewritten quotes is a small edit, not the whole text.
    const FieldComparison compared = compareField(*live, targetText);
    if (compared.off == 0) {
        m_engine.debug(QStringLiteral("finalizeExactMatch: the target rewrote the text, leaving it"));
        co_return;
    }
    if (compared.rewritten > 0) {
        m_engine.debug(
            QStringLiteral("finalizeExactMatch: keeping %1 characters the target rewrote").arg(compared.rewritten));
        targetText = compared.accepted;
    }

    const MiddleDiff diff = diffMiddle(*live, targetText);
    if (stopped(stopFlag))
        co_return;
    const bool wholeField = takesWholeFieldPath(diff);
    m_engine.debug(QStringLiteral("finalizeExactMatch: liveLen=%1 targetLen=%2 mismatchRatio=%3 replaceAll=%4")
                       .arg(live->size())
                       .arg(targetText.size())
                       .arg(diff.ratio, 0, 'f', 2)
                       .arg(TypingEngine::boolText(wholeField)));

    if (wholeField && (compared.stretches.size() > 1 || compared.rewritten > 0) && stretchesFit(compared)) {
        // A few typos far apart (or among what the application rewrote) are
        // a few small edits, not one edit of everything between them.
        const bool repaired = co_await repairStretches(*live, compared, stopFlag, element);
        m_engine.debug(QStringLiteral("finalizeExactMatch: %1 stretches %2")
                           .arg(compared.stretches.size())
                           .arg(repaired ? QStringLiteral("repaired in place")
                                         : QStringLiteral("not all repaired, not tried again")));
        co_await elements.placeCaretConfirmed(targetText.size(), element);
        co_return;
    }
    if (wholeField) {
        co_await tailFixOrReplace(*live, targetText, stopFlag, element, expectedCurrent, {});
        co_return;
    }

    switch (co_await replaceRange(*live, {diff.prefix, diff.liveMid}, diff.targetMiddle, stopFlag, element)) {
    case RangeEdit::NotSelected:
        co_await tailFixOrReplace(*live, targetText, stopFlag, element, expectedCurrent,
                                  QStringLiteral(" (selection failed)"));
        co_return;
    case RangeEdit::Mismatch:
        m_engine.debug(QStringLiteral("finalizeExactMatch: selection mismatch, aborting"));
        co_await tailFixOrReplace(*live, targetText, stopFlag, element, expectedCurrent, QStringLiteral(" (mismatch)"));
        co_return;
    case RangeEdit::Stopped:
        co_return;
    case RangeEdit::Landed:
    case RangeEdit::NotLanded:
        // What did not land is found by the read below.
        co_await elements.placeCaretConfirmed(targetText.size(), element);
        break;
    }

    if (stopped(stopFlag))
        co_return;
    const std::optional<QString> after = co_await readLiveText(element);
    if (!after || *after == targetText || rewrittenByTarget(*after, targetText))
        co_return;
    co_await replaceAllText(targetText, stopFlag, element, *after);
}

bool ExactMatchRepair::stretchesFit(const FieldComparison &compared)
{
    if (compared.stretches.isEmpty() || compared.stretches.size() > kStretchLimit)
        return false;
    for (const FieldComparison::Stretch &stretch : compared.stretches)
        if (stretch.length + stretch.replacement.size() > kStretchKeyLimit)
            return false;
    return true;
}

QCoro::Task<bool> ExactMatchRepair::repairStretches(QString live, FieldComparison compared, StopFlag stopFlag,
                                                    Element element)
{
    QString now = live;
    bool allLanded = true;
    int failures = 0;
    for (qsizetype k = compared.stretches.size() - 1; k >= 0; --k) {
        const FieldComparison::Stretch &stretch = compared.stretches.at(k);
        const RangeEdit edit = co_await replaceRange(now, {stretch.at, stretch.length}, stretch.replacement, stopFlag,
                                                     element);
        if (edit == RangeEdit::NotSelected)
            m_engine.debug(QStringLiteral("repairStretch: selection failed at %1 (\"%2\" for \"%3\")")
                               .arg(stretch.at)
                               .arg(now.mid(stretch.at, stretch.length), stretch.replacement));
        if (edit == RangeEdit::Mismatch)
            m_engine.debug(QStringLiteral("repairStretch: selection mismatch at %1").arg(stretch.at));
        if (edit == RangeEdit::NotSelected || edit == RangeEdit::Mismatch || edit == RangeEdit::Stopped)
            co_return false;
        if (edit == RangeEdit::Landed) {
            now = now.left(stretch.at) + stretch.replacement + now.mid(stretch.at + stretch.length);
            continue;
        }
        // Not tried again; the stretches before it stand where they stood,
        // whatever became of this one, as long as the field reads as it
        // did up to here.
        allLanded = false;
        const std::optional<QString> after = co_await readLiveText(element);
        const auto around = [&](const QString &t) {
            return t.mid(stretch.at, stretch.replacement.size() + 8).replace(QLatin1Char('\n'), QStringLiteral("⏎"));
        };
        m_engine.debug(
            QStringLiteral("repairStretch: edit at %1 not read back (reads \"%2\" for \"%3\")")
                .arg(stretch.at)
                .arg(after ? around(*after) : QStringLiteral("nothing"),
                     around(now.left(stretch.at) + stretch.replacement + now.mid(stretch.at + stretch.length))));
        if (++failures >= kStretchFailureLimit || !after || !after->startsWith(QStringView(now).left(stretch.at)))
            co_return false;
        now = *after;
    }
    co_return allLanded;
}

QCoro::Task<ExactMatchRepair::RangeEdit>
ExactMatchRepair::replaceRange(QString now, TextRange range, QString replacement, StopFlag stopFlag, Element element)
{
    ElementAccess &elements = m_engine.elements();
    if (stopped(stopFlag))
        co_return RangeEdit::Stopped;
    if (!co_await selectConfirmed(range, element))
        co_return RangeEdit::NotSelected;
    if (range.length > 0 && m_engine.allowClipboardOps) {
        const ClipboardRead selection = co_await m_engine.readSelectionViaClipboard(stopFlag);
        if (selection.contradicts(now.mid(range.location, range.length)))
            co_return RangeEdit::Mismatch;
    }
    // Once the range is deleted its replacement must follow.
    if (stopped(stopFlag))
        co_return RangeEdit::Stopped;
    if (range.length > 0) {
        co_await m_engine.keys().sendKey(SpecialKey::Delete);
        co_await elements.waitForDeletion(now.left(range.location) + now.mid(range.location + range.length), element,
                                          range.location);
    }
    m_engine.keys().typingAfter(QStringView(now).left(range.location));
    if (!replacement.isEmpty())
        co_await m_engine.keys().retypeText(replacement, {});
    const qsizetype end = range.location + replacement.size();
    const QString fixed = now.left(range.location) + replacement + now.mid(range.location + range.length);
    // The caret write that follows must not overtake the keys.
    if (co_await elements.waitForText(fixed, element, end))
        co_return RangeEdit::Landed;
    if (co_await settleOrPasteDropped(fixed, range.location, end, stopFlag, element))
        co_return RangeEdit::Landed;
    co_return RangeEdit::NotLanded;
}

QCoro::Task<bool> ExactMatchRepair::settleOrPasteDropped(QString expected, qsizetype from, qsizetype to,
                                                         StopFlag stopFlag, Element element)
{
    // Pasted into keys still arriving, a character would land twice.
    co_await m_engine.elements().waitForKeysTaken(element);
    const std::optional<QString> live = co_await readLiveText(element);
    if (live == expected) {
        m_engine.debug(QStringLiteral("repair: the edit landed late"));
        co_return true;
    }
    if (!m_engine.allowClipboardOps || from >= to)
        co_return false;
    const qsizetype typedLength = to - from;
    const qsizetype rest = expected.size() - typedLength;
    // Only what these keys typed is touched: the text on both sides of it
    // must read as it should.
    if (!live || live->size() < rest || !live->startsWith(QStringView(expected).left(from))
        || !live->endsWith(QStringView(expected).mid(to)))
        co_return false;
    const qsizetype landedLength = live->size() - rest;
    const std::optional<QList<BrokenClusters>> broken = brokenClusters(live->mid(from, landedLength),
                                                                       expected.mid(from, typedLength));
    int count = 0;
    for (const BrokenClusters &stretch : broken.value_or(QList<BrokenClusters>()))
        count += stretch.count;
    if (!broken || count > kDroppedLimit)
        co_return false;
    m_engine.debug(
        QStringLiteral("pasteDropped: the field left out or broke up %1 typed characters, pasting them").arg(count));
    // The last first: the offsets of the earlier ones stay as they are.
    QString now = *live;
    for (qsizetype k = broken->size() - 1; k >= 0; --k) {
        const BrokenClusters &stretch = broken->at(k);
        const qsizetype at = from + stretch.at;
        // The parts that landed are selected, so the paste puts the whole
        // characters in their place.
        const bool placed = stretch.length == 0 ? co_await m_engine.elements().placeCaretConfirmed(at, element)
                                                : co_await selectConfirmed({at, stretch.length}, element);
        if (stopped(stopFlag) || !placed) {
            m_engine.debug(QStringLiteral("pasteDropped: caret not placed at %1").arg(at));
            co_return false;
        }
        if (stretch.length > 0) {
            const ClipboardRead selection = co_await m_engine.readSelectionViaClipboard(stopFlag);
            if (selection.contradicts(now.mid(at, stretch.length))) {
                m_engine.debug(QStringLiteral("pasteDropped: selection mismatch at %1").arg(at));
                co_return false;
            }
        }
        const QString after = now.left(at) + stretch.clusters + now.mid(at + stretch.length);
        if (!co_await m_engine.pasteText(stretch.clusters, after, element, at + stretch.clusters.size(), stopFlag)) {
            m_engine.debug(QStringLiteral("pasteDropped: paste at %1 not read back").arg(at));
            co_return false;
        }
        now = after;
    }
    co_return now == expected;
}

QCoro::Task<bool> ExactMatchRepair::keyboardTailFixIfLikely(QString currentText, QString targetText, StopFlag stopFlag)
{
    if (stopped(stopFlag))
        co_return false;
    if (!tailFixLikely(currentText, targetText))
        co_return false;

    const ClipboardRead copied = co_await readAll(stopFlag);
    const std::optional<QString> read = copied.value();
    if (!read)
        co_return false;
    if (*read != currentText) {
        m_engine.debug(QStringLiteral("tailFix: selection mismatch, aborting"));
        co_return false;
    }
    const int p = commonPrefixLength(currentText, targetText);
    const int deleteCount = int(currentText.size()) - p;
    const int insertCount = int(targetText.size()) - p;
    if (deleteCount > 420 || insertCount > 520)
        co_return false;

    if (stopped(stopFlag))
        co_return false;
    KeyOutput &keys = m_engine.keys();
    co_await keys.sendCommandShortcut(SpecialKey::A);
    co_await m_engine.scheduler().sleep(70);
    co_await keys.sendKey(SpecialKey::Right); // collapses the selection at the end of the text
    m_wholeSelected = false;
    co_await m_engine.scheduler().sleep(50);
    co_await keys.backspaceChars(currentText.mid(p), {});
    keys.typingAfter(QStringView(currentText).left(p));
    co_await keys.retypeText(targetText.mid(p), {});
    if (stopped(stopFlag))
        co_return true;

    const ClipboardRead verifyRead = co_await readAll(stopFlag);
    const std::optional<QString> check = verifyRead.value();
    if (!check || stopped(stopFlag))
        co_return true;
    if (*check == targetText) {
        m_engine.debug(QStringLiteral("tailFix: verified"));
        co_return true;
    }
    m_engine.debug(QStringLiteral("tailFix: verify failed"));
    co_return false;
}

QCoro::Task<bool> ExactMatchRepair::replaceAllTextViaKeyboard(QString newText, StopFlag stopFlag,
                                                              std::optional<QString> expectedCurrent)
{
    if (stopped(stopFlag) || !m_engine.allowClipboardOps)
        co_return false;
    const ClipboardRead copied = co_await readAll(stopFlag);
    const std::optional<QString> read = copied.value();
    if (!read)
        co_return false;
    if (expectedCurrent) {
        if (!isSafeToWipeAndReplaceAll(*read, *expectedCurrent)) {
            m_engine.debug(QStringLiteral("replaceAll: safety check failed (expected mismatch)"));
            co_return false;
        }
    } else if (!isSafeToWipeAndReplaceAll(*read, newText)) {
        m_engine.debug(QStringLiteral("replaceAll: safety check failed"));
        co_return false;
    }
    // Select-all and Delete wipe whatever has the keyboard focus.
    ElementAccess &elements = m_engine.elements();
    if (!elements.isTextInputElementRelaxed(elements.focusedElement())) {
        m_engine.debug(QStringLiteral("replaceAll: focused element is not a text input, not wiping"));
        co_return false;
    }
    if (stopped(stopFlag))
        co_return false;

    const bool readable = elements.readFocusedText().has_value();
    KeyOutput &keys = m_engine.keys();
    m_wholeReplaced = true;
    co_await keys.sendCommandShortcut(SpecialKey::A);
    co_await m_engine.scheduler().sleep(70);
    co_await keys.sendKey(SpecialKey::Delete);
    m_wholeSelected = false;
    co_await m_engine.scheduler().sleep(90);
    // Where a deleting key has been seen lost with the key after it, the
    // first key of the new text waits until the field reads empty.
    co_await elements.waitForDeletion({}, {}, 0);
    keys.typingAfter({});
    co_await keys.retypeText(newText, {});
    if (stopped(stopFlag))
        co_return false;

    // The check selects all: into keys still on their way, that selection
    // would be typed over. It waits for them, and is left out while they
    // keep coming.
    const bool landed = co_await elements.waitForFieldQuiet(
        {}, [&newText](const QString &text) { return compareField(text, newText).off == 0; }, readable, stopFlag);
    if (!landed) {
        m_engine.debug(QStringLiteral("replaceAll: keys still landing, not verified"));
        co_return true;
    }
    const ClipboardRead verifyRead = co_await readAll(stopFlag);
    const std::optional<QString> check = verifyRead.value();
    if (!check || stopped(stopFlag)) {
        m_engine.debug(QStringLiteral("replaceAll: verification skipped"));
        co_return true;
    }
    if (*check == newText) {
        m_engine.debug(QStringLiteral("replaceAll: verified"));
        co_return true;
    }
    m_engine.debug(QStringLiteral("replaceAll: verify failed"));
    co_return false;
}

QCoro::Task<> ExactMatchRepair::replaceAllText(QString newText, StopFlag stopFlag, Element element,
                                               std::optional<QString> expectedCurrent)
{
    ElementAccess &elements = m_engine.elements();
    if (stopped(stopFlag))
        co_return;
    if (!element.isNull())
        elements.focus(element);
    const bool textInput = elements.isTextInputElementRelaxed(element.isNull() ? elements.focusedElement() : element);

    const std::optional<QString> live = co_await readLiveText(element);
    if (!live) {
        if (!textInput)
            co_return;
        const ClipboardRead copied = co_await readAll(stopFlag);
        if (!copied.value())
            co_return;
        // What the field should hold is the caller's belief, never the text
        // just copied: that would make the safety check compare it with itself.
        co_await replaceAllTextViaKeyboard(newText, stopFlag, expectedCurrent);
        m_engine.debug(QStringLiteral("replaceAll: AX read failed, used clipboard"));
        co_return;
    }

    switch (co_await replaceRange(*live, {0, live->size()}, newText, stopFlag, element)) {
    case RangeEdit::Mismatch:
        m_engine.debug(QStringLiteral("replaceAll: selection mismatch, aborting"));
        co_return;
    case RangeEdit::Stopped:
        co_return;
    case RangeEdit::NotLanded:
        m_engine.debug(QStringLiteral("replaceAll: replacement not read back"));
        [[fallthrough]];
    case RangeEdit::Landed:
        m_wholeReplaced = true;
        co_await elements.placeCaretConfirmed(newText.size(), element);
        co_return;
    case RangeEdit::NotSelected:
        break;
    }

    if (textInput && m_engine.allowClipboardOps) {
        const std::optional<QString> expected = expectedCurrent ? expectedCurrent : live;
        co_await replaceAllTextViaKeyboard(newText, stopFlag, expected);
    }
    co_await elements.placeCaretConfirmed(newText.size(), element);
}

} // namespace qv::engine
