#pragma once

#include <QObject>

class QWidget;

namespace qv {

// Keeps the wheel from changing a setting the user only scrolled across. A
// wheel turned over a value control (a slider, a spin box, a combo box) that
// does not have the keyboard focus passes on to the control's ancestors, so
// the form around it scrolls; once the user has clicked or tabbed into the
// control, the wheel changes its value as usual. Controls that take the
// focus from the wheel itself are kept from doing so: the focus comes from
// a click or Tab only.
class WheelFocusGuard : public QObject {
public:
    // Installs the one guard on the application; later calls do nothing.
    static void ensureInstalled();

    // Whether the wheel over `w` is one the guard passes on to its ancestors.
    static bool passesOn(const QWidget *w);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};

} // namespace qv
