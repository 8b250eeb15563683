#pragma once

#include "model/StudyProject.h"

#include <QList>
#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace qv {
class QVButton;
class QVLineEdit;
class QVPillPicker;
namespace state {
class Preferences;
}
} // namespace qv

namespace qv::study {

class StudyResumeCard;
class StudySetRow;

// The library of study sets: the resume card, the grade choice for new
// sets, "Create Set", the search field and one row per set (or the empty
// state). It lives as long as the workspace, so the search text and the
// grade survive visits to other pages. It has no scroll area of its own: it
// grows with its rows inside the dashboard's one scrolling card.
class StudyLibraryPage final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRowSpacing = 10;

    explicit StudyLibraryPage(state::Preferences &preferences, QWidget *parent = nullptr);

    // Shows these sets (the stored list, newest first).
    void setSets(const QList<StudyProject> &sets);

    QString gradeSelection() const { return m_grade; }
    QString searchText() const;

    StudyResumeCard *resumeCard() const { return m_resume; }
    QVPillPicker *gradePicker() const { return m_gradePicker; }
    QVButton *createButton() const { return m_create; }
    QVLineEdit *searchField() const { return m_search; }
    // The rows the search shows, in stored order.
    QList<StudySetRow *> rows() const { return m_rows; }
    QWidget *emptyState() const { return m_empty; }
    QLabel *emptyTitle() const { return m_emptyTitle; }
    QLabel *emptyTip() const { return m_emptyTip; }

signals:
    void createRequested();
    void continueRequested(const qv::StudyProject &set);
    void openRequested(const qv::StudyProject &set);
    void studyRequested(const qv::StudyProject &set);
    void quizRequested(const qv::StudyProject &set);
    void deleteRequested(const qv::StudyProject &set);

private:
    void rebuildList();
    void setGrade(const QString &grade);

    state::Preferences &m_preferences;
    QList<StudyProject> m_sets;
    QString m_grade;
    StudyResumeCard *m_resume;
    QVPillPicker *m_gradePicker;
    QVButton *m_create;
    QVLineEdit *m_search;
    QWidget *m_listHost;
    QVBoxLayout *m_listLayout;
    QList<StudySetRow *> m_allRows;
    QList<StudySetRow *> m_rows;
    QWidget *m_empty;
    QLabel *m_emptyTitle;
    QLabel *m_emptyTip;
};

} // namespace qv::study
