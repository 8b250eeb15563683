#include "editor/SmartBriefCard.h"

#include "editor/EditorModel.h"
#include "editor/EditorStyle.h"
#include "theme/QVButton.h"
#include "theme/StyledLabel.h"
#include "theme/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qv::editor {

SmartBriefCard::SmartBriefCard(EditorModel &model, QWidget *parent)
    : RoundedPanel(Theme::surfaceAlt(), Theme::border(), 12, parent), m_model(model)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(6);

    auto *header = new QHBoxLayout;
    header->addWidget(
        styledLabel(QStringLiteral("Smart Brief"), TextStyle::Caption, QFont::DemiBold, Theme::subtext(), this));
    header->addStretch(1);
    m_why = new QVButton(QStringLiteral("Why?"), QVButtonVariant::tertiary, true, this);
    header->addWidget(m_why);
    column->addLayout(header);
    // It only opens; the bubble closes itself when clicked.
    connect(m_why, &QAbstractButton::clicked, this, [this] { m_model.openSmartWhy(); });

    auto *summary = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    m_essayType = styledLabel({}, TextStyle::Callout, QFont::DemiBold, Theme::text(), this);
    m_detail = styledLabel({}, TextStyle::Caption, std::nullopt, Theme::subtext(), this);
    left->addWidget(m_essayType);
    left->addWidget(m_detail);
    summary->addLayout(left);
    summary->addStretch(1);
    m_minutes = styledLabel({}, TextStyle::Callout, QFont::DemiBold, Theme::text(), this);
    summary->addWidget(m_minutes, 0, Qt::AlignTop);
    column->addLayout(summary);

    m_warning = styledLabel(kLongSessionWarning, TextStyle::Caption2, std::nullopt, Theme::danger(), this);
    m_warning->setWordWrap(true);
    column->addWidget(m_warning);

    connect(&m_model, &EditorModel::changed, this, &SmartBriefCard::sync);
    sync();
}

void SmartBriefCard::sync()
{
    const auto &p = m_model.smartPreview();
    if (!p)
        return;
    setLabelText(m_essayType, p->essayType);
    setLabelText(m_detail, QStringLiteral("Grade ") + p->grade + QStringLiteral(" \u2022 ") + capitalized(p->review));
    setLabelText(m_minutes, QStringLiteral("\u2248 %1m").arg(p->predictedMinutes));
    m_warning->setVisible(m_model.showsLongSessionWarning());
}

} // namespace qv::editor
