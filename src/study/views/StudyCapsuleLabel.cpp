#include "study/views/StudyCapsuleLabel.h"

#include <QPainter>

namespace qv::study {

namespace {
constexpr int kDot = 8;
constexpr int kDotGap = 6;
} // namespace

StudyCapsuleLabel::StudyCapsuleLabel(const QString &text, TextStyle style, QFont::Weight weight,
                                     const QColor &textColor, const QColor &fill, int padX, int padY, QWidget *parent)
    : QLabel(parent), m_fill(fill), m_padX(padX)
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

void StudyCapsuleLabel::setOutline(const QColor &color)
{
    m_outline = color;
    update();
}

void StudyCapsuleLabel::setDot(const QColor &color)
{
    m_dot = color;
    QMargins m = contentsMargins();
    m.setLeft(m_padX + kDot + kDotGap);
    setContentsMargins(m);
}

void StudyCapsuleLabel::paintEvent(QPaintEvent *event)
{
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(m_fill);
        QRectF r = rect();
        if (m_outline) {
            r.adjust(0.5, 0.5, -0.5, -0.5);
            p.setPen(QPen(*m_outline, 1));
        } else {
            p.setPen(Qt::NoPen);
        }
        const double radius = r.height() / 2;
        p.drawRoundedRect(r, radius, radius);
        if (m_dot) {
            p.setPen(Qt::NoPen);
            p.setBrush(*m_dot);
            p.drawEllipse(QRectF(m_padX, (height() - kDot) / 2.0, kDot, kDot));
        }
    }
    QLabel::paintEvent(event);
}

} // namespace qv::study
