#pragma once

#include <QWidget>

class QPushButton;

namespace qv {
class QVButton;
class QVPillPicker;
class QVToggle;
} // namespace qv

namespace qv::study {

class StudySession;

// The options sheet's content. Every control writes the session's own copy
// of the options at once; "Apply" also restarts the session. Nothing here is
// saved with the set.
class StudyOptionsSheet final : public QWidget {
    Q_OBJECT
public:
    explicit StudyOptionsSheet(StudySession &session, QWidget *parent = nullptr);

    void sync();

    QPushButton *closeButton() const { return m_close; }
    QVPillPicker *directionPicker() const { return m_direction; }
    QVToggle *starredToggle() const { return m_starred; }
    QVToggle *shuffleToggle() const { return m_shuffle; }
    QVPillPicker *gradingPicker() const { return m_grading; }
    QVToggle *retypeToggle() const { return m_retype; }
    QVToggle *writtenToggle() const { return m_written; }
    QVToggle *multipleChoiceToggle() const { return m_multipleChoice; }
    QVToggle *trueFalseToggle() const { return m_trueFalse; }
    QVButton *applyButton() const { return m_apply; }

private:
    StudySession &m_session;
    QPushButton *m_close;
    QVPillPicker *m_direction;
    QVToggle *m_starred;
    QVToggle *m_shuffle;
    QVPillPicker *m_grading;
    QVToggle *m_retype;
    QVToggle *m_written;
    QVToggle *m_multipleChoice;
    QVToggle *m_trueFalse;
    QVButton *m_apply;
};

} // namespace qv::study
