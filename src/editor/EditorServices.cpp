#include "editor/EditorServices.h"

#include <QFileDialog>

namespace qv::editor {

PdfChooser EditorServices::fileDialogPdfChooser()
{
    return [](QWidget *parent, std::function<void(std::optional<QUrl>)> chosen) {
        auto *dialog = new QFileDialog(parent);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setFileMode(QFileDialog::ExistingFile);
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setNameFilter(QStringLiteral("PDF (*.pdf *.PDF)"));
        dialog->setWindowModality(Qt::NonModal);
        QObject::connect(dialog, &QFileDialog::urlSelected, dialog, [chosen](const QUrl &url) {
            chosen(url.isEmpty() ? std::nullopt : std::optional<QUrl>(url));
        });
        dialog->show();
    };
}

} // namespace qv::editor
