#include "study/views/StudyElidedLabel.h"

#include <QPainter>

namespace qv::study {

StudyElidedLabel::StudyElidedLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QString StudyElidedLabel::shownText() const
{
    // One line: line breaks typed into a title show as spaces.
    QString line = text();
    for (QChar &c : line)
        if (c == QChar::LineFeed || c == QChar::CarriageReturn || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator || c == QChar(0x0B) || c == QChar(0x0C) || c == QChar(0x85))
            c = QChar::Space;
    return fontMetrics().elidedText(line, Qt::ElideRight, contentsRect().width());
}

QSize StudyElidedLabel::minimumSizeHint() const
{
    return {fontMetrics().horizontalAdvance(QStringLiteral("…")) * 3, QLabel::minimumSizeHint().height()};
}

void StudyElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    painter.drawText(contentsRect(), int(Qt::AlignLeft | Qt::AlignVCenter), shownText());
}

} // namespace qv::study
