#pragma once

#include "platform/FileChooser.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

class QFileDialog;
class QWidget;

namespace qv {
class WallClock;
}

namespace qv::editor {

// Shows a chooser for one PDF file without blocking and, when the user
// confirms, calls `chosen` with the file (or with nothing when the chooser
// reports none). A cancelled chooser calls nothing.
using PdfChooser = std::function<void(QWidget *parent, std::function<void(std::optional<QUrl>)> chosen)>;

// What the editor takes from its opener besides the application state.
struct EditorServices {
    const WallClock *clock = nullptr; // none: the system clock
    PdfChooser choosePdf;             // none: a file dialog for PDF files

    // A modeless file dialog that lists PDF files only and refuses others.
    static PdfChooser fileDialogPdfChooser();
    // That dialog, not yet shown.
    static QFileDialog *pdfDialog(QWidget *parent);
    // What a PDF chooser accepts, and what it says of any other file.
    static QStringList pdfSuffixes() { return {QStringLiteral("pdf")}; }
    static QString pdfRefusal() { return QStringLiteral("Only PDF files can be chosen."); }
    // The whole request, as every PDF chooser asks it.
    static platform::FileChooserRequest pdfRequest();
    static bool isPdf(const QString &fileName);
};

} // namespace qv::editor
