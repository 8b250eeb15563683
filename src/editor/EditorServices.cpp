#include "editor/EditorServices.h"

#include "theme/FileKindDialog.h"

namespace qv::editor {

QFileDialog *EditorServices::pdfDialog(QWidget *parent)
{
    return new FileKindDialog(parent, QStringLiteral("Choose a PDF"), {QStringLiteral("PDF files (*.pdf *.PDF)")},
                              pdfSuffixes(), pdfRefusal());
}

PdfChooser EditorServices::fileDialogPdfChooser()
{
    return [](QWidget *parent, std::function<void(std::optional<QUrl>)> chosen) {
        auto *dialog = pdfDialog(parent);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setWindowModality(Qt::NonModal);
        QObject::connect(dialog, &QFileDialog::urlSelected, dialog, [chosen](const QUrl &url) {
            chosen(url.isEmpty() ? std::nullopt : std::optional<QUrl>(url));
        });
        dialog->show();
    };
}

} // namespace qv::editor
