#pragma once

#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

class QLabel;
class QScrollArea;
class QPainter;
class QRectF;

namespace qv::study {

// A label of the study views: always plain text, since titles and card sides
// are typed by the user.
QLabel *makeLabel(const QString &text, TextStyle style, std::optional<QFont::Weight> weight, const QColor &color);

// The rounded surface of the workspace's cards and rows: Theme::surface with
// a 1-pixel Theme::border outline.
void paintPanel(QPainter &painter, const QRectF &rect, double radius);

// A scroll area of the workspace: no frame, no background of its own and a
// thin scroll bar in the palette's colours.
void styleScrollArea(QScrollArea *area);

} // namespace qv::study
