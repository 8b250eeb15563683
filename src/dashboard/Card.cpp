#include "dashboard/Card.h"

#include "theme/DropShadow.h"
#include "theme/Theme.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace qv::dashboard {

Card::Card(QColor fill, double radius, QWidget *parent)
    : QWidget(parent), m_fill(std::move(fill)), m_border(Theme::border()), m_radius(radius)
{
}

void Card::setFill(const QColor &fill)
{
    m_fill = fill;
    update();
}

double Card::radius() const { return m_capsule ? height() / 2.0 : m_radius; }

void Card::setShadow(double blurRadius, QPointF offset, double opacity)
{
    m_shadowBlur = blurRadius;
    m_shadowOffset = offset;
    m_shadowOpacity = opacity;
    if (!m_shadow) {
        m_shadow = new DropShadow(this, [this] {
            return ShadowSpec{QRectF(rect()), radius(), Theme::withOpacity(Theme::shadow(), m_shadowOpacity),
                              m_shadowBlur, m_shadowOffset};
        });
    }
    m_shadow->setReach(int(blurRadius * 2 + std::abs(offset.y()) + 4));
    m_shadow->refresh();
}

void Card::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    const double r = radius();
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), r, r);
    p.fillPath(shape, m_fill);
    if (m_border.alpha() > 0) {
        p.setPen(QPen(m_border, 1));
        p.drawPath(shape);
    }
}

void Card::mousePressEvent(QMouseEvent *event) { event->setAccepted(m_takesClicks); }

void Card::mouseReleaseEvent(QMouseEvent *event) { event->setAccepted(m_takesClicks); }

} // namespace qv::dashboard
