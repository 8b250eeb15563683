#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

namespace qv::dashboard {

// A plain-text label in a font and colour, transparent to nothing: it shows
// text only and leaves clicks to what lies under it.
QLabel *styledLabel(const QString &text, const QFont &font, const QColor &color, QWidget *parent = nullptr);
void setLabelColor(QLabel *label, const QColor &color);

} // namespace qv::dashboard
