#pragma once

#include <QGraphicsEffect>

namespace qv {

// Paints a widget part-way through a transition: faded, scaled about its
// centre and shifted vertically. Subclasses say where the transition stands;
// a frame at full opacity, scale 1 and no shift paints the widget untouched.
//
// At rest (that frame) the effect switches itself off, so the widget paints
// as if it had none: an effect that stays on around views that carry effects
// of their own nests them, and Qt cannot paint nested effects (its painters
// collide and parts of the inner views come out blank or smeared).
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

    // Subclasses call this whenever their frame changes.
    void frameChanged();

    void draw(QPainter *painter) override;
    void sourceChanged(ChangeFlags flags) override;

private:
    static bool atRest(const Frame &f) { return f.opacity >= 1 && f.scale == 1 && f.shiftY == 0; }
};

} // namespace qv
