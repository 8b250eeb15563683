#pragma once

#include "theme/Typography.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

class QLabel;
class QWidget;

namespace qv::editor {

// A plain-text label in one of the named text styles and a palette colour.
QLabel *styledLabel(const QString &text, TextStyle style, std::optional<QFont::Weight> weight, const QColor &color,
                    QWidget *parent);
void setTextColor(QWidget *widget, const QColor &color);
// Sets a label's text only when it differs (no needless relayout).
void setLabelText(QLabel *label, const QString &text);

} // namespace qv::editor
