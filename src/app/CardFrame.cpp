#include "app/CardFrame.h"

#include "theme/DropShadow.h"
#include "theme/Theme.h"

#include <QPainter>
#include <QPainterPath>

namespace qv::app {

CardFrame::CardFrame(Style style, QWidget *parent) : QWidget(parent), m_style(style)
{
    m_shadow = new DropShadow(this, [this] {
        return ShadowSpec{
            QRectF(rect()), m_style.cornerRadius, Theme::shadow(), m_style.shadowRadius, {0, m_style.shadowOffsetY}};
    });
    m_shadow->setReach(int(m_style.shadowRadius + m_style.shadowOffsetY) + 4);
}

void CardFrame::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath face;
    face.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), m_style.cornerRadius, m_style.cornerRadius);
    p.fillPath(face, Theme::surface());
    p.setPen(QPen(Theme::border(), 1));
    p.drawPath(face);
}

} // namespace qv::app
