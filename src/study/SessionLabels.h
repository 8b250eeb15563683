#pragma once

#include "model/StudyEnums.h"

#include <QString>

// The session screen's texts that follow from its state, kept beside the
// engine so the views only place them.
namespace qv::study::labels {

// The question card's type label: "Written", "Multiple Choice", "True / False".
QString questionType(StudyQuestionType type);
// The options sheet's type toggles: "Written", "Multiple Choice", "True/False".
QString questionTypeToggle(StudyQuestionType type);
// "Term" while the term is shown, else "Definition".
QString side(bool promptIsTerm);
// "Correct!" or "Not quite. Correct: " and the answer side.
QString result(bool wasCorrect, const QString &correctAnswer);
// The star control: "★" for a starred card, "☆" otherwise.
QString star(bool starred);
// A goal button: "Learn all (N)" for the whole pool, else "N correct answers".
QString goalButton(int goal, qsizetype poolSize);
// The statistics panel: "Term", "Definition", "Mixed".
QString answerDirectionTitle(StudyAnswerDirection direction);
// The options sheet's direction pills: the raw values "term", "definition", "mixed".
QString answerDirectionPill(StudyAnswerDirection direction);
// The options sheet's grading pills: "Exact", "Lenient", "Very Lenient".
QString gradingPill(StudyGrading grading);
QString goalLine(qsizetype correctCards, int goalTarget); // "3/10 correct"
QString accuracy(int percent);                            // "Accuracy 66%"
QString masteryLine(qint64 mastered, qsizetype poolSize); // "2/5 mastered"
// The streak is drawn in the accent colour from five on.
inline bool streakHighlighted(qint64 streak) { return streak >= 5; }

} // namespace qv::study::labels
