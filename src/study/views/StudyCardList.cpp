#include "study/views/StudyCardList.h"

#include "study/views/StudyCardEditorRow.h"
#include "study/views/StudyCardRow.h"
#include "study/views/StudyText.h"

#include <QLabel>
#include <QVBoxLayout>

namespace qv::study {

StudyCardList::StudyCardList(QWidget *parent) : StudyFrame(14, parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    layout->addWidget(styledLabel(QStringLiteral("All Terms"), TextStyle::Headline, QFont::DemiBold, Theme::text()));
    m_rowsLayout = new QVBoxLayout;
    m_rowsLayout->setContentsMargins(0, 0, 0, 0);
    m_rowsLayout->setSpacing(12);
    layout->addLayout(m_rowsLayout);
}

StudyCardRow *StudyCardList::cardRow(qsizetype position) const
{
    return position >= 0 && position < m_rows.size() ? qobject_cast<StudyCardRow *>(m_rows.at(position)) : nullptr;
}

StudyCardEditorRow *StudyCardList::editorRow(qsizetype position) const
{
    return position >= 0 && position < m_rows.size() ? qobject_cast<StudyCardEditorRow *>(m_rows.at(position))
                                                     : nullptr;
}

QWidget *StudyCardList::makeRow(const StudyItem &card, int position, const StudyCardListState &state)
{
    if (state.editing == card.id) {
        auto *editor = new StudyCardEditorRow(card);
        editor->setDrafts(state.draftTerm, state.draftDefinition);
        connect(editor, &StudyCardEditorRow::termEdited, this, &StudyCardList::termEdited);
        connect(editor, &StudyCardEditorRow::definitionEdited, this, &StudyCardList::definitionEdited);
        connect(editor, &StudyCardEditorRow::cancelClicked, this, &StudyCardList::cancelClicked);
        connect(editor, &StudyCardEditorRow::saveClicked, this, &StudyCardList::saveClicked);
        return editor;
    }
    auto *row = new StudyCardRow(card, position, state.weakIds.contains(card.id));
    row->setMenuOpen(state.activeMenu == card.id, false);
    connect(row, &StudyCardRow::menuClicked, this, &StudyCardList::menuClicked);
    connect(row, &StudyCardRow::editClicked, this, &StudyCardList::editClicked);
    connect(row, &StudyCardRow::deleteClicked, this, &StudyCardList::deleteClicked);
    return row;
}

void StudyCardList::retire(QWidget *row)
{
    // The row may be the one whose button led here: it goes later.
    m_rowsLayout->removeWidget(row);
    row->hide();
    row->disconnect(this);
    row->deleteLater();
}

void StudyCardList::present(const QList<StudyItem> &cards, const StudyCardListState &state, bool animated)
{
    for (qsizetype i = 0; i < cards.size(); ++i) {
        const StudyItem &card = cards.at(i);
        const bool wantEditor = state.editing == card.id;
        QWidget *existing = i < m_rows.size() ? m_rows.at(i) : nullptr;
        if (auto *row = qobject_cast<StudyCardRow *>(existing); row && !wantEditor && row->card().id == card.id) {
            row->setCard(card, int(i), state.weakIds.contains(card.id));
            row->setMenuOpen(state.activeMenu == card.id, animated);
            continue;
        }
        if (auto *editor = qobject_cast<StudyCardEditorRow *>(existing);
            editor && wantEditor && editor->card().id == card.id) {
            editor->setCard(card);
            editor->setDrafts(state.draftTerm, state.draftDefinition);
            continue;
        }
        QWidget *fresh = makeRow(card, int(i), state);
        if (existing) {
            retire(existing);
            m_rows[i] = fresh;
        } else {
            m_rows.append(fresh);
        }
        m_rowsLayout->insertWidget(int(i), fresh);
        fresh->show();
    }
    while (m_rows.size() > cards.size())
        retire(m_rows.takeLast());
}

} // namespace qv::study
