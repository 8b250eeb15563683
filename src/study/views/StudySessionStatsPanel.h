#pragma once

#include <QWidget>

class QLabel;

namespace qv::study {

class StudyProgressBar;
class StudySession;

// The session's figures: answer direction, streak, the goal with accuracy
// and the mastery of the cards in play.
class StudySessionStatsPanel final : public QWidget {
    Q_OBJECT
public:
    explicit StudySessionStatsPanel(const StudySession &session, QWidget *parent = nullptr);

    void sync();

    QLabel *directionLabel() const { return m_direction; }
    QLabel *streakLabel() const { return m_streak; }
    StudyProgressBar *goalBar() const { return m_goalBar; }
    QLabel *goalLabel() const { return m_goalLine; }
    QLabel *accuracyLabel() const { return m_accuracy; }
    StudyProgressBar *masteryBar() const { return m_masteryBar; }
    QLabel *masteryLabel() const { return m_masteryLine; }

private:
    const StudySession &m_session;
    QLabel *m_direction;
    QLabel *m_streak;
    StudyProgressBar *m_goalBar;
    QLabel *m_goalLine;
    QLabel *m_accuracy;
    StudyProgressBar *m_masteryBar;
    QLabel *m_masteryLine;
};

} // namespace qv::study
