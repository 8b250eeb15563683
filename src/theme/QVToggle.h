#pragma once

#include <QAbstractButton>

namespace qv {

class DropShadow;

// An on/off switch: the label on the left, a flexible gap, and a capsule
// switch on the right. Only the switch responds to clicks; the knob moves
// without animation.
class QVToggle : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int kTrackWidth = 44;
    static constexpr int kTrackHeight = 24;
    static constexpr int kKnob = 18;
    static constexpr int kSpacing = 8;

    explicit QVToggle(const QString &label = {}, QWidget *parent = nullptr);

    // The switch's track, in widget coordinates.
    QRectF trackRect() const;
    QRectF knobRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
    void changeEvent(QEvent *event) override;
};

} // namespace qv
