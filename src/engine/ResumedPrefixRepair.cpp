#include "engine/ResumedPrefixRepair.h"

#include "core/Text.h"
#include "engine/RepairRules.h"
#include "engine/TypingEngine.h"

namespace qv::engine {

using platform::TextRange;

ResumedPrefixRepair::ResumedPrefixRepair(TypingEngine &engine, const SegmentArgs &args)
    : m_engine(engine), m_args(args), m_earlier(args.earlierText),
      m_gate(engine, args.requiredPid, args.stopFlag, args.pauseFlag, args.onPhase), m_repair(engine)
{
}

qint64 ResumedPrefixRepair::stretchLength(const QString &earlier, const QList<DeferredError> &known)
{
    qint64 length = earlier.size();
    for (const DeferredError &typo : known)
        length += typo.wrong.size() - typo.correct.size();
    return length;
}

PrefixComparison ResumedPrefixRepair::compare(const QString &earlier, const QString &stretch,
                                              const QList<DeferredError> &known)
{
    PrefixComparison result;
    if (stretch.size() != stretchLength(earlier, known)) {
        result.reason = QStringLiteral("the field holds %1 units where the earlier text has %2")
                            .arg(stretch.size())
                            .arg(earlier.size());
        return result;
    }
    const QStringList want = text::graphemes(earlier);
    const QStringList have = text::graphemes(stretch);
    if (want.size() != have.size()) {
        result.reason = QStringLiteral("the field holds %1 characters where the earlier text has %2")
                            .arg(have.size())
                            .arg(want.size());
        return result;
    }
    qint64 offset = 0;
    int unknown = 0;
    for (qsizetype i = 0; i < want.size(); ++i) {
        if (want.at(i) != have.at(i)) {
            result.typos.append({offset, have.at(i), want.at(i)});
            unknown += known.contains(DeferredError{int(offset), want.at(i), have.at(i)}) ? 0 : 1;
        }
        offset += have.at(i).size();
    }
    const int limit = typoLimit(earlier.size());
    if (unknown > limit) {
        result.reason = QStringLiteral("%1 characters differ, more than %2").arg(unknown).arg(limit);
        result.typos.clear();
        return result;
    }
    result.repairable = true;
    return result;
}

void ResumedPrefixRepair::leave(const QString &why, const std::optional<QString> &before)
{
    m_engine.debug(QStringLiteral("resumePrefix: earlier text left as it stands (") + why + QLatin1Char(')'));
    if (!before) {
        m_engine.reportEarlierTextLeft({false, why, std::nullopt});
        m_engine.reportFieldUnchecked(QStringLiteral("the text in front of the resumed run: ") + why);
        return;
    }
    // Read from the start of the earlier text as it should stand in front of
    // the insertion point, or from the field's start when it holds less.
    const QString stretch = before->mid(
        std::max<qint64>(0, before->size() - stretchLength(m_earlier, m_args.earlierTypos)));
    const int from = text::graphemeCount(QStringView(m_earlier).left(commonPrefixLength(stretch, m_earlier))) + 1;
    m_engine.reportEarlierTextLeft({true, why, from});
    m_engine.reportFieldDiffers(
        QStringLiteral(
            "the text in front of the resumed run does not read as the project from its character %1 on (%2)")
            .arg(from)
            .arg(why),
        differingCharacters(stretch, m_earlier));
}

QCoro::Task<qint64> ResumedPrefixRepair::run()
{
    if (m_earlier.isEmpty() || stopped())
        co_return 0;
    if (!m_args.insertionStartHint) {
        leave(QStringLiteral("no insertion point"));
        co_return 0;
    }
    const bool open = co_await m_gate.pass();
    if (!open)
        co_return 0;

    ElementAccess &elements = m_engine.elements();
    m_target = m_args.element.isNull() ? elements.focusedElement() : m_args.element;
    if (m_target.isNull()) {
        leave(QStringLiteral("no target"));
        co_return 0;
    }
    if (!elements.isTextWhole(m_target)) {
        leave(QStringLiteral("the field is not wholly readable"));
        co_return 0;
    }
    m_caretBefore = elements.selectedTextRange(m_target);
    const std::optional<QString> live = co_await m_repair.readLiveText(m_args.element);
    if (!live) {
        leave(QStringLiteral("the field cannot be read"));
        co_return 0;
    }

    const qint64 end = *m_args.insertionStartHint;
    const qint64 length = stretchLength(m_earlier, m_args.earlierTypos);
    const qint64 start = end - length;
    const QString before = live->left(std::min<qint64>(end, live->size()));
    if (start < 0 || end > live->size()) {
        leave(QStringLiteral("the field holds %1 units before the insertion point, the earlier text %2")
                  .arg(before.size())
                  .arg(length),
              before);
        co_return 0;
    }
    if (!text::isGraphemeBoundary(*live, int(start)) || !text::isGraphemeBoundary(*live, int(end))) {
        leave(QStringLiteral("the stretch splits a character"), before);
        co_return 0;
    }
    const PrefixComparison comparison = compare(m_earlier, live->mid(start, length), m_args.earlierTypos);
    if (!comparison.repairable) {
        leave(comparison.reason, before);
        co_return 0;
    }
    if (comparison.typos.isEmpty())
        co_return 0;

    m_engine.debug(QStringLiteral("resumePrefix: typos=%1").arg(comparison.typos.size()));
    co_await fixAll(comparison.typos, start, live->size());
    co_await restoreCaret();
    m_engine.debug(QStringLiteral("resumePrefix: fixed=%1 of %2").arg(m_fixed).arg(comparison.typos.size()));
    if (m_fixed < comparison.typos.size() && !stopped()) {
        const QString why = QStringLiteral("%1 of %2 typos put right").arg(m_fixed).arg(comparison.typos.size());
        const std::optional<QString> after = co_await m_repair.readLiveText(m_args.element);
        if (after && end + m_delta <= after->size())
            leave(why, after->left(end + m_delta));
        else
            leave(why);
    }
    co_return m_delta;
}

QCoro::Task<> ResumedPrefixRepair::fixAll(const QList<PrefixTypo> &typos, qint64 stretchStart, qint64 fieldLength)
{
    for (const PrefixTypo &typo : typos) {
        if (stopped())
            co_return;
        const bool open = co_await m_gate.pass();
        if (!open)
            co_return;
        bool stop = false;
        const bool fixed = co_await fixOne(typo, stretchStart + typo.offset + m_delta, fieldLength + m_delta, stop);
        if (fixed)
            ++m_fixed;
        if (stop)
            co_return;
    }
}

QCoro::Task<bool> ResumedPrefixRepair::fixOne(PrefixTypo typo, qint64 at, qint64 fieldLength, bool &stop)
{
    // The field must still read as it did: a user who typed in it while the
    // repair waited has moved everything, and the offsets no longer hold.
    const std::optional<QString> live = co_await m_repair.readLiveText(m_args.element);
    if (!live || live->size() != fieldLength || live->mid(at, typo.wrong.size()) != typo.wrong) {
        m_engine.debug(QStringLiteral("resumePrefix: the field changed, no further fix"));
        stop = true;
        co_return false;
    }

    const TextRange range{at, typo.wrong.size()};
    m_selectionMoved = true;
    const bool selected = co_await m_repair.selectConfirmed(range, m_args.element);
    if (!selected) {
        m_engine.debug(QStringLiteral("resumePrefix: selection not confirmed, skipping"));
        co_return false;
    }
    const std::optional<QString> shown = m_engine.elements().readSelectedText(m_target);
    if (shown && *shown != typo.wrong) {
        m_engine.debug(QStringLiteral("resumePrefix: selection mismatch, skipping"));
        co_return false;
    }
    if (m_engine.allowClipboardOps) {
        const ClipboardRead copied = co_await m_engine.readSelectionViaClipboard(m_args.stopFlag);
        if (copied.contradicts(typo.wrong)) {
            m_engine.debug(QStringLiteral("resumePrefix: selection mismatch, skipping"));
            co_return false;
        }
    }
    if (stopped()) {
        stop = true;
        co_return false;
    }
    // One key replaces the selected character; it is typed to its end.
    co_await m_engine.keys().retypeText(typo.correct, {});
    m_delta += typo.correct.size() - typo.wrong.size();
    // It replaces the selection only if it lands before the selection moves
    // (the next fix, the caret put back): keys reach the field on their own
    // path, later than a selection written through accessibility.
    co_await m_engine.elements().waitForKeysTaken(m_target);
    co_return true;
}

QCoro::Task<> ResumedPrefixRepair::restoreCaret()
{
    if (!m_selectionMoved)
        co_return;
    ElementAccess &elements = m_engine.elements();
    const qint64 end = *m_args.insertionStartHint;
    TextRange range{end + m_delta + std::max<qint64>(m_args.typedLen, 0), 0};
    if (m_caretBefore) {
        range = *m_caretBefore;
        if (range.location >= end)
            range.location += m_delta;
    }
    // The segment check reads the caret next.
    co_await elements.writeSelectionConfirmed(range, m_target);
}

} // namespace qv::engine
