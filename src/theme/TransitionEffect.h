#pragma once

#include <QGraphicsEffect>

namespace qv {

// Paints a widget part-way through a transition: faded, scaled about its
// centre and shifted vertically. Subclasses say where the transition stands;
// a frame at full opacity, scale 1 and no shift paints the widget untouched.
class TransitionEffect : public QGraphicsEffect {
    Q_OBJECT
public:
    using QGraphicsEffect::QGraphicsEffect;

protected:
    struct Frame {
        double opacity = 1;
        double scale = 1;
        double shiftY = 0; // logical pixels, down is positive
        bool clip = false; // clip what moves beyond the widget's own rectangle
    };
    // The frame for a widget occupying `area`.
    virtual Frame frame(const QRectF &area) const = 0;

    void draw(QPainter *painter) override;
};

} // namespace qv
