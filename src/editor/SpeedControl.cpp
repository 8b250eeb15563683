#include "editor/SpeedControl.h"

#include "editor/EditorModel.h"
#include "editor/EditorStyle.h"
#include "theme/StyledLabel.h"
#include "theme/Theme.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace qv::editor {

SpeedControl::SpeedControl(EditorModel &model, QWidget *parent) : QWidget(parent), m_model(model)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    m_value = styledLabel({}, TextStyle::Caption, std::nullopt, Theme::subtext(), this);
    m_human = styledLabel({}, TextStyle::Caption2, std::nullopt, Theme::subtext(), this);
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(1);
    // Accent-tinted track on the dark surface, with a light round knob.
    m_slider->setStyleSheet(
        QStringLiteral("QSlider::groove:horizontal { height: 4px; border-radius: 2px; background: %1; }"
                       "QSlider::sub-page:horizontal { height: 4px; border-radius: 2px; background: %2; }"
                       "QSlider::handle:horizontal { width: 16px; height: 16px; margin: -6px 0; border-radius: 8px;"
                       " background: %3; border: 1px solid %4; }")
            .arg(Theme::surfaceAlt().name(), Theme::accent().name(), Theme::text().name(), Theme::border().name()));
    m_slider->setAccessibleName(QStringLiteral("Speed"));
    column->addWidget(m_value, 0, Qt::AlignHCenter);
    column->addWidget(m_human, 0, Qt::AlignHCenter);
    column->addWidget(m_slider);

    // Only the user's moves reach the model: programmatic changes are blocked in sync().
    connect(m_slider, &QSlider::valueChanged, this, [this](int v) { m_model.moveSlider(v); });
    connect(&m_model, &EditorModel::changed, this, &SpeedControl::sync);
    sync();
}

void SpeedControl::sync()
{
    setLabelText(m_value, m_model.speedLabel());
    m_human->setVisible(m_model.showsHumanAverage());
    if (m_model.showsHumanAverage())
        setLabelText(m_human, m_model.humanAverageLabel());

    const SliderRange range = m_model.sliderRange();
    const qint64 value = m_model.mode() == kModeWpm ? m_model.wpm() : m_model.totalMinutes();
    const QSignalBlocker block(m_slider);
    m_slider->setRange(range.minimum, range.maximum);
    m_slider->setValue(int(std::clamp<qint64>(value, range.minimum, range.maximum)));
}

} // namespace qv::editor
