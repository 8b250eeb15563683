#pragma once

#include <QColor>
#include <QPointF>
#include <QWidget>

namespace qv {
class DropShadow;
}

namespace qv::dashboard {

// A rounded panel: a fill, a hairline outline and, when asked, a soft drop
// shadow outside it. Clicks on its background stop here, so a card on a
// dimmed layer never counts as a click on the dim; a card in a window that
// moves by its background lets them through instead.
class Card : public QWidget {
    Q_OBJECT
public:
    Card(QColor fill, double radius, QWidget *parent = nullptr);

    void setFill(const QColor &fill);
    void setBorder(const QColor &border)
    {
        m_border = border;
        update();
    }
    // A capsule whatever the height.
    void setCapsule(bool on)
    {
        m_capsule = on;
        update();
    }
    void setShadow(double blurRadius, QPointF offset, double opacity = 1.0);
    // Whether presses on the background stop at the card (the default).
    void setTakesBackgroundClicks(bool on) { m_takesClicks = on; }
    bool takesBackgroundClicks() const { return m_takesClicks; }
    double radius() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QColor m_fill;
    QColor m_border;
    double m_radius;
    bool m_capsule = false;
    bool m_takesClicks = true;
    DropShadow *m_shadow = nullptr;
    double m_shadowBlur = 0;
    QPointF m_shadowOffset;
    double m_shadowOpacity = 1;
};

} // namespace qv::dashboard
