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

void styleScrollArea(QScrollArea *area)
{
    area->setFrameShape(QFrame::NoFrame);
    area->viewport()->setAutoFillBackground(false);
    if (QWidget *content = area->widget())
        content->setAutoFillBackground(false);
    const QString sheet =
        QStringLiteral("QScrollBar:vertical { background: transparent; width: 8px; margin: 0; }"
                       "QScrollBar::handle:vertical { background: %1; border-radius: 4px; min-height: 24px; }"
                       "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
                       "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }")
            .arg(Theme::border().name(QColor::HexArgb));
    area->verticalScrollBar()->setStyleSheet(sheet);
}

} // namespace qv::study
