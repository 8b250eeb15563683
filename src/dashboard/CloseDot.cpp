#include "dashboard/CloseDot.h"

#include "theme/Theme.h"

#include <QPainter>

namespace qv::dashboard {

CloseDot::CloseDot(QWidget *parent) : QAbstractButton(parent)
{
    setAccessibleName(QStringLiteral("Close"));
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(24, 24);
}

void CloseDot::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QColor red;
    red.setRgbF(1.0f, 0.37f, 0.36f);
    const QRectF dot(6, 6, 12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawEllipse(dot);
    p.setPen(QPen(Theme::withOpacity(Qt::white, 0.18), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(dot.adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace qv::dashboard
