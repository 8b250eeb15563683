#pragma once

#include "theme/Typography.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

class QLabel;
class QWidget;

namespace qv {

// A label in a font and a colour. Always plain text, since much of what
// labels show is typed by the user. The colour holds wherever the label sits:
// inside a button a label would otherwise take the button's text colour.
QLabel *styledLabel(const QString &text, const QFont &font, const QColor &color, QWidget *parent = nullptr);
QLabel *styledLabel(const QString &text, TextStyle style, std::optional<QFont::Weight> weight, const QColor &color,
                    QWidget *parent = nullptr);

// Lets a label's lines wrap at word ends, aligned as given; returns the label.
QLabel *wordWrapped(QLabel *label, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

// Sets the colour of a widget's text, as a label or as a button draws it.
void setTextColor(QWidget *widget, const QColor &color);

} // namespace qv
