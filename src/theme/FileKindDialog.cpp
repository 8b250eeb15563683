#include "theme/FileKindDialog.h"

#include "platform/ChooserFolder.h"

#include <QFileInfo>
#include <QMessageBox>

namespace qv {

FileKindDialog::FileKindDialog(QWidget *parent, const QString &title, const QStringList &nameFilters,
                               QStringList suffixes, QString refusal)
    : QFileDialog(parent, title), m_suffixes(std::move(suffixes)), m_refusal(std::move(refusal))
{
    // Qt's own dialog, so the refusal below applies whatever the desktop.
    if (!m_suffixes.isEmpty())
        setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    if (!nameFilters.isEmpty())
        setNameFilters(nameFilters);
    setDirectory(platform::chooserStartFolder());
    connect(this, &QFileDialog::fileSelected, this, [](const QString &file) { platform::rememberChosenFile(file); });
}

bool FileKindDialog::hasSuffix(const QString &path, const QStringList &suffixes)
{
    return suffixes.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive);
}

void FileKindDialog::accept()
{
    // A folder opens and a missing file is reported by the dialog itself;
    // an existing file of another kind is refused here.
    const QStringList files = selectedFiles();
    if (!m_suffixes.isEmpty() && files.size() == 1 && QFileInfo(files.first()).isFile()
        && !hasSuffix(files.first(), m_suffixes)) {
        auto *box = new QMessageBox(QMessageBox::Warning, windowTitle(), m_refusal, QMessageBox::Ok, this);
        box->setInformativeText(
            QStringLiteral("\u201C%1\u201D cannot be chosen here.").arg(QFileInfo(files.first()).fileName()));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    QFileDialog::accept();
}

} // namespace qv
