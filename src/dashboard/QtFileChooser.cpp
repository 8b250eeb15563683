#include "dashboard/QtFileChooser.h"

#include "platform/ChooserFolder.h"

#include <QFileDialog>
#include <QPointer>

namespace qv::dashboard {

void QtFileChooser::chooseFile(const platform::FileChooserRequest &request, QObject *context, Done done)
{
    auto *anchor = qobject_cast<QWidget *>(context);
    auto *dialog = new QFileDialog(anchor ? anchor->window() : nullptr, request.title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setDirectory(platform::chooserStartFolder());
    if (!request.nameFilters.isEmpty())
        dialog->setNameFilters(request.nameFilters);
    QPointer<QObject> guard(context);
    const bool hadContext = context != nullptr;
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, guard, hadContext, done](int result) {
        if (hadContext && !guard)
            return;
        const QStringList files = dialog->selectedFiles();
        if (result == QDialog::Accepted && !files.isEmpty()) {
            platform::rememberChosenFile(files.first());
            done(files.first());
        } else {
            done(std::nullopt);
        }
    });
    dialog->open();
}

} // namespace qv::dashboard
