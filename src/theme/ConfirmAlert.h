#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

namespace qv {

// The width a confirmation's text gets at least, so that its question stays
// on one line and the window's title bar shows its whole title.
inline constexpr int kConfirmTextWidth = 360;

// A non-blocking confirmation: a plain-text title and message, "Cancel"
// (the default button, also taken by Escape) and one destructive action.
// It deletes itself when closed; `finished` gets the box and whether the
// action was chosen, on `parent`'s thread and only while `parent` lives.
QMessageBox *openConfirmAlert(QWidget *parent, const QString &title, const QString &message, const QString &actionLabel,
                              std::function<void(QMessageBox *box, bool confirmed)> finished,
                              QMessageBox::Icon icon = QMessageBox::NoIcon);

} // namespace qv
