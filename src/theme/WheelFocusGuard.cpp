#include "theme/WheelFocusGuard.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>

namespace qv {

namespace {
// Controls whose value the wheel changes. A scroll bar's value is where its
// area is scrolled to, which is what a wheel is for.
bool isValueControl(const QWidget *w)
{
    if (qobject_cast<const QAbstractSlider *>(w))
        return !qobject_cast<const QScrollBar *>(w);
    return qobject_cast<const QAbstractSpinBox *>(w) || qobject_cast<const QComboBox *>(w);
}
} // namespace

void WheelFocusGuard::ensureInstalled()
{
    static QPointer<WheelFocusGuard> guard;
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (!app || guard)
        return;
    guard = new WheelFocusGuard(app);
    app->installEventFilter(guard);
}

bool WheelFocusGuard::passesOn(const QWidget *w) { return w && isValueControl(w) && !w->hasFocus(); }

bool WheelFocusGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Polish) {
        // Qt would hand such a control the focus from the wheel before any
        // filter sees the turn, and the turn would then change the value.
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && isValueControl(w) && (w->focusPolicy() & Qt::WheelFocus) == Qt::WheelFocus)
            w->setFocusPolicy(Qt::StrongFocus);
        return false;
    }
    if (event->type() != QEvent::Wheel || !watched->isWidgetType())
        return false;
    if (!passesOn(static_cast<QWidget *>(watched)))
        return false;
    // Kept from the control but left unaccepted: the application hands a
    // turn nobody accepted on to the parent, up to the window, as it does
    // with any widget that has no use for the wheel.
    event->ignore();
    return true;
}

} // namespace qv
