#include "editor/AiOutlineTab.h"

#include "editor/EditorModel.h"
#include "editor/EditorStyle.h"
#include "theme/QVButton.h"
#include "theme/QVTextEditor.h"
#include "theme/StyledLabel.h"
#include "theme/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qv::editor {

AiOutlineTab::AiOutlineTab(EditorModel &model, PdfChooser choosePdf, QWidget *parent)
    : QWidget(parent), m_model(model), m_choosePdf(std::move(choosePdf))
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    auto *upload = new QHBoxLayout;
    m_upload = new QVButton(QStringLiteral("Upload PDF"), QVButtonVariant::secondary, false, this);
    m_fileName = styledLabel({}, TextStyle::Caption, std::nullopt, Theme::subtext(), this);
    upload->addStretch(1);
    upload->addWidget(m_upload);
    upload->addWidget(m_fileName);
    upload->addStretch(1);
    column->addLayout(upload);
    connect(m_upload, &QAbstractButton::clicked, this, [this] {
        if (!m_choosePdf)
            return;
        // The chooser may answer after the editor has closed.
        QPointer<EditorModel> model(&m_model);
        m_choosePdf(this, [model](std::optional<QUrl> url) {
            if (model)
                model->pdfChosen(url);
        });
    });

    m_notes = new QVTextEditor(this, 12);
    m_notes->setFixedHeight(80);
    m_notes->editor()->setAccessibleName(QStringLiteral("Notes"));
    column->addWidget(m_notes);
    connect(m_notes, &QVTextEditor::textChanged, this, [this] {
        m_shownNotes = m_notes->toPlainText();
        m_model.editNotes(m_shownNotes);
    });

    m_generate = new QVButton(QStringLiteral("Generate (Coming Soon)"), QVButtonVariant::secondary, false, this);
    m_generate->setEnabled(false);
    column->addWidget(m_generate, 0, Qt::AlignHCenter);
    column->addStretch(1);

    connect(&m_model, &EditorModel::changed, this, &AiOutlineTab::sync);
    sync();
}

void AiOutlineTab::sync()
{
    // Beside the button, once a file is picked: the status the pick left
    // ("PDF selected: " and the file's name, or why a file was refused).
    m_fileName->setVisible(!m_model.status().isEmpty());
    setLabelText(m_fileName, m_model.status());
    if (m_shownNotes != m_model.notes()) {
        m_shownNotes = m_model.notes();
        const QSignalBlocker block(m_notes);
        m_notes->setPlainText(m_shownNotes);
    }
}

} // namespace qv::editor
