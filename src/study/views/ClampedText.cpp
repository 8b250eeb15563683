#include "study/views/ClampedText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace qv::study {

namespace {
QString withoutBreaks(QString s)
{
    s.replace(QChar::LineSeparator, QLatin1Char(' '));
    while (!s.isEmpty() && s.back().isSpace())
        s.chop(1);
    return s;
}
} // namespace

ClampedText clampText(const QString &text, const QFont &font, double width, int maxLines)
{
    ClampedText out;
    if (maxLines < 1)
        return out;
    // Hard line breaks of the user's text stay breaks.
    QString source = text;
    source.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    source.replace(QLatin1Char('\n'), QChar::LineSeparator);
    source.replace(QLatin1Char('\r'), QChar::LineSeparator);

    QTextLayout layout(source, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const double w = std::max(width, 1.0);
    layout.beginLayout();
    int lastStart = 0;
    bool more = false;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(w);
        if (out.lines.size() == maxLines) {
            more = true;
            break;
        }
        lastStart = line.textStart();
        out.lines << withoutBreaks(source.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    if (more && !out.lines.isEmpty()) {
        // The last line gets whatever is left, cut with an ellipsis.
        const QFontMetricsF fm(font);
        const QString rest = withoutBreaks(source.mid(lastStart)) + QStringLiteral("\u2026");
        out.lines.back() = fm.elidedText(rest, Qt::ElideRight, w);
        out.elided = true;
    }
    return out;
}

double linesHeight(const ClampedText &text, const QFont &font)
{
    const QFontMetricsF fm(font);
    return text.lines.size() * fm.lineSpacing();
}

double paintCentredLines(QPainter &painter, const QRectF &area, const ClampedText &text, const QFont &font)
{
    const QFontMetricsF fm(font);
    painter.setFont(font);
    double y = area.top();
    for (const QString &line : text.lines) {
        const double x = area.left() + (area.width() - fm.horizontalAdvance(line)) / 2;
        painter.drawText(QPointF(x, y + fm.ascent()), line);
        y += fm.lineSpacing();
    }
    return y - area.top();
}

} // namespace qv::study
