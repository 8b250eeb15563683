#pragma once

#include <QSet>
#include <QUuid>
#include <QtGlobal>

namespace qv {
struct StudyProject;
}

namespace qv::study {

// The statistics of a set's page: the three mastery chips, the progress and
// the ids of the weak cards that the flashcards and the card list mark.
struct SessionStats {
    SessionStats() = default;
    explicit SessionStats(const StudyProject &project);

    qint64 masteredCount = 0;
    qint64 learningCount = 0;
    qint64 weakCount = 0;
    double progress = 0.0;
    qint64 cardCount = 0;
    QSet<QUuid> weakIds;

    // "Progress N%": mastered of all cards in integers (2 of 3 gives 66).
    int progressPercent() const;
};

} // namespace qv::study
