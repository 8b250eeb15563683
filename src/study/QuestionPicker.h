#pragma once

#include "model/StudyProject.h"

#include <QList>
#include <QStringList>
#include <QUuid>

#include <optional>

namespace qv {
class Random;
}

namespace qv::study {

// What a session asks next: the card (a missed card that is due first, then
// the term order or a draw weighted by the card's history), the kind of
// question and its choices. Draws only from the injected Random.
class QuestionPicker {
public:
    explicit QuestionPicker(Random &random) : m_random(random) {}

    // A new session: no missed card pending and the term order from its start.
    void reset();

    // The next card of `active` (not empty). `current` is the card just asked,
    // left out where another card can be asked instead.
    QUuid nextCard(const QList<StudyItem> &active, const std::optional<QUuid> &current, bool shuffle);

    // A missed card comes back at the second question started after the miss,
    // one due card per question.
    void requeue(const QUuid &id);
    // An answer turned right drops the card's pending return.
    void forgive(const QUuid &id);

    // The kind of question for a card whose answer side is `answer`: true/false
    // exactly when that side reads true or false, else a draw among `types`
    // (written when none is left).
    StudyQuestionType questionType(const QString &answer, QList<StudyQuestionType> types);

    // The choices of a question: none for a written one, "True" and "False",
    // or the answer with up to three distinct answer sides of `others`.
    QStringList choices(StudyQuestionType type, const QString &answer, const QStringList &others);

private:
    struct Pending {
        QUuid id;
        qint64 countdown = 0;
    };

    std::optional<QUuid> popDue();

    Random &m_random;
    QList<Pending> m_pending;
    // Position in the unshuffled term order: the card after the last one
    // taken from it, so every card comes up in turn.
    qint64 m_orderPosition = 0;
};

} // namespace qv::study
