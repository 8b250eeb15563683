#include "study/views/StudyFrame.h"

#include "theme/Theme.h"

#include <QPainter>
#include <QPainterPath>

namespace qv::study {

StudyFrame::StudyFrame(double radius, QWidget *parent) : StudyFrame(radius, Theme::surface(), parent) {}

StudyFrame::StudyFrame(double radius, const QColor &fill, QWidget *parent)
    : QWidget(parent), m_radius(radius), m_fill(fill)
{
}

void paintFramedRect(QPainter &p, const QRect &rect, double radius, const QColor &fill, const QColor &outline)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.fillPath(path, fill);
    p.setPen(QPen(outline, 1));
    p.drawPath(path);
}

void StudyFrame::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    paintFramedRect(p, rect(), m_radius, m_fill, Theme::border());
}

} // namespace qv::study
