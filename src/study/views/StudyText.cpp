#include "study/views/StudyText.h"

#include "study/views/StudyFrame.h"

#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>

namespace qv::study {

void paintPanel(QPainter &painter, const QRectF &rect, double radius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    paintFramedRect(painter, rect.toRect(), radius, Theme::surface(), Theme::border());
    painter.restore();
}

} // namespace qv::study
