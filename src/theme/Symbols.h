#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QRectF>
#include <QString>

class QPainter;

namespace qv {

// Our own small line glyphs, looked up by the symbol names the views use
// ("checkmark", "arrow.right", …) and tinted at drawing time.
class Symbols {
public:
    Symbols() = delete;

    static bool has(const QString &name);
    // Resource path of a symbol; empty when there is none.
    static QString path(const QString &name);
    // Draws the symbol scaled to fit `rect` (aspect kept, centred) in `color`.
    // Returns false, drawing nothing, for an unknown name.
    static bool paint(QPainter &painter, const QString &name, const QRectF &rect, const QColor &color);
    static QPixmap pixmap(const QString &name, QSize size, const QColor &color, qreal devicePixelRatio = 1.0);
    static QIcon icon(const QString &name, const QColor &color, QSize size = {16, 16});

    // An application image (e.g. "LogoMark") from the resources, when present.
    static QString imagePath(const QString &name);
    // Draws an SVG file scaled to fit `rect`, keeping its own colours.
    static bool paintFile(QPainter &painter, const QString &path, const QRectF &rect);
};

} // namespace qv
