#include "editor/LineClampLabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace qv::editor {

LineClampLabel::LineClampLabel(const QString &text, int maxLines, const QColor &color, QWidget *parent)
    : QWidget(parent), m_text(text), m_maxLines(std::max(1, maxLines)), m_color(color)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setAccessibleName(text);
}

void LineClampLabel::setText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void LineClampLabel::setColor(const QColor &color)
{
    m_color = color;
    update();
}

QStringList LineClampLabel::linesFor(int width) const
{
    QStringList out;
    if (m_text.isEmpty() || width <= 0)
        return out;
    QString shown = m_text;
    shown.replace(QChar::LineFeed, QChar::LineSeparator);
    QTextLayout layout(shown, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QList<QPair<int, int>> spans;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        spans.append({line.textStart(), line.textLength()});
    }
    layout.endLayout();
    const QFontMetricsF metrics(font());
    for (int i = 0; i < spans.size() && i < m_maxLines; ++i) {
        const bool last = i == m_maxLines - 1 && spans.size() > m_maxLines;
        QString line = shown.mid(spans[i].first, last ? -1 : spans[i].second);
        line.remove(QChar::LineSeparator);
        if (last)
            line = metrics.elidedText(line.simplified() + QStringLiteral(" \u2026"), Qt::ElideRight, width);
        out << line.trimmed();
    }
    return out;
}

int LineClampLabel::heightForWidth(int width) const
{
    const int lines = std::max<qsizetype>(1, linesFor(width).size());
    return int(std::ceil(QFontMetricsF(font()).lineSpacing() * lines));
}

QSize LineClampLabel::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const int w = int(std::ceil(metrics.horizontalAdvance(m_text)));
    return {std::min(w, 400), heightForWidth(std::min(w, 400))};
}

QSize LineClampLabel::minimumSizeHint() const { return {10, int(std::ceil(QFontMetricsF(font()).lineSpacing()))}; }

void LineClampLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font());
    p.setPen(m_color);
    const QFontMetricsF metrics(font());
    double y = metrics.ascent();
    for (const QString &line : linesFor(width())) {
        p.drawText(QPointF(0, y), line);
        y += metrics.lineSpacing();
    }
}

void LineClampLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

} // namespace qv::editor
