#include "study/SessionLabels.h"

namespace qv::study::labels {

QString questionType(StudyQuestionType type)
{
    switch (type) {
    case StudyQuestionType::written:
        return QStringLiteral("Written");
    case StudyQuestionType::multipleChoice:
        return QStringLiteral("Multiple Choice");
    case StudyQuestionType::trueFalse:
        return QStringLiteral("True / False");
    }
    return {};
}

QString questionTypeToggle(StudyQuestionType type)
{
    return type == StudyQuestionType::trueFalse ? QStringLiteral("True/False") : questionType(type);
}

QString side(bool promptIsTerm) { return promptIsTerm ? QStringLiteral("Term") : QStringLiteral("Definition"); }

QString result(bool wasCorrect, const QString &correctAnswer)
{
    return wasCorrect ? QStringLiteral("Correct!") : QStringLiteral("Not quite. Correct: ") + correctAnswer;
}

QString star(bool starred) { return starred ? QStringLiteral("\u2605") : QStringLiteral("\u2606"); }

QString goalButton(int goal, qsizetype poolSize)
{
    if (goal == poolSize)
        return QStringLiteral("Learn all (%1)").arg(goal);
    return QStringLiteral("%1 correct answers").arg(goal);
}

QString answerDirectionTitle(StudyAnswerDirection direction)
{
    switch (direction) {
    case StudyAnswerDirection::term:
        return QStringLiteral("Term");
    case StudyAnswerDirection::definition:
        return QStringLiteral("Definition");
    case StudyAnswerDirection::mixed:
        return QStringLiteral("Mixed");
    }
    return {};
}

QString answerDirectionPill(StudyAnswerDirection direction) { return rawValue(direction); }

QString gradingPill(StudyGrading grading)
{
    switch (grading) {
    case StudyGrading::exact:
        return QStringLiteral("Exact");
    case StudyGrading::lenient:
        return QStringLiteral("Lenient");
    case StudyGrading::veryLenient:
        return QStringLiteral("Very Lenient");
    }
    return {};
}

QString goalLine(qsizetype correctCards, int goalTarget)
{
    return QStringLiteral("%1/%2 correct").arg(correctCards).arg(goalTarget);
}

QString accuracy(int percent) { return QStringLiteral("Accuracy %1%").arg(percent); }

QString masteryLine(qint64 mastered, qsizetype poolSize)
{
    return QStringLiteral("%1/%2 mastered").arg(mastered).arg(poolSize);
}

} // namespace qv::study::labels
