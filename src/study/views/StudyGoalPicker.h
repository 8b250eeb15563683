#pragma once

#include <QList>
#include <QWidget>

class QVBoxLayout;

namespace qv {
class QVButton;
}

namespace qv::study {

class StudySession;

// The goal picker's content: one button per goal the cards in play allow.
class StudyGoalPicker final : public QWidget {
    Q_OBJECT
public:
    explicit StudyGoalPicker(StudySession &session, QWidget *parent = nullptr);

    void sync();

    QList<QVButton *> goalButtons() const { return m_buttons; }

private:
    StudySession &m_session;
    QVBoxLayout *m_column;
    QList<QVButton *> m_buttons;
    QList<int> m_shownGoals;
    qsizetype m_shownPool = -1;
};

} // namespace qv::study
