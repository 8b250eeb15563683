#pragma once

#include "model/StudyProject.h"
#include "study/StudyDelimiter.h"
#include "study/StudyImportDraft.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace qv {
class QVButton;
class QVLineEdit;
class QVPillPicker;
class QVTextEditor;
class WallClock;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::study {

// The content of the study set window: title, grade, cards entered by hand
// or pasted as text, and the save. It builds the set but stores nothing; its
// opener saves it and closes the window.
class StudyImportView final : public QWidget {
    Q_OBJECT
public:
    using SaveAction = std::function<void(const StudyProject &)>;
    using CloseAction = std::function<void()>;
    static constexpr int kCardListMaxHeight = 220;
    static constexpr int kCardListMinHeight = 120;

    StudyImportView(state::AppState &appState, const WallClock &clock, std::optional<StudyProject> existingProject,
                    const QString &defaultGrade, SaveAction onSave, CloseAction onClose, QWidget *parent = nullptr);

    // The window's operations, as its controls run them.
    void addManualCard();
    void editCard(const ManualCardDraft &card);
    void deleteCard(const ManualCardDraft &card);
    void prepareSave();
    void setImportMode(ImportMode mode);

    // State and parts, for the opener and tests.
    ImportMode importMode() const { return m_mode; }
    StudyDelimiter delimiter() const { return m_delimiter; }
    QString grade() const { return m_grade; }
    QString status() const { return m_status; }
    const StudyImportDraft &draft() const { return m_draft; }
    // The paste area's text exactly as typed (no space or break conversions).
    QString rawText() const;

    QLabel *heading() const { return m_heading; }
    QVButton *closeButton() const { return m_close; }
    QVLineEdit *titleField() const { return m_title; }
    QVPillPicker *gradePicker() const { return m_gradePicker; }
    QVButton *tabButton(ImportMode mode) const;
    QLabel *tabHeading() const { return m_tabHeading; }
    QVLineEdit *termField() const { return m_term; }
    QVLineEdit *definitionField() const { return m_definition; }
    QVButton *addButton() const { return m_add; }
    QVTextEditor *pasteEditor() const { return m_paste; }
    QVPillPicker *delimiterPicker() const { return m_delimiterPicker; }
    QVButton *selectPdfButton() const { return m_selectPdf; }
    QLabel *emptyCards() const { return m_emptyCards; }
    QScrollArea *cardList() const { return m_cardList; }
    // Everything between the header and the footer; it scrolls when the
    // window is lower than the form.
    QScrollArea *formArea() const { return m_form; }
    QLabel *statusLabel() const { return m_statusLabel; }
    QVButton *saveButton() const { return m_save; }
    // The Edit and Delete buttons of the card list's row `index`.
    QVButton *editButton(int index) const;
    QVButton *deleteButton(int index) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *buildManualTab();
    QWidget *buildPasteTab();
    QWidget *buildPdfTab();
    void rebuildCards();
    void syncAddButton();
    void fitCardList();

    QPointer<state::AppState> m_appState;
    const WallClock &m_clock;
    std::optional<StudyProject> m_existing;
    SaveAction m_onSave;
    CloseAction m_onClose;

    StudyImportDraft m_draft;
    QString m_grade = QStringLiteral("11");
    StudyDelimiter m_delimiter = StudyDelimiter::Auto;
    ImportMode m_mode = ImportMode::manual;
    QString m_status;

    QLabel *m_heading;
    QVButton *m_close;
    QVLineEdit *m_title;
    QVPillPicker *m_gradePicker;
    QList<QVButton *> m_tabs;
    QLabel *m_tabHeading;
    QList<QWidget *> m_tabPages;
    QVLineEdit *m_term = nullptr;
    QVLineEdit *m_definition = nullptr;
    QVButton *m_add = nullptr;
    QVTextEditor *m_paste = nullptr;
    QVPillPicker *m_delimiterPicker = nullptr;
    QVButton *m_selectPdf = nullptr;
    QLabel *m_emptyCards;
    QScrollArea *m_form;
    QScrollArea *m_cardList;
    QWidget *m_cardHost;
    QVBoxLayout *m_cardLayout;
    QList<QWidget *> m_cardRows;
    QLabel *m_statusLabel;
    QVButton *m_save;
};

} // namespace qv::study
