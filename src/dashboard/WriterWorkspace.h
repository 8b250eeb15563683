#pragma once

#include "dashboard/ProjectFilter.h"
#include "model/Project.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <optional>

class QLabel;
class QVBoxLayout;

namespace qv {
class AnimatedValue;
struct Animation;
class NoticeBanner;
class QVButton;
class SaveResult;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::dashboard {

class ProjectRow;
class WriterDetailView;
class WriterFilters;
class RowReveal;

// The writer workspace: the new-project button, the filters and the list of
// writing projects, or the page of one project. The open page follows the
// stored project with its id, so an edit saved elsewhere shows at once and a
// project that is gone closes its page.
class WriterWorkspace : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRowSpacing = 10;
    static constexpr double kTipFadeMs = 600;
    // Rows coming into or leaving the list when the number of projects
    // changes.
    static constexpr double kRowMotionMs = 200;

    explicit WriterWorkspace(state::AppState &appState, QWidget *parent = nullptr);

    // The projects the list shows, in their stored order.
    QList<Project> filteredProjects() const;
    // The project whose page is open, as it is stored now.
    std::optional<Project> activeProject() const;
    std::optional<QUuid> activeProjectId() const { return m_activeId; }
    void openProject(const QUuid &id);
    void closeProject();

    WriterFilters *filters() const { return m_filters; }
    WriterDetailView *detailView() const { return m_detail; }
    QVButton *newProjectButton() const { return m_newProject; }
    // The rows of the projects shown (not those on their way out).
    QList<ProjectRow *> rows() const;
    QList<ProjectRow *> leavingRows() const;
    ProjectRow *row(const QUuid &id) const;
    QWidget *emptyState() const { return m_empty; }
    QLabel *emptyLabel() const { return m_emptyLabel; }
    QLabel *tipLabel() const { return m_tip; }
    bool showEmptyTip() const { return m_showEmptyTip; }
    double tipOpacity() const;

    // The notices above the list: a change to the projects that did not
    // reach the disk, and a projects file that could not be read.
    void showSaveResult(const SaveResult &result);
    NoticeBanner *saveNotice() const { return m_saveNotice; }
    NoticeBanner *keptFileNotice() const { return m_keptNotice; }

signals:
    void newProjectRequested();
    void typeRequested(const QUuid &id);
    void editRequested(const QUuid &id);
    void deleteRequested(const QUuid &id);
    // The page of a project opened or closed.
    void activeProjectChanged();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void refresh();
    void refreshList();
    void refreshReadiness();
    void revealTipIfShown();
    void refreshKeptFile();
    ProjectRow *makeRow(const Project &project);
    void moveRow(ProjectRow *row, bool entering, const Animation &animation);
    // Every row sits in a reveal of its own, which the list lays out.
    static RowReveal *revealOf(ProjectRow *row);
    static void dropRow(ProjectRow *row);
    static void layOutNow(QWidget *from);

    state::AppState &m_appState;
    std::optional<QUuid> m_activeId;

    QWidget *m_listPage;
    QVButton *m_newProject;
    WriterFilters *m_filters;
    QWidget *m_rowsBox;
    QVBoxLayout *m_rowsLayout;
    QWidget *m_empty;
    QLabel *m_emptyLabel;
    QLabel *m_tip;
    AnimatedValue *m_tipOpacity;
    bool m_showEmptyTip = false;
    WriterDetailView *m_detail;
    NoticeBanner *m_keptNotice;
    NoticeBanner *m_saveNotice;

    struct RowEntry {
        Project project;
        QPointer<ProjectRow> row;
    };
    QHash<QUuid, RowEntry> m_rows;
    QList<QPointer<ProjectRow>> m_leaving;
    qsizetype m_projectCount = -1; // -1: the list was never built
};

} // namespace qv::dashboard
