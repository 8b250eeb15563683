#include "dashboard/QtFileChooser.h"

#include "theme/FileKindDialog.h"

#include <QPointer>

namespace qv::dashboard {

void QtFileChooser::chooseFile(const platform::FileChooserRequest &request, QObject *context, Done done)
{
    auto *anchor = qobject_cast<QWidget *>(context);
    auto *dialog = new FileKindDialog(anchor ? anchor->window() : nullptr, request.title, request.nameFilters,
                                      request.suffixes, request.refusal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QObject> guard(context);
    const bool hadContext = context != nullptr;
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, guard, hadContext, done](int result) {
        if (hadContext && !guard)
            return;
        const QStringList files = dialog->selectedFiles();
        if (result == QDialog::Accepted && !files.isEmpty())
            done(files.first());
        else
            done(std::nullopt);
    });
    dialog->open();
}

} // namespace qv::dashboard
