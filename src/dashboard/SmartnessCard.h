#pragma once

#include "dashboard/Card.h"

#include <memory>

class QLabel;

namespace qv {
class QVButton;
class QVPillPicker;
class QVTextEditor;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::dashboard {

class SettingsBindings;

// The smartness card: the speed preset and the default typing mode, both
// stored at once, and a sample editor with a live preview of what the smart
// suggestions would choose for such a text.
class SmartnessCard : public Card {
    Q_OBJECT
public:
    SmartnessCard(state::AppState &appState, std::shared_ptr<SettingsBindings> bindings, QWidget *parent = nullptr);

    QVPillPicker *presetPicker() const { return m_preset; }
    QVPillPicker *modePicker() const { return m_mode; }
    QVButton *clearButton() const { return m_clear; }
    QVTextEditor *sampleEditor() const { return m_sample; }
    // The preview line's texts as shown: the hint alone, or heading, detail
    // and minutes.
    QStringList previewTexts() const;

private:
    void refreshPreview();

    state::AppState &m_appState;
    std::shared_ptr<SettingsBindings> m_bindings;
    QVPillPicker *m_preset;
    QVPillPicker *m_mode;
    QVButton *m_clear;
    QVTextEditor *m_sample;
    QLabel *m_hint;
    QWidget *m_line;
    QLabel *m_heading;
    QLabel *m_detail;
    QLabel *m_minutes;
};

} // namespace qv::dashboard
