#include "editor/EditorServices.h"

#include "editor/PdfFileDialog.h"

namespace qv::editor {

PdfChooser EditorServices::fileDialogPdfChooser()
{
    return [](QWidget *parent, std::function<void(std::optional<QUrl>)> chosen) {
        auto *dialog = new PdfFileDialog(parent);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setWindowModality(Qt::NonModal);
        QObject::connect(dialog, &QFileDialog::urlSelected, dialog, [chosen](const QUrl &url) {
            chosen(url.isEmpty() ? std::nullopt : std::optional<QUrl>(url));
        });
        dialog->show();
    };
}

} // namespace qv::editor
