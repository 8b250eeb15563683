#pragma once

#include "model/StudyProject.h"
#include "study/QuizTest.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QLabel;
class QMessageBox;
class QVBoxLayout;

namespace qv {
class QVButton;
class Random;
class WallClock;
} // namespace qv

namespace qv::study {

class StudyCapsuleLabel;
class StudyProgressBar;
class StudyTestQuestionCard;

// The test of one set: up to six questions drawn when the view is built,
// one pick per question, all judged at once on "Submit", then the score, the
// right answers and the wrong picks. Each submission hands the whole set,
// with one result per tested card, to `updated`; the owner saves it and
// pushes the stored copy back in through setProject().
//
// Used as the workspace's full-page test and inline on a set's page.
class StudyTestView final : public QWidget {
    Q_OBJECT
public:
    StudyTestView(const StudyProject &project, Random &random, const WallClock &clock, QWidget *parent = nullptr);
    ~StudyTestView() override;

    // The newest stored copy of the set: later results apply to it. The
    // questions on screen stay as drawn.
    void setProject(const StudyProject &project);
    // Starts over with a fresh test of `project`, as when the view appears.
    void restart(const StudyProject &project);

    const QuizTest &test() const { return m_test; }
    bool isFinishConfirmShown() const;

    // Parts, for tests.
    QVButton *exitButton() const { return m_exit; }
    QLabel *titleLabel() const { return m_title; }
    QLabel *subtitleLabel() const { return m_subtitle; }
    QLabel *answeredLabel() const { return m_answered; }
    QVButton *doneButton() const { return m_done; }
    StudyCapsuleLabel *countChip() const { return m_countChip; }
    StudyProgressBar *progressBar() const { return m_progress; }
    QLabel *emptyLabel() const { return m_empty; }
    QWidget *questionsHost() const { return m_cardsHost; }
    const QList<StudyTestQuestionCard *> &questionCards() const { return m_cards; }
    QVButton *mainButton() const { return m_main; }
    QLabel *scoreLabel() const { return m_score; }
    QMessageBox *finishAlert() const;

signals:
    void exitRequested();
    void updated(const qv::StudyProject &set);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void rebuildQuestions();
    void sync();
    void pick(qsizetype index, const QString &option);
    void pressMain();
    void askToFinish();

    QuizTest m_test;

    QVButton *m_exit;
    QLabel *m_title;
    QLabel *m_subtitle;
    QLabel *m_answered;
    QVButton *m_done;
    StudyCapsuleLabel *m_countChip;
    StudyProgressBar *m_progress;
    QLabel *m_empty;
    QWidget *m_cardsHost;
    QVBoxLayout *m_cardsLayout;
    QList<StudyTestQuestionCard *> m_cards;
    QVButton *m_main;
    QLabel *m_score;
    QPointer<QMessageBox> m_finishAlert;
};

} // namespace qv::study
