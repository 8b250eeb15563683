#include "dashboard/Labels.h"

#include "theme/StyledLabel.h"

namespace qv::dashboard {

QLabel *styledLabel(const QString &text, const QFont &font, const QColor &color, QWidget *parent)
{
    QLabel *label = qv::styledLabel(text, font, color, parent);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

} // namespace qv::dashboard
