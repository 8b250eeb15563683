#include "editor/SlideFadeEffect.h"

#include <QPainter>

namespace qv::editor {

void SlideFadeEffect::setProgress(double progress)
{
    if (progress == m_progress)
        return;
    m_progress = progress;
    update();
}

double SlideFadeEffect::offsetFor(double height) const
{
    const double shift = (1 - m_progress) * height;
    return m_edge == Edge::Bottom ? shift : -shift;
}

void SlideFadeEffect::draw(QPainter *painter)
{
    if (m_progress >= 1) {
        drawSource(painter);
        return;
    }
    if (m_progress <= 0)
        return;
    QPoint offset;
    const QPixmap pixmap = sourcePixmap(Qt::LogicalCoordinates, &offset, QGraphicsEffect::NoPad);
    if (pixmap.isNull())
        return;
    const QRectF area(offset, pixmap.deviceIndependentSize());
    painter->save();
    painter->setClipRect(area, Qt::IntersectClip);
    painter->setOpacity(painter->opacity() * m_progress);
    painter->drawPixmap(area.topLeft() + QPointF(0, offsetFor(area.height())), pixmap);
    painter->restore();
}

} // namespace qv::editor
