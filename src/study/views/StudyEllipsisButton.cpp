#include "study/views/StudyEllipsisButton.h"

#include "theme/Theme.h"

#include <QPainter>

namespace qv::study {

StudyEllipsisButton::StudyEllipsisButton(int diameter, TextStyle style, QWidget *parent)
    : QAbstractButton(parent), m_diameter(diameter)
{
    setText(QStringLiteral("\u22EF"));
    setFont(Typography::font(style, QFont::Bold));
    setFixedSize(diameter, diameter);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void StudyEllipsisButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setBrush(Theme::surfaceAlt());
    p.setPen(QPen(Theme::border(), 1));
    p.drawEllipse(r);
    p.setPen(Theme::subtext());
    p.setFont(font());
    p.drawText(rect(), Qt::AlignCenter, text());
}

} // namespace qv::study
