#include "editor/EditorStyle.h"

#include <QLabel>

namespace qv::editor {

QLabel *styledLabel(const QString &text, TextStyle style, std::optional<QFont::Weight> weight, const QColor &color,
                    QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(Typography::font(style, weight));
    setTextColor(label, color);
    return label;
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, color);
    pal.setColor(QPalette::ButtonText, color);
    widget->setPalette(pal);
}

void setLabelText(QLabel *label, const QString &text)
{
    if (label->text() != text)
        label->setText(text);
}

} // namespace qv::editor
