#pragma once

#include "study/views/StudyFrame.h"

class QLabel;

namespace qv::study {

struct SessionStats;
class StudyCapsuleLabel;

// The set page's statistics: mastered, learning and weak cards, and the
// share of mastered cards.
class StudyProgressRow final : public StudyFrame {
    Q_OBJECT
public:
    explicit StudyProgressRow(QWidget *parent = nullptr);

    void setStats(const SessionStats &stats);

    StudyCapsuleLabel *masteredChip() const { return m_mastered; }
    StudyCapsuleLabel *learningChip() const { return m_learning; }
    StudyCapsuleLabel *weakChip() const { return m_weak; }
    QLabel *progressLabel() const { return m_progress; }

private:
    StudyCapsuleLabel *m_mastered;
    StudyCapsuleLabel *m_learning;
    StudyCapsuleLabel *m_weak;
    QLabel *m_progress;
};

} // namespace qv::study
