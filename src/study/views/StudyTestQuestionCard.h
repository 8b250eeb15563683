#pragma once

#include "study/QuizTest.h"
#include "study/views/StudyFrame.h"

#include <QList>

class QLabel;

namespace qv::study {

class StudyCapsuleLabel;
class StudyTestOption;

// One question of the test: its number, the true/false badge, the prompt,
// one row per option and, once judged wrong, the right answer.
class StudyTestQuestionCard final : public StudyFrame {
    Q_OBJECT
public:
    StudyTestQuestionCard(const QuizQuestion &question, qsizetype index, QWidget *parent = nullptr);

    qsizetype index() const { return m_index; }
    // Shows the question as the test now has it: picks, marks and colours.
    void sync(const QuizTest &test);

    StudyCapsuleLabel *numberChip() const { return m_number; }
    StudyCapsuleLabel *trueFalseBadge() const { return m_badge; } // none for multiple choice
    QLabel *promptLabel() const { return m_prompt; }
    const QList<StudyTestOption *> &options() const { return m_options; }
    QLabel *correctLabel() const { return m_correct; }

signals:
    void picked(qsizetype index, const QString &option);

private:
    qsizetype m_index;
    StudyCapsuleLabel *m_number;
    StudyCapsuleLabel *m_badge = nullptr;
    QLabel *m_prompt;
    QList<StudyTestOption *> m_options;
    QLabel *m_correct;
};

} // namespace qv::study
