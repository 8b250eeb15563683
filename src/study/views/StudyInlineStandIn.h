#pragma once

#include "study/views/StudyInlinePane.h"

#include <functional>

class QLabel;

namespace qv {
class QVButton;
}

namespace qv::study {

// The smallest inline pane: what it stands for, the set's title and a way
// back to the flashcards.
class StudyInlineStandIn final : public StudyInlinePane {
    Q_OBJECT
public:
    StudyInlineStandIn(const StudyProject &project, const QString &kind, std::function<void()> onBack,
                       QWidget *parent = nullptr);

    void setProject(const StudyProject &project) override;

    QLabel *titleLabel() const { return m_title; }
    QVButton *backButton() const { return m_back; }

private:
    QLabel *m_title;
    QVButton *m_back;
};

} // namespace qv::study
