#include "study/views/StudyProgressRow.h"

#include "study/SessionStats.h"
#include "study/views/StudyCapsuleLabel.h"
#include "study/views/StudySetPageText.h"
#include "study/views/StudyText.h"

#include <QHBoxLayout>
#include <QLabel>

namespace qv::study {

namespace {
// One figure: a coloured dot and "Label: N" on a raised capsule.
StudyCapsuleLabel *figureChip(const QColor &dot)
{
    auto *chip = new StudyCapsuleLabel(QString(), TextStyle::Callout, QFont::DemiBold, Theme::text(),
                                       Theme::surfaceAlt(), 10, 6);
    chip->setOutline(Theme::border());
    chip->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    chip->setDot(Theme::withOpacity(dot, 0.7));
    return chip;
}
} // namespace

StudyProgressRow::StudyProgressRow(QWidget *parent) : StudyFrame(14, parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    m_mastered = figureChip(Theme::accent());
    m_learning = figureChip(Theme::subtext());
    m_weak = figureChip(Theme::danger());
    layout->addWidget(m_mastered);
    layout->addWidget(m_learning);
    layout->addWidget(m_weak);
    layout->addStretch(1);
    m_progress = styledLabel(QString(), TextStyle::Callout, QFont::DemiBold, Theme::subtext());
    layout->addWidget(m_progress);
    setStats(SessionStats{});
}

void StudyProgressRow::setStats(const SessionStats &stats)
{
    m_mastered->setText(setpage::chipText(QStringLiteral("Mastered"), stats.masteredCount));
    m_learning->setText(setpage::chipText(QStringLiteral("Learning"), stats.learningCount));
    m_weak->setText(setpage::chipText(QStringLiteral("Weak"), stats.weakCount));
    // Whole percent in integers: 29 of 50 cards is 58%, 2 of 3 is 66%.
    m_progress->setText(setpage::progressText(stats.progressPercent()));
}

} // namespace qv::study
