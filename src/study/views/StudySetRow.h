#pragma once

#include "model/StudyProject.h"

#include <QWidget>

class QLabel;

namespace qv {
class QVButton;
}

namespace qv::study {

class StudyElidedLabel;
class StudyProgressBar;

// One set in the library: title, grade and size, mastery bar and figures,
// and its actions. A click anywhere outside the buttons opens the set.
class StudySetRow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinHeight = 68;

    // At least kMinHeight, and never less than its lines need: a row held to
    // a fixed minimum would draw them over one another when squeezed.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

    explicit StudySetRow(const StudyProject &set, QWidget *parent = nullptr);

    const StudyProject &project() const { return m_set; }
    StudyElidedLabel *titleLabel() const { return m_title; }
    QLabel *metaLabel() const { return m_meta; }
    QLabel *masteredLabel() const { return m_mastered; }
    QLabel *streakLabel() const { return m_streak; }
    StudyProgressBar *progressBar() const { return m_bar; }
    QVButton *studyButton() const { return m_study; }
    QVButton *quizButton() const { return m_quiz; }
    QVButton *deleteButton() const { return m_delete; }

signals:
    void openRequested(const qv::StudyProject &set);
    void studyRequested(const qv::StudyProject &set);
    void quizRequested(const qv::StudyProject &set);
    void deleteRequested(const qv::StudyProject &set);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    StudyProject m_set;
    StudyElidedLabel *m_title;
    QLabel *m_meta;
    StudyProgressBar *m_bar;
    QLabel *m_mastered;
    QLabel *m_streak;
    QVButton *m_study;
    QVButton *m_quiz;
    QVButton *m_delete;
    bool m_pressed = false;
};

} // namespace qv::study
