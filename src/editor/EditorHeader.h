#pragma once

#include <QList>
#include <QWidget>

class QLabel;

namespace qv {
class QVPillPicker;
class QVToggle;
} // namespace qv

namespace qv::editor {

class DetailPill;
class EditorModel;
class GlyphButton;

// The top of the editor card: close and minimise controls, the heading, the
// summary pills, the tab picker, the grade and review pickers and the
// humanize switch. The row of close and minimise starts at the top of the
// header; an owner that scrolls the header takes that row out and keeps it
// still (windowControls()).
class EditorHeader : public QWidget {
    Q_OBJECT
public:
    EditorHeader(EditorModel &model, QWidget *parent = nullptr);

    GlyphButton *closeButton() const { return m_close; }
    GlyphButton *minimizeButton() const { return m_minimize; }
    // The row that holds close and minimise, with the space above them.
    QWidget *windowControls() const { return m_windowControls; }
    QLabel *heading() const { return m_heading; }
    QStringList pillTexts() const;
    QVPillPicker *tabPicker() const { return m_tabs; }
    QVPillPicker *gradePicker() const { return m_grade; }
    QVPillPicker *reviewPicker() const { return m_review; }
    QVToggle *humanizeSwitch() const { return m_humanize; }

private:
    void sync();

    EditorModel &m_model;
    QWidget *m_windowControls;
    GlyphButton *m_close;
    GlyphButton *m_minimize;
    QLabel *m_heading;
    QList<DetailPill *> m_pills;
    QVPillPicker *m_tabs;
    QVPillPicker *m_grade;
    QVPillPicker *m_review;
    QVToggle *m_humanize;
};

} // namespace qv::editor
