#include "app/AccessibleScrollArea.h"

#include <QAbstractScrollArea>
#include <QAccessibleWidget>
#include <QScrollBar>

namespace qv::app {

namespace {

class ScrollAreaAccessible : public QAccessibleWidget {
public:
    explicit ScrollAreaAccessible(QAbstractScrollArea *area) : QAccessibleWidget(area, QAccessible::Client) {}

    int childCount() const override { return int(children().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QWidgetList list = children();
        if (index < 0 || index >= list.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(list.at(index));
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child || !child->object())
            return -1;
        return int(children().indexOf(qobject_cast<QWidget *>(child->object())));
    }

private:
    // Read anew on every question: the scroll bars come and go.
    QWidgetList children() const
    {
        QWidgetList out;
        auto *area = static_cast<QAbstractScrollArea *>(widget());
        if (!area)
            return out;
        if (QWidget *viewport = area->viewport())
            out.append(viewport);
        for (QScrollBar *bar : {area->horizontalScrollBar(), area->verticalScrollBar()})
            if (bar && bar->isVisible() && bar->parentWidget())
                out.append(bar->parentWidget());
        if (QWidget *corner = area->cornerWidget(); corner && corner->isVisible())
            out.append(corner);
        return out;
    }
};

QAccessibleInterface *scrollAreaFactory(const QString &className, QObject *object)
{
    if (className != QLatin1String("QScrollArea") && className != QLatin1String("QAbstractScrollArea"))
        return nullptr;
    auto *area = qobject_cast<QAbstractScrollArea *>(object);
    return area ? new ScrollAreaAccessible(area) : nullptr;
}

} // namespace

void installScrollAreaAccessibility()
{
    // Factories installed later are asked first, so this one comes before
    // the one the widgets module installs with the application object.
    QAccessible::installFactory(&scrollAreaFactory);
}

} // namespace qv::app
