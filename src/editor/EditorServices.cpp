#include "editor/EditorServices.h"

#include "theme/FileKindDialog.h"

namespace qv::editor {

platform::FileChooserRequest EditorServices::pdfRequest()
{
    return {QStringLiteral("Choose a PDF"), {QStringLiteral("PDF files (*.pdf *.PDF)")}, pdfSuffixes(), pdfRefusal()};
}

bool EditorServices::isPdf(const QString &fileName) { return FileKindDialog::hasSuffix(fileName, pdfSuffixes()); }

QFileDialog *EditorServices::pdfDialog(QWidget *parent)
{
    const platform::FileChooserRequest r = pdfRequest();
    return new FileKindDialog(parent, r.title, r.nameFilters, r.suffixes, r.refusal);
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
