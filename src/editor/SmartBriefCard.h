#pragma once

#include "editor/RoundedPanel.h"

class QLabel;

namespace qv {
class QVButton;
}

namespace qv::editor {

class EditorModel;

// The suggestion at a glance: essay kind, grade and review, predicted minutes
// and, for long sessions, a warning; "Why?" opens the reason bubble.
class SmartBriefCard : public RoundedPanel {
    Q_OBJECT
public:
    explicit SmartBriefCard(EditorModel &model, QWidget *parent = nullptr);

    QVButton *whyButton() const { return m_why; }
    QLabel *essayTypeLabel() const { return m_essayType; }
    QLabel *detailLabel() const { return m_detail; }
    QLabel *minutesLabel() const { return m_minutes; }
    QLabel *warningLabel() const { return m_warning; }

private:
    void sync();

    EditorModel &m_model;
    QVButton *m_why;
    QLabel *m_essayType;
    QLabel *m_detail;
    QLabel *m_minutes;
    QLabel *m_warning;
};

} // namespace qv::editor
