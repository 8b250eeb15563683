#include "theme/StyledLabel.h"

#include <QLabel>

namespace qv {

QLabel *styledLabel(const QString &text, const QFont &font, const QColor &color, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setForegroundRole(QPalette::WindowText);
    setTextColor(label, color);
    return label;
}

QLabel *styledLabel(const QString &text, TextStyle style, std::optional<QFont::Weight> weight, const QColor &color,
                    QWidget *parent)
{
    return styledLabel(text, Typography::font(style, weight), color, parent);
}

QLabel *wordWrapped(QLabel *label, Qt::Alignment alignment)
{
    label->setAlignment(alignment);
    label->setWordWrap(true);
    return label;
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, color);
    pal.setColor(QPalette::ButtonText, color);
    widget->setPalette(pal);
}

} // namespace qv
