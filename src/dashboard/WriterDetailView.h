#pragma once

#include "model/Project.h"

#include <QWidget>

class QHBoxLayout;
class QLabel;
class QScrollArea;

namespace qv {
class QVButton;
}

namespace qv::dashboard {

// The page of one writing project: its title, four chips, when it last
// changed, a preview of its text, and the four things to do with it. It
// holds no state of its own; the dashboard hands in the project to show
// each time it changes.
class WriterDetailView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPreviewMaxHeight = 320;

    explicit WriterDetailView(QWidget *parent = nullptr);

    void setProject(const Project &project);

    QWidget *infoCard() const { return m_info; }
    QLabel *titleLabel() const { return m_title; }
    QList<QLabel *> chips() const { return m_chips; }
    QLabel *updatedLabel() const { return m_updated; }
    QLabel *previewLabel() const { return m_preview; }
    QScrollArea *previewArea() const { return m_previewArea; }
    QVButton *backButton() const { return m_back; }
    QVButton *typeButton() const { return m_type; }
    QVButton *editButton() const { return m_edit; }
    QVButton *deleteButton() const { return m_delete; }

signals:
    void backRequested();
    void typeRequested();
    void editRequested();
    void deleteRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitPreview();
    void fitInfoCard();
    int infoCardWidth(int room) const;

    QWidget *m_info;
    QHBoxLayout *m_chipRow;
    QLabel *m_title;
    QList<QLabel *> m_chips;
    QLabel *m_updated;
    QLabel *m_preview;
    QScrollArea *m_previewArea;
    QVButton *m_back;
    QVButton *m_type;
    QVButton *m_edit;
    QVButton *m_delete;
};

} // namespace qv::dashboard
