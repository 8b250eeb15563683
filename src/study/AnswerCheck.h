#pragma once

#include "model/StudyProject.h"

#include <QDateTime>
#include <QSet>
#include <QString>
#include <QUuid>

#include <optional>

namespace qv::study {

// How a session checks an answer and counts it, on the card and for the
// session. Pure.

// Whether the response to a question is right: a choice question's tapped
// choice (else the typed text) against the answer side; a true/false
// question is always graded exactly.
bool isRightAnswer(StudyQuestionType type, const QString &typed, const std::optional<QString> &choice,
                   const QString &answer, StudyGrading grading);

// A missed written answer must be retyped in its exact form before Next.
bool retypeMatches(const QString &input, const QString &answer);

// The card after a checked answer: one more right or wrong, reviewed `now`.
void countAnswer(StudyItem &item, bool right, const QDateTime &now);
// The card after a wrong answer was turned right: the wrong one taken back.
void countOverride(StudyItem &item);

// The counts of one session, apart from the cards' own counters.
struct SessionTally {
    qint64 answered = 0;
    qint64 correct = 0;
    qint64 streak = 0;
    QSet<QUuid> correctCards;

    void addRight(const QUuid &card);
    void addWrong();
    // A wrong answer turned right: it was already counted as answered.
    void addOverride(const QUuid &card);

    int accuracyPercent() const;
    // The share of `goal` different cards answered right, at most 1.
    double goalProgress(int goal) const;
};

} // namespace qv::study
