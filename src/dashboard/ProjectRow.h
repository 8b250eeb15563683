#pragma once

#include "dashboard/Card.h"
#include "model/Project.h"

class QLabel;

namespace qv {
class QVButton;
}

namespace qv::dashboard {

// One writing project in the list: title (with a "MADE BY AI" badge for a
// project made by AI), grade and review, and the TYPE and DEL buttons. A
// click anywhere else on the row opens the project.
class ProjectRow : public Card {
    Q_OBJECT
public:
    static constexpr int kMinHeight = 68;

    explicit ProjectRow(const Project &project, QWidget *parent = nullptr);

    QUuid projectId() const { return m_id; }
    QLabel *titleLabel() const { return m_title; }
    QLabel *subtitleLabel() const { return m_subtitle; }
    QLabel *aiBadge() const { return m_badge; }
    QVButton *typeButton() const { return m_type; }
    QVButton *deleteButton() const { return m_delete; }

signals:
    void opened();
    void typeRequested();
    void deleteRequested();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QUuid m_id;
    QLabel *m_title;
    QLabel *m_subtitle;
    QLabel *m_badge = nullptr;
    QVButton *m_type;
    QVButton *m_delete;
    bool m_pressed = false;
};

} // namespace qv::dashboard
