#include "study/AnswerCheck.h"

#include "study/Counters.h"
#include "study/Grading.h"

#include <algorithm>

namespace qv::study {

bool isRightAnswer(StudyQuestionType type, const QString &typed, const std::optional<QString> &choice,
                   const QString &answer, StudyGrading grading)
{
    const bool isChoice = type != StudyQuestionType::written;
    const QString response = isChoice && choice ? *choice : typed;
    return gradeAnswer(response, answer, type == StudyQuestionType::trueFalse ? StudyGrading::exact : grading);
}

bool retypeMatches(const QString &input, const QString &answer)
{
    return sameText(normalize(input, StudyGrading::exact), normalize(answer, StudyGrading::exact));
}

void countAnswer(StudyItem &item, bool right, const QDateTime &now)
{
    if (right)
        item.correctCount = saturatingAdd(item.correctCount, 1);
    else
        item.incorrectCount = saturatingAdd(item.incorrectCount, 1);
    item.lastReviewedAt = now;
}

void countOverride(StudyItem &item)
{
    if (item.incorrectCount > 0)
        item.incorrectCount -= 1;
    item.correctCount = saturatingAdd(item.correctCount, 1);
}

void SessionTally::addRight(const QUuid &card)
{
    answered = saturatingAdd(answered, 1);
    addOverride(card);
}

void SessionTally::addWrong()
{
    answered = saturatingAdd(answered, 1);
    streak = 0;
}

void SessionTally::addOverride(const QUuid &card)
{
    correct = saturatingAdd(correct, 1);
    streak = saturatingAdd(streak, 1);
    correctCards.insert(card);
}

int SessionTally::accuracyPercent() const { return percentOf(correct, answered); }

double SessionTally::goalProgress(int goal) const
{
    if (goal < 1)
        return 0.0;
    return double(std::min<qint64>(goal, correctCards.size())) / double(goal);
}

} // namespace qv::study
