#include "theme/Symbols.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace qv {

namespace {
QRectF fitted(const QSizeF &natural, const QRectF &rect)
{
    if (natural.isEmpty())
        return rect;
    const QSizeF s = natural.scaled(rect.size(), Qt::KeepAspectRatio);
    return QRectF(rect.center().x() - s.width() / 2, rect.center().y() - s.height() / 2, s.width(), s.height());
}
} // namespace

QString Symbols::path(const QString &name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return {};
    const QString p = QStringLiteral(":/quorvel/symbols/%1.svg").arg(name);
    return QFile::exists(p) ? p : QString();
}

bool Symbols::has(const QString &name) { return !path(name).isEmpty(); }

QString Symbols::imagePath(const QString &name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return {};
    const QString p = QStringLiteral(":/quorvel/images/%1.svg").arg(name);
    return QFile::exists(p) ? p : QString();
}

bool Symbols::paintFile(QPainter &painter, const QString &path, const QRectF &rect)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return false;
    renderer.render(&painter, fitted(renderer.defaultSize(), rect));
    return true;
}

QPixmap Symbols::pixmap(const QString &name, QSize size, const QColor &color, qreal devicePixelRatio)
{
    const QString p = path(name);
    if (p.isEmpty() || size.isEmpty())
        return {};
    QSvgRenderer renderer(p);
    QPixmap pm(size * devicePixelRatio);
    pm.fill(Qt::transparent);
    {
        QPainter painter(&pm);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, fitted(renderer.defaultSize(), QRectF(QPointF(), QSizeF(pm.size()))));
        // The glyph is drawn in black; keep its shape and take the tint.
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(pm.rect(), color);
    }
    pm.setDevicePixelRatio(devicePixelRatio);
    return pm;
}

bool Symbols::paint(QPainter &painter, const QString &name, const QRectF &rect, const QColor &color)
{
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QPixmap pm = pixmap(name, rect.size().toSize().expandedTo({1, 1}), color, dpr);
    if (pm.isNull())
        return false;
    painter.drawPixmap(rect.topLeft(), pm);
    return true;
}

QIcon Symbols::icon(const QString &name, const QColor &color, QSize size)
{
    const QPixmap pm = pixmap(name, size, color, 2.0);
    return pm.isNull() ? QIcon() : QIcon(pm);
}

} // namespace qv
