#include "editor/PdfFileDialog.h"

#include "platform/ChooserFolder.h"

#include <QFileInfo>
#include <QMessageBox>

namespace qv::editor {

PdfFileDialog::PdfFileDialog(QWidget *parent) : QFileDialog(parent, QStringLiteral("Upload PDF"))
{
    // Qt's own dialog, so the refusal below applies whatever the desktop.
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    setNameFilter(QStringLiteral("PDF (*.pdf *.PDF)"));
    setDirectory(platform::chooserStartFolder());
    connect(this, &QFileDialog::fileSelected, this, [](const QString &file) { platform::rememberChosenFile(file); });
}

bool PdfFileDialog::isPdfName(const QString &path)
{
    return QFileInfo(path).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0;
}

void PdfFileDialog::accept()
{
    // A folder opens and a missing file is reported by the dialog itself;
    // an existing file of another kind is refused here.
    const QStringList files = selectedFiles();
    if (files.size() == 1 && QFileInfo(files.first()).isFile() && !isPdfName(files.first())) {
        auto *box = new QMessageBox(QMessageBox::Warning, windowTitle(), kRefusal, QMessageBox::Ok, this);
        box->setInformativeText(
            QStringLiteral("\u201C%1\u201D is not a PDF file.").arg(QFileInfo(files.first()).fileName()));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    QFileDialog::accept();
}

} // namespace qv::editor
