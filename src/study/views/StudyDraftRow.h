#pragma once

#include "study/StudyImportDraft.h"

#include <QWidget>

namespace qv {
class QVButton;
}

namespace qv::study {

// One card in the set window's list: both sides in full, Edit and Delete.
class StudyDraftRow final : public QWidget {
    Q_OBJECT
public:
    explicit StudyDraftRow(const ManualCardDraft &card, QWidget *parent = nullptr);

    const ManualCardDraft &card() const { return m_card; }
    QVButton *editButton() const { return m_edit; }
    QVButton *deleteButton() const { return m_delete; }

signals:
    void editRequested(const qv::study::ManualCardDraft &card);
    void deleteRequested(const qv::study::ManualCardDraft &card);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ManualCardDraft m_card;
    QVButton *m_edit;
    QVButton *m_delete;
};

} // namespace qv::study
