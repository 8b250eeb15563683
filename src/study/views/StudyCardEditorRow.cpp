#include "study/views/StudyCardEditorRow.h"

#include "study/views/StudyText.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qv::study {

StudyCardEditorRow::StudyCardEditorRow(const StudyItem &card, QWidget *parent)
    : StudyFrame(12, Theme::surfaceAlt(), parent), m_card(card)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);

    auto *header = new QHBoxLayout;
    header->addWidget(styledLabel(QStringLiteral("Edit Card"), TextStyle::Callout, QFont::DemiBold, Theme::text()));
    header->addStretch(1);
    m_cancel = new QVButton(QStringLiteral("Cancel"), QVButtonVariant::secondary, true);
    header->addWidget(m_cancel);
    layout->addLayout(header);

    m_termField = new QVLineEdit(nullptr, 12);
    m_termField->setPlaceholderText(QStringLiteral("Term"));
    m_termField->setShowsFocus(false);
    layout->addWidget(m_termField);
    m_definitionField = new QVLineEdit(nullptr, 12);
    m_definitionField->setPlaceholderText(QStringLiteral("Definition"));
    m_definitionField->setShowsFocus(false);
    layout->addWidget(m_definitionField);

    auto *footer = new QHBoxLayout;
    footer->addStretch(1);
    m_save = new QVButton(QStringLiteral("Save"), QVButtonVariant::primary, true);
    footer->addWidget(m_save);
    layout->addLayout(footer);

    connect(m_termField, &QLineEdit::textEdited, this, &StudyCardEditorRow::termEdited);
    connect(m_definitionField, &QLineEdit::textEdited, this, &StudyCardEditorRow::definitionEdited);
    connect(m_cancel, &QAbstractButton::clicked, this, &StudyCardEditorRow::cancelClicked);
    connect(m_save, &QAbstractButton::clicked, this, [this] { emit saveClicked(m_card); });
}

void StudyCardEditorRow::setDrafts(const QString &term, const QString &definition)
{
    if (m_termField->text() != term)
        m_termField->setText(term);
    if (m_definitionField->text() != definition)
        m_definitionField->setText(definition);
}

} // namespace qv::study
