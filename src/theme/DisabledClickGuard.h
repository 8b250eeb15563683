#pragma once

#include <QObject>

namespace qv {

// Keeps a click on a disabled button from moving the keyboard focus. Qt
// hands the focus of such a click to the nearest enabled ancestor that takes
// click focus (a scroll area, the page), so keys typed next would leave the
// field the user was in. The guard drops presses on disabled buttons before
// the window delivers them; nothing else would have come of them.
class DisabledClickGuard : public QObject {
public:
    // Installs the one guard on the application; later calls do nothing.
    static void ensureInstalled();

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};

} // namespace qv
