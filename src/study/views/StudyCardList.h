#pragma once

#include "model/StudyItem.h"
#include "study/views/StudyFrame.h"

#include <QList>
#include <QSet>
#include <QUuid>

#include <optional>

class QVBoxLayout;

namespace qv::study {

class StudyCardEditorRow;
class StudyCardRow;

// What the card list shows besides the cards: the weak marks, the card being
// edited with its drafts and the card whose menu is open.
struct StudyCardListState {
    QSet<QUuid> weakIds;
    std::optional<QUuid> editing;
    QString draftTerm;
    QString draftDefinition;
    std::optional<QUuid> activeMenu;
};

// "All Terms": every card of the set in stored order, numbered, each row
// either the card with its menu or, for the card being edited, the editor.
// Rows still showing the same card are kept, so an open editor keeps its
// fields' cursor and focus across a newly stored copy of the set.
class StudyCardList final : public StudyFrame {
    Q_OBJECT
public:
    explicit StudyCardList(QWidget *parent = nullptr);

    // Menus slide when `animated`; everything else is shown at once.
    void present(const QList<StudyItem> &cards, const StudyCardListState &state, bool animated);

    qsizetype rowCount() const { return m_rows.size(); }
    StudyCardRow *cardRow(qsizetype position) const;
    StudyCardEditorRow *editorRow(qsizetype position) const;

signals:
    void menuClicked(const QUuid &id);
    void editClicked(const qv::StudyItem &card);
    void deleteClicked(const qv::StudyItem &card);
    void termEdited(const QString &text);
    void definitionEdited(const QString &text);
    void cancelClicked();
    void saveClicked(const qv::StudyItem &card);

private:
    QWidget *makeRow(const StudyItem &card, int position, const StudyCardListState &state);
    void retire(QWidget *row);

    QVBoxLayout *m_rowsLayout;
    QList<QWidget *> m_rows;
};

} // namespace qv::study
