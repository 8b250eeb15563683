#include "study/StudyTestScrollArea.h"

#include <QScrollBar>

namespace qv::study {

StudyTestScrollArea::StudyTestScrollArea(QWidget *parent) : QScrollArea(parent)
{
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QSize StudyTestScrollArea::sizeHint() const
{
    QWidget *content = widget();
    if (!content)
        return QScrollArea::sizeHint();
    const QMargins m = contentsMargins();
    const int width = viewport()->width() > 0 ? viewport()->width() : content->sizeHint().width();
    const int height = content->hasHeightForWidth() ? content->heightForWidth(width) : content->sizeHint().height();
    return {content->sizeHint().width() + m.left() + m.right() + verticalScrollBar()->sizeHint().width(),
            height + m.top() + m.bottom()};
}

} // namespace qv::study
