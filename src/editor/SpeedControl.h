#pragma once

#include <QWidget>

class QLabel;
class QSlider;

namespace qv::editor {

class EditorModel;

// The speed value, the human time estimate (total-time mode) and the slider.
// The slider shows the model's value clamped to its range, but a clamped
// value is never written back: the label keeps the model's own value.
class SpeedControl : public QWidget {
    Q_OBJECT
public:
    explicit SpeedControl(EditorModel &model, QWidget *parent = nullptr);

    QLabel *valueLabel() const { return m_value; }
    QLabel *humanLabel() const { return m_human; }
    QSlider *slider() const { return m_slider; }

private:
    void sync();

    EditorModel &m_model;
    QLabel *m_value;
    QLabel *m_human;
    QSlider *m_slider;
};

} // namespace qv::editor
