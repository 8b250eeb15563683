#include "study/views/StudyProgressRow.h"

#include "study/SessionStats.h"
#include "study/views/StudyProgressChip.h"
#include "study/views/StudySetPageText.h"
#include "study/views/StudyText.h"

#include <QHBoxLayout>
#include <QLabel>

namespace qv::study {

StudyProgressRow::StudyProgressRow(QWidget *parent) : StudyFrame(14, parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    m_mastered = new StudyProgressChip(QStringLiteral("Mastered"), Theme::accent());
    m_learning = new StudyProgressChip(QStringLiteral("Learning"), Theme::subtext());
    m_weak = new StudyProgressChip(QStringLiteral("Weak"), Theme::danger());
    layout->addWidget(m_mastered);
    layout->addWidget(m_learning);
    layout->addWidget(m_weak);
    layout->addStretch(1);
    m_progress = styledLabel(setpage::progressText(0), TextStyle::Callout, QFont::DemiBold, Theme::subtext());
    layout->addWidget(m_progress);
}

void StudyProgressRow::setStats(const SessionStats &stats)
{
    m_mastered->setCount(stats.masteredCount);
    m_learning->setCount(stats.learningCount);
    m_weak->setCount(stats.weakCount);
    // Whole percent in integers: 29 of 50 cards is 58%, 2 of 3 is 66%.
    m_progress->setText(setpage::progressText(stats.progressPercent()));
}

} // namespace qv::study
