#include "theme/ConfirmAlert.h"

#include <QPushButton>

namespace qv {

QMessageBox *openConfirmAlert(QWidget *parent, const QString &title, const QString &message,
                              const QString &actionLabel,
                              std::function<void(QMessageBox *box, bool confirmed)> finished, QMessageBox::Icon icon)
{
    auto *box = new QMessageBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(icon);
    box->setWindowTitle(title);
    box->setTextFormat(Qt::PlainText);
    box->setText(title);
    box->setInformativeText(message);
    QPushButton *cancel = box->addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    QPushButton *action = box->addButton(actionLabel, QMessageBox::DestructiveRole);
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    QObject::connect(box, &QMessageBox::finished, parent, [box, action, finished = std::move(finished)] {
        finished(box, box->clickedButton() == action);
    });
    box->open();
    return box;
}

} // namespace qv
