#pragma once

#include "theme/StyledLabel.h" // the study views' labels
#include "theme/Theme.h"
#include "theme/Typography.h"

class QScrollArea;
class QPainter;
class QRectF;

namespace qv::study {

// The rounded surface of the workspace's cards and rows: Theme::surface with
// a 1-pixel Theme::border outline.
void paintPanel(QPainter &painter, const QRectF &rect, double radius);

// A scroll area of the workspace: no frame, no background of its own and a
// thin scroll bar in the palette's colours.
void styleScrollArea(QScrollArea *area);

} // namespace qv::study
