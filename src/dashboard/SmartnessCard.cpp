#include "dashboard/SmartnessCard.h"

#include "dashboard/Labels.h"
#include "dashboard/SettingsBindings.h"
#include "dashboard/SettingsText.h"
#include "state/AppState.h"
#include "state/Preferences.h"
#include "theme/QVButton.h"
#include "theme/QVPillPicker.h"
#include "theme/QVTextEditor.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace qv::dashboard {

namespace {
QList<QVariant> variants(const QStringList &values)
{
    QList<QVariant> out;
    for (const QString &v : values)
        out << v;
    return out;
}
} // namespace

SmartnessCard::SmartnessCard(state::AppState &appState, std::shared_ptr<SettingsBindings> bindings, QWidget *parent)
    : Card(Theme::surfaceAlt(), 16, parent), m_appState(appState), m_bindings(std::move(bindings))
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(10);
    column->addWidget(styledLabel(QStringLiteral("Smartness"), Typography::font(TextStyle::Caption, QFont::DemiBold),
                                  Theme::subtext(), this));

    m_preset = new QVPillPicker(QStringLiteral("Preset"), this);
    m_preset->setOptions(variants(presetOptions()), [](const QVariant &v) { return presetLabel(v.toString()); });
    m_preset->setSelection(m_bindings->smartPreset());
    column->addWidget(m_preset);

    auto *modeRow = new QHBoxLayout;
    modeRow->setSpacing(10);
    modeRow->addWidget(styledLabel(QStringLiteral("Default mode"),
                                   Typography::font(TextStyle::Caption2, QFont::DemiBold), Theme::subtext(), this));
    m_mode = new QVPillPicker(std::nullopt, this);
    m_mode->setOptions(variants(modeOptions()), [](const QVariant &v) { return modeLabel(v.toString()); });
    m_mode->setSelection(m_bindings->defaultMode());
    modeRow->addWidget(m_mode);
    modeRow->addStretch();
    column->addLayout(modeRow);

    auto *previewHead = new QHBoxLayout;
    previewHead->setSpacing(8);
    previewHead->addWidget(styledLabel(QStringLiteral("Live preview"),
                                       Typography::font(TextStyle::Caption2, QFont::DemiBold), Theme::subtext(), this));
    previewHead->addStretch();
    m_clear = new QVButton(QStringLiteral("Clear"), QVButtonVariant::tertiary, true, this);
    previewHead->addWidget(m_clear);
    column->addLayout(previewHead);

    m_sample = new QVTextEditor(this, 12);
    m_sample->setFixedHeight(70);
    m_sample->setPlainText(m_bindings->smartSampleText());
    column->addWidget(m_sample);

    m_hint = styledLabel(smartPreviewHint(), Typography::font(TextStyle::Caption2), Theme::subtext(), this);
    column->addWidget(m_hint);
    m_line = new QWidget(this);
    auto *line = new QHBoxLayout(m_line);
    line->setContentsMargins(0, 0, 0, 0);
    m_heading = styledLabel(QString(), Typography::font(TextStyle::Caption2, QFont::DemiBold), Theme::text(), m_line);
    m_detail = styledLabel(QString(), Typography::font(TextStyle::Caption2), Theme::subtext(), m_line);
    m_minutes = styledLabel(QString(), Typography::font(TextStyle::Caption2), Theme::subtext(), m_line);
    line->addWidget(m_heading);
    line->addStretch();
    line->addWidget(m_detail);
    line->addWidget(m_minutes);
    column->addWidget(m_line);

    // Both pickers change the shared values; the values are stored at once.
    connect(m_preset, &QVPillPicker::selectionChanged, this,
            [this](const QVariant &v) { m_bindings->setSmartPreset(v.toString()); });
    connect(m_mode, &QVPillPicker::selectionChanged, this,
            [this](const QVariant &v) { m_bindings->setDefaultMode(v.toString()); });
    connect(m_bindings.get(), &SettingsBindings::smartPresetChanged, this, [this] {
        m_preset->setSelection(m_bindings->smartPreset());
        m_appState.preferences().setString(state::AppState::presetKey, m_bindings->smartPreset());
    });
    connect(m_bindings.get(), &SettingsBindings::defaultModeChanged, this, [this] {
        m_mode->setSelection(m_bindings->defaultMode());
        m_appState.setDefaultMode(m_bindings->defaultMode());
    });
    connect(m_clear, &QAbstractButton::clicked, this, [this] { m_bindings->setSmartSampleText(QString()); });
    connect(m_sample, &QVTextEditor::textChanged, this,
            [this] { m_bindings->setSmartSampleText(m_sample->toPlainText()); });
    connect(m_bindings.get(), &SettingsBindings::smartSampleTextChanged, this, [this] {
        if (m_sample->toPlainText() != m_bindings->smartSampleText())
            m_sample->setPlainText(m_bindings->smartSampleText());
        refreshPreview();
    });
    // The suggestions read the stored defaults, so any change of them shows.
    connect(&m_appState.preferences(), &state::Preferences::valueChanged, this, [this](const QString &key) {
        if (key == state::AppState::presetKey || key == state::AppState::defaultGradeKey
            || key == state::AppState::defaultReviewKey)
            refreshPreview();
    });
    refreshPreview();
}

void SmartnessCard::refreshPreview()
{
    const QString &sample = m_bindings->smartSampleText();
    const bool blank = isBlankSample(sample);
    m_hint->setVisible(blank);
    m_line->setVisible(!blank);
    if (blank)
        return;
    // The whole sample, blanks and all, goes to the suggestions.
    const std::optional<SmartPreviewLine> line = smartPreviewLine(sample, m_appState.smartDefaults(sample));
    m_heading->setText(line->heading);
    m_detail->setText(line->detail);
    m_minutes->setText(line->minutes);
}

QStringList SmartnessCard::previewTexts() const
{
    if (m_hint->isVisibleTo(this))
        return {m_hint->text()};
    return {m_heading->text(), m_detail->text(), m_minutes->text()};
}

} // namespace qv::dashboard
