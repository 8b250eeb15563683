#include "editor/NewEssayTab.h"

#include "editor/EditorModel.h"
#include "editor/EditorStyle.h"
#include "editor/SmartBriefCard.h"
#include "editor/SpeedControl.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"
#include "theme/QVTextEditor.h"
#include "theme/StyledLabel.h"
#include "theme/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qv::editor {

NewEssayTab::NewEssayTab(EditorModel &model, QWidget *parent) : QWidget(parent), m_model(model)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    auto *presets = new QHBoxLayout;
    presets->setSpacing(8);
    presets->addStretch(1);
    for (SpeedPreset preset : {SpeedPreset::essay, SpeedPreset::timedExam, SpeedPreset::shortResponse}) {
        auto *button = new QVButton(presetLabel(preset), QVButtonVariant::secondary, true, this);
        presets->addWidget(button);
        m_presets.insert(preset, button);
        connect(button, &QAbstractButton::clicked, this, [this, preset] { m_model.applyPreset(preset); });
    }
    presets->addStretch(1);
    column->addLayout(presets);

    m_title = new QVLineEdit(this, 12);
    m_title->setPlaceholderText(QStringLiteral("Project Name"));
    column->addWidget(m_title);
    // User edits only: a suggestion's title arrives through sync() and is not the user's.
    connect(m_title, &QLineEdit::textEdited, this, [this](const QString &t) {
        m_shownTitle = t;
        m_model.editTitle(t);
    });

    m_text = new QVTextEditor(this, 12);
    m_text->setFixedHeight(120);
    m_text->editor()->setAccessibleName(QStringLiteral("Text"));
    column->addWidget(m_text);
    connect(m_text, &QVTextEditor::textChanged, this, [this] {
        m_shownText = m_text->toPlainText();
        m_model.editText(m_shownText);
    });

    auto *modes = new QHBoxLayout;
    modes->setSpacing(8);
    modes->addStretch(1);
    m_wpmMode = new QVButton(QStringLiteral("WPM SPEED"), QVButtonVariant::secondary, true, this);
    m_timeMode = new QVButton(QStringLiteral("TOTAL TIME"), QVButtonVariant::secondary, true, this);
    modes->addWidget(m_wpmMode);
    modes->addWidget(m_timeMode);
    modes->addStretch(1);
    column->addLayout(modes);
    connect(m_wpmMode, &QAbstractButton::clicked, this, [this] { m_model.chooseMode(kModeWpm); });
    connect(m_timeMode, &QAbstractButton::clicked, this, [this] { m_model.chooseMode(kModeTime); });

    m_speed = new SpeedControl(model, this);
    column->addWidget(m_speed);

    m_brief = new SmartBriefCard(model, this);
    column->addWidget(m_brief);

    m_hint = styledLabel({}, TextStyle::Caption2, std::nullopt, Theme::subtext(), this);
    column->addWidget(m_hint, 0, Qt::AlignHCenter);

    m_smartRow = new QWidget(this);
    auto *row = new QHBoxLayout(m_smartRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    m_smartType = styledLabel({}, TextStyle::Caption2, QFont::DemiBold, Theme::text(), m_smartRow);
    m_smartMinutes = styledLabel({}, TextStyle::Caption2, std::nullopt, Theme::subtext(), m_smartRow);
    row->addWidget(m_smartType);
    row->addStretch(1);
    row->addWidget(m_smartMinutes);
    column->addWidget(m_smartRow);

    auto *footer = new QHBoxLayout;
    m_cancel = new QVButton(QStringLiteral("Cancel"), QVButtonVariant::secondary, false, this);
    m_save = new QVButton(QStringLiteral("Save"), QVButtonVariant::primary, false, this);
    footer->addWidget(m_cancel);
    footer->addStretch(1);
    footer->addWidget(m_save);
    column->addLayout(footer);
    connect(m_cancel, &QAbstractButton::clicked, this, [this] { m_model.close(); });
    connect(m_save, &QAbstractButton::clicked, this, [this] { m_model.save(); });

    // The line names a file path and what is kept: it wraps within the tab
    // instead of running past the window's edge.
    m_saveError = styledLabel({}, TextStyle::Caption, std::nullopt, Theme::danger(), this);
    m_saveError->setWordWrap(true);
    m_saveError->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    column->addWidget(m_saveError);

    connect(&m_model, &EditorModel::changed, this, &NewEssayTab::sync);
    sync();
}

void NewEssayTab::sync()
{
    // As for the text below: a field may hold less than the model (a line
    // edit has a length limit), so compare with what was last pushed.
    if (m_shownTitle != m_model.title()) {
        m_shownTitle = m_model.title();
        const QSignalBlocker block(m_title);
        m_title->setText(m_shownTitle);
    }
    // Compared with what the editor last showed, not with its contents: the
    // editor normalises line breaks, and pushing again would move the cursor.
    if (m_shownText != m_model.text()) {
        m_shownText = m_model.text();
        const QSignalBlocker block(m_text);
        m_text->setPlainText(m_shownText);
    }
    m_wpmMode->setVariant(m_model.mode() == kModeWpm ? QVButtonVariant::primary : QVButtonVariant::secondary);
    m_timeMode->setVariant(m_model.mode() == kModeTime ? QVButtonVariant::primary : QVButtonVariant::secondary);

    m_brief->setVisible(m_model.showsSmartBrief());
    m_hint->setVisible(!m_model.smartHint().isEmpty());
    setLabelText(m_hint, m_model.smartHint());
    m_smartRow->setVisible(m_model.showsSmartBrief());
    if (const auto &p = m_model.smartPreview()) {
        setLabelText(m_smartType, QStringLiteral("Smart: ") + p->essayType);
        setLabelText(m_smartMinutes, QStringLiteral("\u2248 %1m").arg(p->predictedMinutes));
    }
    m_saveError->setVisible(!m_model.saveError().isEmpty());
    setLabelText(m_saveError, m_model.saveError());
}

} // namespace qv::editor
