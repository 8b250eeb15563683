#include "editor/SlideFadeEffect.h"

namespace qv::editor {

void SlideFadeEffect::setProgress(double progress)
{
    if (progress == m_progress)
        return;
    m_progress = progress;
    frameChanged();
}

double SlideFadeEffect::offsetFor(double height) const
{
    const double shift = (1 - m_progress) * height;
    return m_edge == Edge::Bottom ? shift : -shift;
}

TransitionEffect::Frame SlideFadeEffect::frame(const QRectF &area) const
{
    return {m_progress, 1, m_progress >= 1 ? 0 : offsetFor(area.height()), true};
}

} // namespace qv::editor
