#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

namespace qv {

// A non-blocking confirmation: a plain-text title and message, "Cancel"
// (the default button, also taken by Escape) and one destructive action.
// It deletes itself when closed; `finished` gets the box and whether the
// action was chosen, on `parent`'s thread and only while `parent` lives.
QMessageBox *openConfirmAlert(QWidget *parent, const QString &title, const QString &message,
                              const QString &actionLabel,
                              std::function<void(QMessageBox *box, bool confirmed)> finished,
                              QMessageBox::Icon icon = QMessageBox::NoIcon);

} // namespace qv
