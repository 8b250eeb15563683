#include "editor/RoundedPanel.h"

#include <QPainter>
#include <QPainterPath>

namespace qv::editor {

RoundedPanel::RoundedPanel(const QColor &fill, const QColor &outline, double radius, QWidget *parent)
    : QWidget(parent), m_fill(fill), m_outline(outline), m_radius(radius)
{
}

void RoundedPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The outline's centre runs half a pixel inside so all of it shows.
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = m_radius < 0 ? r.height() / 2 : m_radius;
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    p.fillPath(path, m_fill);
    p.setPen(QPen(m_outline, 1));
    p.drawPath(path);
}

} // namespace qv::editor
