#pragma once

#include "model/StudyItem.h"
#include "study/views/StudyFrame.h"

class QLabel;

namespace qv {
class QVButton;
}

namespace qv::study {

class StudyEllipsisButton;
class StudySlideMenu;

// One card in the set page's list: its term and number, a "⋯" menu with
// Edit and Delete, its definition and, for a weak card, "Needs review".
class StudyCardRow final : public StudyFrame {
    Q_OBJECT
public:
    StudyCardRow(const StudyItem &card, int position, bool weak, QWidget *parent = nullptr);

    void setCard(const StudyItem &card, int position, bool weak);
    void setMenuOpen(bool open, bool animated);

    const StudyItem &card() const { return m_card; }
    QLabel *termLabel() const { return m_term; }
    QLabel *numberLabel() const { return m_number; }
    QLabel *definitionLabel() const { return m_definition; }
    QLabel *weakLabel() const { return m_weak; }
    StudyEllipsisButton *menuButton() const { return m_menuButton; }
    StudySlideMenu *menu() const { return m_menu; }
    QVButton *editButton() const { return m_edit; }
    QVButton *deleteButton() const { return m_delete; }

signals:
    void menuClicked(const QUuid &id);
    void editClicked(const qv::StudyItem &card);
    void deleteClicked(const qv::StudyItem &card);

private:
    StudyItem m_card;
    QLabel *m_term;
    QLabel *m_number;
    StudyEllipsisButton *m_menuButton;
    StudySlideMenu *m_menu;
    QVButton *m_edit;
    QVButton *m_delete;
    QLabel *m_definition;
    QLabel *m_weak;
};

} // namespace qv::study
