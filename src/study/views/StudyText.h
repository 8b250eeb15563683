#pragma once

#include "theme/ScrollAreaStyle.h" // the study views' scroll areas
#include "theme/StyledLabel.h"     // the study views' labels
#include "theme/Theme.h"
#include "theme/Typography.h"

class QPainter;
class QRectF;

namespace qv::study {

// The rounded surface of the workspace's cards and rows: Theme::surface with
// a 1-pixel Theme::border outline.
void paintPanel(QPainter &painter, const QRectF &rect, double radius);

} // namespace qv::study
