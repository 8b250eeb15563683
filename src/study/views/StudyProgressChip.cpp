#include "study/views/StudyProgressChip.h"

#include "study/views/StudySetPageText.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QPainter>

namespace qv::study {

namespace {
constexpr int kDot = 8;
constexpr int kGap = 6;
} // namespace

StudyProgressChip::StudyProgressChip(const QString &label, const QColor &dot, QWidget *parent)
    : QLabel(parent), m_label(label), m_dot(dot)
{
    setTextFormat(Qt::PlainText);
    setFont(Typography::font(TextStyle::Callout, QFont::DemiBold));
    setContentsMargins(10 + kDot + kGap, 6, 10, 6);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Theme::text());
    setPalette(pal);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCount(0);
}

void StudyProgressChip::setCount(qint64 count) { setText(setpage::chipText(m_label, count)); }

void StudyProgressChip::paintEvent(QPaintEvent *event)
{
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setBrush(Theme::surfaceAlt());
        p.setPen(QPen(Theme::border(), 1));
        p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
        p.setPen(Qt::NoPen);
        p.setBrush(Theme::withOpacity(m_dot, 0.7));
        p.drawEllipse(QRectF(10, (height() - kDot) / 2.0, kDot, kDot));
    }
    QLabel::paintEvent(event);
}

} // namespace qv::study
