#pragma once

#include "model/StudyEnums.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

// The set page's texts that follow from the set and the page's state.
namespace qv::study::setpage {

QString gradePill(const QString &grade);               // "Grade 11", the grade as stored
QString sizePill(qsizetype cards);                     // "12 Cards" (also "1 Cards")
QString shufflePill(bool shuffle);                     // "Shuffle On" / "Shuffle Off"
QString scopePill(bool onlyStarred);                   // "Starred Only" / "All Cards"
QString directionPill(StudyAnswerDirection direction); // "Answers: mixed"
QString gradingPill(StudyGrading grading);             // "Grading: very_lenient"
// The raw value with "_" as spaces, capitalised word by word: "Multiple Choice".
QString questionTypePill(StudyQuestionType type);
// One pill per stored type, in order; a set without types shows "Written".
QStringList questionTypePills(const QList<StudyQuestionType> &types);
// "Updated " and the change time in the locale's short date and time format.
QString updatedText(const QDateTime &updatedAt, const QLocale &locale = QLocale());
// The flashcards' position: "3 / 12"; an empty set reads "1 / 1".
QString counterText(int shownIndex, qsizetype count);
QString progressText(int percent);                    // "Progress 66%"
QString chipText(const QString &label, qint64 count); // "Mastered: 2"

} // namespace qv::study::setpage
