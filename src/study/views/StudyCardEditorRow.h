#pragma once

#include "model/StudyItem.h"
#include "study/views/StudyFrame.h"

namespace qv {
class QVButton;
class QVLineEdit;
} // namespace qv

namespace qv::study {

// A row of the card list turned into an editor of its card's two sides.
// Only "Save" saves; Return in a field does nothing more.
class StudyCardEditorRow final : public StudyFrame {
    Q_OBJECT
public:
    explicit StudyCardEditorRow(const StudyItem &card, QWidget *parent = nullptr);

    void setCard(const StudyItem &card) { m_card = card; }
    // The drafts the page keeps; a field already holding its text keeps its cursor.
    void setDrafts(const QString &term, const QString &definition);

    const StudyItem &card() const { return m_card; }
    QVLineEdit *termField() const { return m_termField; }
    QVLineEdit *definitionField() const { return m_definitionField; }
    QVButton *cancelButton() const { return m_cancel; }
    QVButton *saveButton() const { return m_save; }

signals:
    void termEdited(const QString &text);
    void definitionEdited(const QString &text);
    void cancelClicked();
    void saveClicked(const qv::StudyItem &card);

private:
    StudyItem m_card;
    QVLineEdit *m_termField;
    QVLineEdit *m_definitionField;
    QVButton *m_cancel;
    QVButton *m_save;
};

} // namespace qv::study
