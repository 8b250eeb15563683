#include "editor/GlyphButton.h"

#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QPainter>
#include <QPainterPath>

namespace qv::editor {

GlyphButton::GlyphButton(const QString &glyph, const QString &accessibleName, QWidget *parent)
    : QAbstractButton(parent)
{
    setText(glyph);
    setAccessibleName(accessibleName);
    setToolTip(accessibleName);
    setFont(Typography::font(TextStyle::Caption, QFont::Bold));
    setFixedSize(20, 20);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void GlyphButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(r, 6, 6);
    p.fillPath(path, Theme::surfaceAlt());
    p.setPen(QPen(Theme::border(), 1));
    p.drawPath(path);
    p.setPen(Theme::subtext());
    p.setFont(font());
    p.drawText(rect(), Qt::AlignCenter, text());
}

} // namespace qv::editor
