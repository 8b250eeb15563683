#include "theme/TransitionEffect.h"

#include <QPainter>

namespace qv {

void TransitionEffect::frameChanged()
{
    setEnabled(!atRest(frame(sourceBoundingRect(Qt::LogicalCoordinates))));
    update();
}

void TransitionEffect::sourceChanged(ChangeFlags flags)
{
    QGraphicsEffect::sourceChanged(flags);
    if (flags & SourceAttached)
        setEnabled(!atRest(frame(sourceBoundingRect(Qt::LogicalCoordinates))));
}

void TransitionEffect::draw(QPainter *painter)
{
    const Frame f = frame(sourceBoundingRect(Qt::LogicalCoordinates));
    if (atRest(f)) {
        drawSource(painter);
        return;
    }
    if (f.opacity <= 0)
        return;
    QPoint offset;
    const QPixmap pixmap = sourcePixmap(Qt::LogicalCoordinates, &offset, QGraphicsEffect::NoPad);
    if (pixmap.isNull())
        return;
    const QRectF area(offset, pixmap.deviceIndependentSize());
    painter->save();
    if (f.clip)
        painter->setClipRect(area, Qt::IntersectClip);
    painter->setOpacity(painter->opacity() * f.opacity);
    if (f.scale != 1) {
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->translate(area.center());
        painter->scale(f.scale, f.scale);
        painter->translate(-area.center());
    }
    painter->drawPixmap(area.topLeft() + QPointF(0, f.shiftY), pixmap);
    painter->restore();
}

} // namespace qv
