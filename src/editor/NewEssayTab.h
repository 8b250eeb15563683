#pragma once

#include "editor/EditorRules.h"

#include <QMap>
#include <QWidget>

class QLabel;

namespace qv {
class QVButton;
class QVLineEdit;
class QVTextEditor;
} // namespace qv

namespace qv::editor {

class EditorModel;
class SmartBriefCard;
class SpeedControl;

// Where the user names the project, writes its text, sets the speed, reads
// the suggestion and saves.
class NewEssayTab : public QWidget {
    Q_OBJECT
public:
    explicit NewEssayTab(EditorModel &model, QWidget *parent = nullptr);

    QVButton *presetButton(SpeedPreset preset) const { return m_presets.value(preset); }
    QVLineEdit *titleField() const { return m_title; }
    QVTextEditor *textEditor() const { return m_text; }
    QVButton *wpmModeButton() const { return m_wpmMode; }
    QVButton *timeModeButton() const { return m_timeMode; }
    SpeedControl *speedControl() const { return m_speed; }
    SmartBriefCard *smartBrief() const { return m_brief; }
    QLabel *hintLabel() const { return m_hint; }
    QWidget *smartRow() const { return m_smartRow; }
    QLabel *smartRowType() const { return m_smartType; }
    QLabel *smartRowMinutes() const { return m_smartMinutes; }
    QVButton *cancelButton() const { return m_cancel; }
    QVButton *saveButton() const { return m_save; }
    QLabel *saveErrorLabel() const { return m_saveError; }

private:
    void sync();

    EditorModel &m_model;
    QMap<SpeedPreset, QVButton *> m_presets;
    QVLineEdit *m_title;
    QVTextEditor *m_text;
    QVButton *m_wpmMode;
    QVButton *m_timeMode;
    SpeedControl *m_speed;
    SmartBriefCard *m_brief;
    QLabel *m_hint;
    QWidget *m_smartRow;
    QLabel *m_smartType;
    QLabel *m_smartMinutes;
    QVButton *m_cancel;
    QVButton *m_save;
    QLabel *m_saveError;
    QString m_shownTitle;
    QString m_shownText;
};

} // namespace qv::editor
