#include "study/StudyCardAreaEffect.h"

#include <QPainter>

namespace qv::study {

void StudyCardAreaEffect::setProgress(double progress)
{
    if (progress == m_progress)
        return;
    m_progress = progress;
    update();
}

void StudyCardAreaEffect::draw(QPainter *painter)
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
    const double s = scale();
    painter->save();
    painter->setOpacity(painter->opacity() * m_progress);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->translate(area.center());
    painter->scale(s, s);
    painter->translate(-area.center());
    painter->drawPixmap(area.topLeft(), pixmap);
    painter->restore();
}

} // namespace qv::study
