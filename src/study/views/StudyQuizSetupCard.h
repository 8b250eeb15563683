#pragma once

#include "study/views/StudyFrame.h"

#include <functional>

class QLabel;
class QSlider;

namespace qv {
class QVButton;
class QVToggle;
} // namespace qv

namespace qv::study {

class StudySession;

// What a timed quiz asks before it starts: the question types, the time
// limit, shuffling and starred cards only. Its edits change the session's own
// options and are never saved with the set.
class StudyQuizSetupCard final : public StudyFrame {
    Q_OBJECT
public:
    StudyQuizSetupCard(StudySession &session, std::function<void()> onCancel, QWidget *parent = nullptr);

    void sync();

    QVButton *randomMixButton() const { return m_randomMix; }
    QVButton *multipleChoiceButton() const { return m_multipleChoice; }
    QVButton *writtenButton() const { return m_written; }
    QVButton *trueFalseButton() const { return m_trueFalse; }
    QLabel *limitLabel() const { return m_limit; }
    QSlider *limitSlider() const { return m_slider; }
    QVToggle *shuffleToggle() const { return m_shuffle; }
    QVToggle *starredToggle() const { return m_starred; }
    QVButton *startButton() const { return m_start; }
    QVButton *cancelButton() const { return m_cancel; }

private:
    StudySession &m_session;
    QVButton *m_randomMix;
    QVButton *m_multipleChoice;
    QVButton *m_written;
    QVButton *m_trueFalse;
    QLabel *m_limit;
    QSlider *m_slider;
    QVToggle *m_shuffle;
    QVToggle *m_starred;
    QVButton *m_start;
    QVButton *m_cancel;
};

} // namespace qv::study
