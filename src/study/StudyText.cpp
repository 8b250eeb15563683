#include "study/StudyText.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace qv::study {

QLabel *makeLabel(const QString &text, TextStyle style, std::optional<QFont::Weight> weight, const QColor &color)
{
    auto *label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setFont(Typography::font(style, weight));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
    return label;
}

void paintPanel(QPainter &painter, const QRectF &rect, double radius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    painter.fillPath(path, Theme::surface());
    painter.setPen(QPen(Theme::border(), 1));
    painter.drawPath(path);
    painter.restore();
}

} // namespace qv::study
