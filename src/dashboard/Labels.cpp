#include "dashboard/Labels.h"

namespace qv::dashboard {

QLabel *styledLabel(const QString &text, const QFont &font, const QColor &color, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Inside a button a label would take the button's text role.
    label->setForegroundRole(QPalette::WindowText);
    setLabelColor(label, color);
    return label;
}

void setLabelColor(QLabel *label, const QColor &color)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
}

} // namespace qv::dashboard
