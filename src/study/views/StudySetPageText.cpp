#include "study/views/StudySetPageText.h"

#include "core/Text.h"

#include <algorithm>

namespace qv::study::setpage {

QString gradePill(const QString &grade) { return QStringLiteral("Grade ") + grade; }

QString sizePill(qsizetype cards) { return QString::number(cards) + QStringLiteral(" Cards"); }

QString shufflePill(bool shuffle) { return shuffle ? QStringLiteral("Shuffle On") : QStringLiteral("Shuffle Off"); }

QString scopePill(bool onlyStarred)
{
    return onlyStarred ? QStringLiteral("Starred Only") : QStringLiteral("All Cards");
}

QString directionPill(StudyAnswerDirection direction) { return QStringLiteral("Answers: ") + rawValue(direction); }

QString gradingPill(StudyGrading grading) { return QStringLiteral("Grading: ") + rawValue(grading); }

QString questionTypePill(StudyQuestionType type)
{
    QStringList words = rawValue(type).replace(QLatin1Char('_'), QLatin1Char(' ')).split(QLatin1Char(' '));
    for (QString &word : words)
        if (!word.isEmpty())
            word = word.left(1).toUpper() + word.mid(1).toLower();
    return words.join(QLatin1Char(' '));
}

QStringList questionTypePills(const QList<StudyQuestionType> &types)
{
    const QList<StudyQuestionType> shown = types.isEmpty() ? QList{StudyQuestionType::written} : types;
    QStringList out;
    for (StudyQuestionType type : shown)
        out << questionTypePill(type);
    return out;
}

QString updatedText(const QDateTime &updatedAt, const QLocale &locale)
{
    return QStringLiteral("Updated ") + text::abbreviatedDateTime(updatedAt, locale);
}

QString counterText(int shownIndex, qsizetype count)
{
    return QStringLiteral("%1 / %2").arg(shownIndex + 1).arg(std::max<qsizetype>(count, 1));
}

QString progressText(int percent) { return QStringLiteral("Progress %1%").arg(percent); }

QString chipText(const QString &label, qint64 count) { return label + QStringLiteral(": ") + QString::number(count); }

} // namespace qv::study::setpage
