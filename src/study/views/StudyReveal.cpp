#include "study/views/StudyReveal.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

namespace qv::study {

namespace {
constexpr int kMargin = 16;

QScrollArea *scrollingAncestor(QWidget *widget)
{
    for (QWidget *w = widget->parentWidget(); w; w = w->parentWidget())
        if (auto *area = qobject_cast<QScrollArea *>(w); area && area->widget() && area->widget()->isAncestorOf(widget))
            return area;
    return nullptr;
}

// Runs `move` on the nearest scrolling ancestor of `widget` once the layout
// changes already asked for have settled: the caller has usually just shown
// or grown something, and its place is known only after the layouts have run.
void whenSettled(QWidget *widget, std::function<void(QScrollArea *, QWidget *)> move)
{
    if (!widget)
        return;
    QPointer<QWidget> target(widget);
    QMetaObject::invokeMethod(
        widget,
        [target, move = std::move(move)] {
            if (!target || !target->isVisible())
                return;
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            if (!target)
                return;
            if (QScrollArea *area = scrollingAncestor(target))
                move(area, target);
        },
        Qt::QueuedConnection);
}
} // namespace

void scrollToTop(QWidget *widget)
{
    whenSettled(widget, [](QScrollArea *area, QWidget *) { area->verticalScrollBar()->setValue(0); });
}

void revealInScroll(QWidget *widget, std::function<QRect()> part)
{
    whenSettled(widget, [part = std::move(part)](QScrollArea *area, QWidget *target) {
        const QRect local = part ? part() : target->rect();
        const QRect inContent(target->mapTo(area->widget(), local.topLeft()), local.size());
        QScrollBar *bar = area->verticalScrollBar();
        const int viewTop = bar->value();
        const int viewHeight = area->viewport()->height();
        int value = viewTop;
        if (inContent.height() + 2 * kMargin > viewHeight || inContent.top() < viewTop + kMargin)
            value = inContent.top() - kMargin;
        else if (inContent.bottom() + kMargin > viewTop + viewHeight)
            value = inContent.bottom() + kMargin - viewHeight;
        bar->setValue(value);
    });
}

} // namespace qv::study
