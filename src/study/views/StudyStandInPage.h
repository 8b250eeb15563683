#pragma once

#include "study/views/StudyHostedPage.h"

#include <functional>

class QLabel;

namespace qv {
class QVButton;
}

namespace qv::study {

// The smallest page of one set: its title and a Back button.
class StudyStandInPage final : public StudyHostedPage {
    Q_OBJECT
public:
    StudyStandInPage(const StudyProject &project, const QString &kind, std::function<void()> onBack,
                     QWidget *parent = nullptr);

    void setProject(const StudyProject &project) override;

    const StudyProject &project() const { return m_project; }
    QLabel *titleLabel() const { return m_title; }
    QVButton *backButton() const { return m_back; }

private:
    StudyProject m_project;
    QLabel *m_title;
    QVButton *m_back;
};

} // namespace qv::study
