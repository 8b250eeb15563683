#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>

class QPainter;

namespace qv {

// A soft drop shadow of a rounded rectangle, as cards, buttons, knobs and the
// focus glow cast it. `blurRadius` is the reach of the blur (a Gaussian of
// standard deviation blurRadius / 2), `offset` moves the shadow.
struct ShadowSpec {
    QRectF rect;             // the casting shape, in the painter's coordinates
    double cornerRadius = 0; // rect.height() / 2 for capsules and circles
    QColor color;
    double blurRadius = 0;
    QPointF offset;

    bool isVisible() const { return color.alpha() > 0 && !rect.isEmpty(); }
    // The area the shadow may touch.
    QRectF bounds() const;
};

class Shadow {
public:
    Shadow() = delete;
    // Paints the shadow (blurred images are cached by shape, colour and blur).
    static void paint(QPainter &painter, const ShadowSpec &spec);
};

} // namespace qv
