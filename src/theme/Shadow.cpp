#include "theme/Shadow.h"

#include <QCache>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace qv {

namespace {

// One box-blur pass over an 8-bit alpha image, along rows or columns.
void boxBlur(QImage &img, int radius, bool horizontal)
{
    if (radius < 1)
        return;
    const int w = img.width(), h = img.height();
    const int lines = horizontal ? h : w;
    const int len = horizontal ? w : h;
    std::vector<int> src(len);
    const int window = 2 * radius + 1;
    for (int line = 0; line < lines; ++line) {
        auto at = [&](int i) -> uchar & { return horizontal ? img.scanLine(line)[i] : img.scanLine(i)[line]; };
        for (int i = 0; i < len; ++i)
            src[i] = at(i);
        int sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += (i >= 0 && i < len) ? src[i] : 0;
        for (int i = 0; i < len; ++i) {
            at(i) = uchar(sum / window);
            const int out = i - radius, in = i + radius + 1;
            sum += (in < len ? src[in] : 0) - (out >= 0 ? src[out] : 0);
        }
    }
}

QImage blurredShadow(QSizeF size, double cornerRadius, const QColor &color, double blur, qreal dpr)
{
    const double sigma = blur / 2.0 * dpr;
    const int pad = int(std::ceil(blur * dpr)) + 2;
    const QSize px(int(std::ceil(size.width() * dpr)) + 2 * pad, int(std::ceil(size.height() * dpr)) + 2 * pad);
    QImage mask(px, QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRoundedRect(QRectF(pad, pad, size.width() * dpr, size.height() * dpr), cornerRadius * dpr,
                          cornerRadius * dpr);
    }
    // Three box blurs approximate a Gaussian of this standard deviation.
    if (sigma > 0.3) {
        const int r = std::max(1, int(std::lround((std::sqrt(12.0 * sigma * sigma / 3.0 + 1.0) - 1.0) / 2.0)));
        for (int i = 0; i < 3; ++i) {
            boxBlur(mask, r, true);
            boxBlur(mask, r, false);
        }
    }
    QImage out(px, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.drawImage(0, 0, mask);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(out.rect(), color);
    p.end();
    out.setDevicePixelRatio(dpr);
    return out;
}

} // namespace

QRectF ShadowSpec::bounds() const
{
    const double m = blurRadius + 2;
    return rect.translated(offset).adjusted(-m, -m, m, m);
}

void Shadow::paint(QPainter &painter, const ShadowSpec &spec)
{
    if (!spec.isVisible())
        return;
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QString key = QStringLiteral("%1x%2 r%3 c%4 b%5 d%6")
                            .arg(spec.rect.width(), 0, 'f', 2)
                            .arg(spec.rect.height(), 0, 'f', 2)
                            .arg(spec.cornerRadius, 0, 'f', 2)
                            .arg(spec.color.rgba(), 0, 16)
                            .arg(spec.blurRadius, 0, 'f', 2)
                            .arg(dpr);
    static QCache<QString, QImage> cache(64);
    QImage *img = cache.object(key);
    if (!img) {
        img = new QImage(blurredShadow(spec.rect.size(), spec.cornerRadius, spec.color, spec.blurRadius, dpr));
        cache.insert(key, img);
    }
    const int pad = int(std::ceil(spec.blurRadius * dpr)) + 2;
    const QPointF topLeft = spec.rect.topLeft() + spec.offset - QPointF(pad / dpr, pad / dpr);
    painter.drawImage(topLeft, *img);
}

} // namespace qv
