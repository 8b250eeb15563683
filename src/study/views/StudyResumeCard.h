#pragma once

#include "model/StudyProject.h"

#include <QWidget>

class QLabel;

namespace qv {
class QVButton;
}

namespace qv::study {

class StudyElidedLabel;

// The card above the library offering the most recently changed set.
class StudyResumeCard final : public QWidget {
    Q_OBJECT
public:
    explicit StudyResumeCard(QWidget *parent = nullptr);

    void setProject(const StudyProject &set);
    const StudyProject &project() const { return m_set; }

    StudyElidedLabel *titleLabel() const { return m_title; }
    QLabel *metaLabel() const { return m_meta; }
    QVButton *continueButton() const { return m_continue; }

signals:
    void continueClicked(const qv::StudyProject &set);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    StudyProject m_set;
    StudyElidedLabel *m_title;
    QLabel *m_meta;
    QVButton *m_continue;
};

} // namespace qv::study
