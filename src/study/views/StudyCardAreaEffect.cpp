#include "study/views/StudyCardAreaEffect.h"

namespace qv::study {

void StudyCardAreaEffect::setProgress(double progress)
{
    if (progress == m_progress)
        return;
    m_progress = progress;
    frameChanged();
}

TransitionEffect::Frame StudyCardAreaEffect::frame(const QRectF &) const { return {m_progress, scale(), 0, false}; }

} // namespace qv::study
