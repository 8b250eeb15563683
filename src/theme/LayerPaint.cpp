#include "theme/LayerPaint.h"

namespace qv {

const QPixmap &CachedLayer::get(QSize size, qreal ratio, quint64 key, const std::function<void(QPainter &)> &draw)
{
    if (m_drawn && size == m_size && ratio == m_ratio && key == m_key)
        return m_pixmap;
    m_drawn = true;
    m_size = size;
    m_ratio = ratio;
    m_key = key;
    m_pixmap = QPixmap(size * ratio);
    m_pixmap.setDevicePixelRatio(ratio);
    m_pixmap.fill(Qt::transparent);
    QPainter p(&m_pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return m_pixmap;
}

void paintByRects(QPainter &p, const QRegion &region, const std::function<void()> &paint)
{
    const bool clipped = p.hasClipping();
    const QRegion before = p.clipRegion();
    for (const QRect &r : region) {
        p.setClipRect(r);
        paint();
    }
    if (clipped)
        p.setClipRegion(before);
    else
        p.setClipping(false);
}

QRegion edgeRegion(const QRect &rect, int width, int corner)
{
    QRegion edge = QRegion(rect).subtracted(QRegion(rect.adjusted(width, width, -width, -width)));
    if (corner > 0) {
        const QSize side(corner, corner);
        edge += QRect(rect.topLeft(), side);
        edge += QRect(QPoint(rect.right() - corner + 1, rect.top()), side);
        edge += QRect(QPoint(rect.left(), rect.bottom() - corner + 1), side);
        edge += QRect(QPoint(rect.right() - corner + 1, rect.bottom() - corner + 1), side);
    }
    return edge;
}

} // namespace qv
