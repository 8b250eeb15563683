#pragma once

#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QSize>

#include <functional>

namespace qv {

// A layer of a widget drawn once into a pixmap and laid on from it: the
// widget's size, scale and what it is drawn from (`key`) decide when it is
// drawn again.
class CachedLayer {
public:
    // The layer for `size` at `ratio`, drawn by `draw` (on a transparent,
    // antialiased painter in widget coordinates) when `key` or the size
    // changed since the last call.
    const QPixmap &get(QSize size, qreal ratio, quint64 key, const std::function<void(QPainter &)> &draw);

private:
    QPixmap m_pixmap;
    QSize m_size;
    qreal m_ratio = 0;
    quint64 m_key = 0;
    bool m_drawn = false;
};

// Runs `paint` once per rectangle of `region`, clipped to it. A cached layer
// laid on under a rectangular clip is a plain blit; under a clip of many
// rectangles (a band along a window's edges) the raster engine cuts it into
// one span per row and hands long runs of spans to worker threads, which
// costs far more than the pixels do.
void paintByRects(QPainter &p, const QRegion &region, const std::function<void()> &paint);

// The strip `width` wide along the edges of `rect`, with squares of side
// `corner` in its four corners (where rounded corners curve in).
QRegion edgeRegion(const QRect &rect, int width, int corner = 0);

} // namespace qv
