#include "theme/ConfirmAlert.h"

#include "theme/Typography.h"

#include <QLabel>
#include <QPushButton>

namespace qv {

QMessageBox *openConfirmAlert(QWidget *parent, const QString &title, const QString &message, const QString &actionLabel,
                              std::function<void(QMessageBox *box, bool confirmed)> finished, QMessageBox::Icon icon)
{
    auto *box = new QMessageBox(parent);
    // The application's own type, as in every view around the box.
    box->setFont(Typography::font(TextStyle::Body));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(icon);
    box->setWindowTitle(title);
    box->setTextFormat(Qt::PlainText);
    box->setText(title);
    box->setInformativeText(message);
    QPushButton *cancel = box->addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    QPushButton *action = box->addButton(actionLabel, QMessageBox::DestructiveRole);
    // Qt sizes a box to its text, which wraps a short question early and
    // leaves the window manager too narrow a title bar for the title.
    const int textWidth = std::max(kConfirmTextWidth, box->fontMetrics().horizontalAdvance(title) + 160);
    for (QLabel *label : box->findChildren<QLabel *>())
        if (!label->text().isEmpty())
            label->setMinimumWidth(textWidth);
    if (auto *head = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
        head->setFont(Typography::font(TextStyle::Headline, QFont::DemiBold));
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    QObject::connect(box, &QMessageBox::finished, parent,
                     [box, action, finished = std::move(finished)] { finished(box, box->clickedButton() == action); });
    box->open();
    return box;
}

} // namespace qv
