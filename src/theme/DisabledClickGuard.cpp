#include "theme/DisabledClickGuard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace qv {

void DisabledClickGuard::ensureInstalled()
{
    static QPointer<DisabledClickGuard> guard;
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (!app || guard)
        return;
    guard = new DisabledClickGuard(app);
    app->installEventFilter(guard);
}

bool DisabledClickGuard::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        return false;
    // Only presses on their way to a window's widgets, before any widget
    // has seen them.
    auto *window = qobject_cast<QWindow *>(watched);
    if (!window || !event->spontaneous() || QApplication::activePopupWidget())
        return false;
    QWidget *top = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->windowHandle() == window) {
            top = w;
            break;
        }
    }
    if (!top)
        return false;
    const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
    auto *button = qobject_cast<QAbstractButton *>(top->childAt(at));
    return button && !button->isEnabled();
}

} // namespace qv
