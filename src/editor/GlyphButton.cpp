#include "editor/GlyphButton.h"

#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QPainter>
#include <QPainterPath>

namespace qv::editor {

GlyphButton::GlyphButton(const QString &glyph, const QString &accessibleName, QWidget *parent, int side,
                         double cornerRadius)
    : QAbstractButton(parent), m_side(side), m_radius(cornerRadius)
{
    setText(glyph);
    setAccessibleName(accessibleName);
    setToolTip(accessibleName);
    setFont(Typography::font(TextStyle::Caption, QFont::Bold));
    setFixedSize(side, side);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void GlyphButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(r, m_radius, m_radius);
    p.fillPath(path, Theme::surfaceAlt());
    p.setPen(QPen(Theme::border(), 1));
    p.drawPath(path);
    p.setPen(Theme::subtext());
    p.setFont(font());
    p.drawText(rect(), Qt::AlignCenter, text());
}

} // namespace qv::editor
