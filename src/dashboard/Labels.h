#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

namespace qv::dashboard {

// The theme's styled label, transparent to the mouse: it shows text only and
// leaves clicks to what lies under it.
QLabel *styledLabel(const QString &text, const QFont &font, const QColor &color, QWidget *parent = nullptr);

} // namespace qv::dashboard
