#pragma once

#include "editor/EditorServices.h"

#include <QWidget>

class QLabel;

namespace qv {
class QVButton;
class QVTextEditor;
} // namespace qv

namespace qv::editor {

class EditorModel;

// Material for a generated outline: a PDF and notes. Generating is not
// available yet; its button stays disabled.
class AiOutlineTab : public QWidget {
    Q_OBJECT
public:
    AiOutlineTab(EditorModel &model, PdfChooser choosePdf, QWidget *parent = nullptr);

    QVButton *uploadButton() const { return m_upload; }
    QLabel *fileNameLabel() const { return m_fileName; }
    QVTextEditor *notesEditor() const { return m_notes; }
    QVButton *generateButton() const { return m_generate; }

private:
    void sync();

    EditorModel &m_model;
    PdfChooser m_choosePdf;
    QVButton *m_upload;
    QLabel *m_fileName;
    QVTextEditor *m_notes;
    QVButton *m_generate;
    QString m_shownNotes;
};

} // namespace qv::editor
