#include "study/views/StudyPill.h"

#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QPainter>

namespace qv::study {

StudyPill::StudyPill(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
    setFont(Typography::font(TextStyle::Caption, QFont::DemiBold));
    setContentsMargins(10, 5, 10, 5);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Theme::text());
    setPalette(pal);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void StudyPill::paintEvent(QPaintEvent *event)
{
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setBrush(Theme::surfaceAlt());
        p.setPen(QPen(Theme::border(), 1));
        p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
    }
    QLabel::paintEvent(event);
}

} // namespace qv::study
