#include "dashboard/OverlayHost.h"

#include <QEvent>

#include <algorithm>

namespace qv::dashboard {

OverlayHost::OverlayHost(QWidget *parent) : QWidget(parent) {}

void OverlayHost::addLayer(QWidget *layer, int z, Placement placement, QMargins margins)
{
    layer->setParent(this);
    m_layers.append({layer, z, m_nextOrder++, placement, margins});
    std::stable_sort(m_layers.begin(), m_layers.end(),
                     [](const Layer &a, const Layer &b) { return a.z < b.z || (a.z == b.z && a.order < b.order); });
    // A layer whose preferred size changes is placed again.
    if (placement != Placement::Fill)
        layer->installEventFilter(this);
    restack();
    place(m_layers[int(
        std::find_if(m_layers.begin(), m_layers.end(), [layer](const Layer &l) { return l.widget == layer; })
        - m_layers.begin())]);
}

QList<QWidget *> OverlayHost::layers() const
{
    QList<QWidget *> out;
    for (const Layer &l : m_layers)
        out.append(l.widget);
    return out;
}

QWidget *OverlayHost::layerAt(QPoint pos) const
{
    for (auto it = m_layers.crbegin(); it != m_layers.crend(); ++it)
        if (it->widget->parentWidget() == this && it->widget->isVisible() && it->widget->geometry().contains(pos)
            && !it->widget->testAttribute(Qt::WA_TransparentForMouseEvents))
            return it->widget;
    return nullptr;
}

void OverlayHost::restack()
{
    // Hiding and showing keep a widget's place among its siblings, so one
    // pass in order is enough.
    for (const Layer &l : m_layers)
        l.widget->raise();
}

void OverlayHost::place(const Layer &layer)
{
    QWidget *w = layer.widget;
    // A layer lent to another widget for a while is placed by its borrower.
    if (w->parentWidget() != this)
        return;
    const QRect area = rect().marginsRemoved(layer.margins);
    if (layer.placement == Placement::Fill) {
        w->setGeometry(area);
        return;
    }
    // A minimum size set on the layer counts too: left out, the widget would
    // grow past it to the right when placed and sit off centre.
    QSize size = w->sizeHint().expandedTo(w->minimumSizeHint()).expandedTo(w->minimumSize());
    size.setWidth(std::min({size.width(), w->maximumWidth(), std::max(0, area.width())}));
    if (w->hasHeightForWidth())
        size.setHeight(w->heightForWidth(size.width()));
    size.setHeight(std::min(size.height(), std::max(0, area.height())));
    QPoint at;
    if (layer.placement == Placement::Bottom)
        at = QPoint(area.left() + (area.width() - size.width()) / 2, area.bottom() + 1 - size.height());
    else
        at = QPoint(area.right() + 1 - size.width(), area.top());
    w->setGeometry(QRect(at, size));
}

void OverlayHost::placeAll()
{
    for (const Layer &l : m_layers)
        place(l);
}

void OverlayHost::resizeEvent(QResizeEvent *) { placeAll(); }

bool OverlayHost::event(QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest)
        placeAll();
    return QWidget::event(event);
}

bool OverlayHost::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show) {
        for (const Layer &l : m_layers)
            if (l.widget == watched)
                place(l);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qv::dashboard
