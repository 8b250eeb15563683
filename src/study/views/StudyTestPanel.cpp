#include "study/views/StudyTestPanel.h"

#include "theme/Theme.h"

#include <QPainter>
#include <QPainterPath>

namespace qv::study {

StudyTestPanel::StudyTestPanel(const QColor &fill, QWidget *parent) : QWidget(parent), m_fill(fill) {}

void StudyTestPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
    p.fillPath(path, m_fill);
    p.setPen(QPen(Theme::border(), 1));
    p.drawPath(path);
}

} // namespace qv::study
