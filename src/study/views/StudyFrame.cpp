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

void StudyFrame::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), m_radius, m_radius);
    p.fillPath(path, m_fill);
    p.setPen(QPen(Theme::border(), 1));
    p.drawPath(path);
}

} // namespace qv::study
