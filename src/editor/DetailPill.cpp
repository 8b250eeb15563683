#include "editor/DetailPill.h"

#include "theme/StyledLabel.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QPainter>
#include <QPainterPath>

namespace qv::editor {

DetailPill::DetailPill(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
    setFont(Typography::font(TextStyle::Caption, QFont::DemiBold));
    setContentsMargins(10, 5, 10, 5);
    setAlignment(Qt::AlignCenter);
    setTextColor(this, Theme::text());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void DetailPill::paintEvent(QPaintEvent *event)
{
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        QPainterPath capsule;
        capsule.addRoundedRect(r, r.height() / 2, r.height() / 2);
        p.fillPath(capsule, Theme::surfaceAlt());
        p.setPen(QPen(Theme::border(), 1));
        p.drawPath(capsule);
    }
    QLabel::paintEvent(event);
}

} // namespace qv::editor
