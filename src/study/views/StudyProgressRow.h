#pragma once

#include "study/views/StudyFrame.h"

class QLabel;

namespace qv::study {

struct SessionStats;
class StudyProgressChip;

// The set page's statistics: mastered, learning and weak cards, and the
// share of mastered cards.
class StudyProgressRow final : public StudyFrame {
    Q_OBJECT
public:
    explicit StudyProgressRow(QWidget *parent = nullptr);

    void setStats(const SessionStats &stats);

    StudyProgressChip *masteredChip() const { return m_mastered; }
    StudyProgressChip *learningChip() const { return m_learning; }
    StudyProgressChip *weakChip() const { return m_weak; }
    QLabel *progressLabel() const { return m_progress; }

private:
    StudyProgressChip *m_mastered;
    StudyProgressChip *m_learning;
    StudyProgressChip *m_weak;
    QLabel *m_progress;
};

} // namespace qv::study
