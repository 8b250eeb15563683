#pragma once

#include "theme/QVButtonVariant.h"

#include <QAbstractButton>

namespace qv {

class AnimatedValue;
class DropShadow;

// The application's button: a filled, rounded face in one of four variants,
// regular or compact, that grows slightly under the pointer and sinks while
// pressed. A disabled button is drawn at half opacity and ignores clicks.
class QVButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit QVButton(const QString &text = {}, QVButtonVariant variant = QVButtonVariant::primary,
                      bool compact = false, QWidget *parent = nullptr);

    QVButtonVariant variant() const { return m_variant; }
    void setVariant(QVButtonVariant variant);
    bool compact() const { return m_compact; }
    void setCompact(bool compact);

    // A capsule-shaped hit area instead of the rounded face (pill buttons).
    void setCapsuleHitArea(bool on) { m_capsuleHit = on; }
    // A small spinning indicator after the label, for work under way.
    void setBusy(bool busy);
    bool isBusy() const { return m_busy; }
    // Draws the whole button, shadow included, at this opacity (painted by
    // the button itself, so it can sit inside a fading layer).
    void setOpacity(double opacity);
    double opacity() const { return m_opacity; }

    // The current look, for painting and for tests.
    struct Look {
        QColor fill;
        double scale = 1;
        double offsetY = 0;
        double opacity = 1;
        double shadowOpacity = 0.24; // fraction of Theme::shadow()
    };
    Look look() const;
    bool isHovered() const { return m_hovered; }

    // The painted face, in widget coordinates, at rest.
    QRectF faceRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setHovered(bool hovered);
    void pressedChanged();
    QSize contentSize() const;

    QVButtonVariant m_variant;
    bool m_compact;
    bool m_capsuleHit = false;
    bool m_busy = false;
    bool m_hovered = false;
    double m_opacity = 1;
    AnimatedValue *m_hover;
    AnimatedValue *m_press;
    AnimatedValue *m_spin;
    DropShadow *m_shadow;
};

} // namespace qv
