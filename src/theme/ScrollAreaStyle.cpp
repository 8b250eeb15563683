#include "theme/ScrollAreaStyle.h"

#include "theme/Theme.h"

#include <QScrollArea>
#include <QScrollBar>

namespace qv {

void styleScrollArea(QScrollArea *area, int barEndMargin, int handleRadius)
{
    area->setFrameShape(QFrame::NoFrame);
    area->viewport()->setAutoFillBackground(false);
    if (QWidget *content = area->widget())
        content->setAutoFillBackground(false);
    const QString margin = barEndMargin > 0 ? QStringLiteral("%1px 2px %1px 0").arg(barEndMargin) : QStringLiteral("0");
    area->verticalScrollBar()->setStyleSheet(
        QStringLiteral("QScrollBar:vertical { background: transparent; width: 8px; margin: %1; }"
                       "QScrollBar::handle:vertical { background: %2; border-radius: %3px; min-height: 24px; }"
                       "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
                       "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }")
            .arg(margin, Theme::border().name(QColor::HexArgb))
            .arg(handleRadius));
}

} // namespace qv
