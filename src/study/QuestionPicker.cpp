#include "study/QuestionPicker.h"

#include "core/Random.h"
#include "study/CardPicker.h"
#include "study/Counters.h"
#include "study/Grading.h"
#include "study/Shuffle.h"

#include <algorithm>

namespace qv::study {

namespace {
constexpr qint64 kRequeueCountdown = 2;
} // namespace

void QuestionPicker::reset()
{
    m_pending.clear();
    m_orderPosition = 0;
}

void QuestionPicker::requeue(const QUuid &id) { m_pending.append({id, kRequeueCountdown}); }

void QuestionPicker::forgive(const QUuid &id)
{
    m_pending.removeIf([&](const Pending &e) { return e.id == id; });
}

std::optional<QUuid> QuestionPicker::popDue()
{
    if (m_pending.isEmpty())
        return std::nullopt;
    for (Pending &entry : m_pending)
        entry.countdown = saturatingAdd(entry.countdown, -1);
    auto due = std::find_if(m_pending.begin(), m_pending.end(), [](const Pending &e) { return e.countdown < 1; });
    if (due == m_pending.end())
        return std::nullopt;
    const QUuid id = due->id;
    // Two misses of one card bring it back once.
    forgive(id);
    return id;
}

QUuid QuestionPicker::nextCard(const QList<StudyItem> &active, const std::optional<QUuid> &current, bool shuffle)
{
    // Every question start counts down the missed cards, even one whose card
    // is no longer in play.
    const std::optional<QUuid> due = popDue();
    if (due) {
        for (const StudyItem &item : active)
            if (item.id == *due)
                return item.id;
    }
    if (!shuffle) {
        // Walk the term order with a position of its own, stepping over the
        // card just asked, so every card comes up in turn.
        const QList<StudyItem> order = termOrder(active);
        const qint64 n = order.size();
        qint64 index = m_orderPosition % n;
        if (n > 1 && current && order[index].id == *current)
            index = (index + 1) % n;
        m_orderPosition = index + 1;
        return order[index].id;
    }
    QList<StudyItem> pool;
    for (const StudyItem &item : active)
        if (!current || item.id != *current)
            pool.append(item);
    if (pool.isEmpty())
        pool = active;
    return pool[weightedPick(pool, m_random)].id;
}

StudyQuestionType QuestionPicker::questionType(const QString &answer, QList<StudyQuestionType> types)
{
    if (isTrueFalseText(answer))
        return StudyQuestionType::trueFalse;
    if (types.isEmpty())
        types = {StudyQuestionType::written};
    const StudyQuestionType type = types[m_random.uniformInt(0, types.size() - 1)];
    if (type != StudyQuestionType::trueFalse)
        return type;
    // A true/false question only makes sense on a card whose answer reads
    // true or false; otherwise draw again among the other types.
    types.removeAll(StudyQuestionType::trueFalse);
    return types.isEmpty() ? StudyQuestionType::written : types[m_random.uniformInt(0, types.size() - 1)];
}

QStringList QuestionPicker::choices(StudyQuestionType type, const QString &answer, const QStringList &others)
{
    if (type == StudyQuestionType::written)
        return {};
    if (type == StudyQuestionType::trueFalse)
        return {QStringLiteral("True"), QStringLiteral("False")};
    QStringList sides;
    for (const QString &side : others)
        if (!isTrueFalseText(side))
            sides.append(side);
    shuffleInPlace(sides, m_random);
    QStringList choices{answer};
    appendDistinctChoices(choices, sides, 4);
    shuffleInPlace(choices, m_random);
    return choices;
}

} // namespace qv::study
