#pragma once

#include <QFileDialog>

namespace qv::editor {

// The chooser of the AI Outline tab: lists PDF files only and refuses any
// other file whose name the user types in, saying so and staying open. It
// opens in the folder of the last file chosen, or in the home folder.
class PdfFileDialog : public QFileDialog {
    Q_OBJECT
public:
    static inline const QString kRefusal = QStringLiteral("Only PDF files can be chosen.");

    explicit PdfFileDialog(QWidget *parent = nullptr);

    static bool isPdfName(const QString &path);

public slots:
    void accept() override;
};

} // namespace qv::editor
