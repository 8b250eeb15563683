#include "study/views/StudyCapsuleLabel.h"

#include <QPainter>

namespace qv::study {

StudyCapsuleLabel::StudyCapsuleLabel(const QString &text, TextStyle style, QFont::Weight weight,
                                     const QColor &textColor, const QColor &fill, int padX, int padY,
                                     QWidget *parent)
    : QLabel(parent), m_fill(fill)
{
    setTextFormat(Qt::PlainText);
    setText(text);
    setFont(Typography::font(style, weight));
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, textColor);
    setPalette(pal);
    setContentsMargins(padX, padY, padX, padY);
    setAlignment(Qt::AlignCenter);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void StudyCapsuleLabel::paintEvent(QPaintEvent *event)
{
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(m_fill);
        const QRectF r = rect();
        const double radius = r.height() / 2;
        p.drawRoundedRect(r, radius, radius);
    }
    QLabel::paintEvent(event);
}

} // namespace qv::study
