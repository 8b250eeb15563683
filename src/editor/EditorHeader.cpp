#include "editor/EditorHeader.h"

#include "editor/DetailPill.h"
#include "editor/EditorModel.h"
#include "editor/EditorStyle.h"
#include "editor/GlyphButton.h"
#include "theme/QVPillPicker.h"
#include "theme/QVToggle.h"
#include "theme/StyledLabel.h"
#include "theme/Theme.h"
#include "theme/WindowControlsIsland.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qv::editor {

EditorHeader::EditorHeader(EditorModel &model, QWidget *parent) : QWidget(parent), m_model(model)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    // Close and minimise, at the leading edge. They are the window's own
    // controls: the view places their row above the scrolling form.
    m_windowControls = new QWidget(this);
    auto *controls = new QHBoxLayout(m_windowControls);
    controls->setContentsMargins(0, 6, 0, 0);
    m_close = new GlyphButton(QStringLiteral("\u00D7"), QStringLiteral("Close"), m_windowControls);
    m_minimize = new GlyphButton(QStringLiteral("\u2013"), QStringLiteral("Minimize"), m_windowControls);
    controls->addWidget(m_close);
    controls->addWidget(m_minimize);
    controls->addStretch(1);
    column->addWidget(m_windowControls);
    connect(m_close, &QAbstractButton::clicked, this, [this] { m_model.close(); });
    connect(m_minimize, &QAbstractButton::clicked, this, [] { WindowControlsIsland::minimizeActiveWindow(); });

    m_heading = styledLabel({}, TextStyle::Title2, QFont::DemiBold, Theme::text(), this);
    m_heading->setAlignment(Qt::AlignCenter);
    // A long title wraps instead of widening the form past its window (the
    // form scrolls only up and down); a single word too long for a line is cut.
    m_heading->setWordWrap(true);
    m_heading->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    column->addWidget(m_heading);

    auto *pills = new QHBoxLayout;
    pills->setSpacing(8);
    pills->addStretch(1);
    for (int i = 0; i < 5; ++i) {
        m_pills << new DetailPill({}, this);
        pills->addWidget(m_pills.last());
    }
    pills->addStretch(1);
    column->addLayout(pills);

    m_tabs = new QVPillPicker(std::nullopt, this);
    m_tabs->setOptions<int>({0, 1}, [](const int &tab) { return tabLabel(tab); });
    column->addWidget(m_tabs, 0, Qt::AlignHCenter);
    connect(m_tabs, &QVPillPicker::selectionChanged, this, [this](const QVariant &v) { m_model.chooseTab(v.toInt()); });

    auto *settings = new QHBoxLayout;
    settings->setSpacing(10);
    m_grade = new QVPillPicker(QStringLiteral("Grade"), this);
    m_grade->setOptions<QString>(gradeOptions(), [](const QString &g) { return g; });
    m_review = new QVPillPicker(QStringLiteral("End Review"), this);
    m_review->setOptions<QString>(reviewOptions(), [](const QString &r) { return capitalized(r); });
    settings->addStretch(1);
    settings->addWidget(m_grade);
    settings->addWidget(m_review);
    settings->addStretch(1);
    column->addLayout(settings);
    // The picker reports every press; the model ignores a press of the chosen pill.
    connect(m_grade, &QVPillPicker::selectionChanged, this,
            [this](const QVariant &v) { m_model.chooseGrade(v.toString()); });
    connect(m_review, &QVPillPicker::selectionChanged, this,
            [this](const QVariant &v) { m_model.chooseReview(v.toString()); });

    auto *humanizeRow = new QHBoxLayout;
    humanizeRow->setContentsMargins(6, 0, 6, 0);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(
        styledLabel(QStringLiteral("Humanize"), TextStyle::Subheadline, QFont::DemiBold, Theme::text(), this));
    texts->addWidget(styledLabel(QStringLiteral("Allows wording changes for a more human tone."), TextStyle::Caption,
                                 std::nullopt, Theme::subtext(), this));
    humanizeRow->addLayout(texts);
    humanizeRow->addStretch(1);
    m_humanize = new QVToggle({}, this);
    m_humanize->setAccessibleName(QStringLiteral("Humanize"));
    humanizeRow->addWidget(m_humanize);
    column->addLayout(humanizeRow);
    connect(m_humanize, &QAbstractButton::clicked, this, [this](bool on) { m_model.setHumanize(on); });

    connect(&m_model, &EditorModel::changed, this, &EditorHeader::sync);
    sync();
}

QStringList EditorHeader::pillTexts() const
{
    QStringList out;
    for (const DetailPill *pill : m_pills)
        out << pill->text();
    return out;
}

void EditorHeader::sync()
{
    setLabelText(m_heading, m_model.headerTitle());
    const QStringList texts = m_model.summaryPills();
    for (int i = 0; i < m_pills.size(); ++i)
        setLabelText(m_pills[i], texts.value(i));
    m_tabs->setSelection(m_model.tab());
    m_grade->setSelection(m_model.grade());
    m_review->setSelection(m_model.review());
    const QSignalBlocker block(m_humanize);
    m_humanize->setChecked(m_model.humanize());
}

} // namespace qv::editor
