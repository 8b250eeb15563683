#pragma once

#include "model/StudyProject.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <functional>
#include <optional>

namespace qv {
class Random;
class WallClock;
} // namespace qv

namespace qv::study {

// One question of a short test, made from one card.
struct QuizQuestion {
    QUuid id;        // the card's id: where the result is written back
    QString prompt;  // the card's term
    QString correct; // the definition as stored, or "True" / "False"
    QStringList choices;
    bool isTrueFalse = false;
    std::optional<QString> selected;
    std::optional<bool> isCorrect;
    bool operator==(const QuizQuestion &) const = default;
};

// The test page without widgets: draws up to six questions from a set,
// takes one pick per question, judges them all at once and hands the set
// back with one result per tested card.
class QuizTest {
public:
    using UpdateHandler = std::function<void(const StudyProject &)>;

    // How an option is drawn after (or before) submission.
    enum class Tint { surfaceAlt, surface, accent, danger };
    enum class Mark { none, check, cross };

    static constexpr int kMaxQuestions = 6;

    QuizTest(Random &random, const WallClock &clock);

    void setUpdateHandler(UpdateHandler handler) { m_onUpdate = std::move(handler); }

    // The set the page shows. The owner pushes the stored set in after each
    // save, so results always apply to the newest copy; until then the page
    // holds the copy it handed on.
    void setProject(const StudyProject &project) { m_project = project; }
    const StudyProject &project() const { return m_project; }

    // Each time the page comes on screen, and "Retake Quiz": a fresh test.
    void begin();
    void select(const QString &option, qsizetype index);
    void submit();
    // "Submit" before submission, "Retake Quiz" after it.
    void pressMain();
    QString mainButtonTitle() const;

    const QList<QuizQuestion> &questions() const { return m_questions; }
    bool submitted() const { return m_submitted; }
    qsizetype answeredCount() const;
    qsizetype score() const;
    double progressFraction() const;

    QString subtitle() const;
    QString answeredLabel() const;                     // "2/6 answered"
    QString questionCountLabel() const;                // "6 Questions"
    QString scoreLabel() const;                        // "Score: 4/6"
    static QString numberLabel(qsizetype index);       // "Q1" for index 0
    static QString correctLine(const QuizQuestion &q); // "Correct: …"
    Tint tint(const QString &option, const QuizQuestion &q) const;
    Mark mark(const QString &option, const QuizQuestion &q) const;

    // Pure parts.
    static bool isBooleanAnswer(const QString &text);
    static QList<QuizQuestion> makeQuestions(const StudyProject &project, Random &random);
    static StudyProject applyResults(StudyProject project, const QList<QuizQuestion> &questions, const QDateTime &now);

private:
    Random &m_random;
    const WallClock &m_clock;
    UpdateHandler m_onUpdate;
    StudyProject m_project;
    QList<QuizQuestion> m_questions;
    bool m_submitted = false;
};

} // namespace qv::study
