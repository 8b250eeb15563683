#pragma once

#include "core/Scheduler.h"
#include "model/Project.h"
#include "model/SaveResult.h"
#include "model/Storage.h"
#include "model/StudyProject.h"

#include <QList>
#include <QObject>

namespace qv {
class WallClock;
} // namespace qv

namespace qv::state {

// The writing projects and study sets in memory, newest first, and every
// change to them: each change rewrites the whole file through Storage.
//
// The lists stay empty until the initial load publishes them. An operation
// that comes before that first completes the load, so a save made at start-up
// is applied to the loaded list instead of being overwritten by it (and the
// file is never written from an empty list that misses the user's data).
//
// A list whose save failed keeps its change and stays due: every later save
// writes it as well, so the next save that succeeds writes it whole. A data
// folder that went away takes both files with it, so the save that makes it
// again writes both lists.
class Library final : public QObject {
    Q_OBJECT
public:
    Library(Storage &storage, Scheduler &scheduler, const WallClock &clock, QObject *parent = nullptr);
    ~Library() override;

    // Schedules the load of both files; it publishes on the event loop.
    void startInitialLoad();
    bool loadPending() const { return m_loadTimer != 0; }

    const QList<Project> &projects() const { return m_projects; }
    const QList<StudyProject> &studyProjects() const { return m_studyProjects; }

    // Each says whether every list that was due reached the disk, and why
    // not; the list keeps the change either way.
    SaveResult saveProject(const Project &project);
    SaveResult deleteProject(const Project &project);
    SaveResult saveStudyProject(const StudyProject &set);
    SaveResult deleteStudyProject(const StudyProject &set);
    SaveResult resetStudyProgress(const StudyProject &set);

    // Where an unreadable data file is kept (none when both loaded).
    std::optional<Storage::KeptFile> keptProjectsFile() const { return m_storage.keptProjectsFile(); }
    std::optional<Storage::KeptFile> keptStudyProjectsFile() const { return m_storage.keptStudyProjectsFile(); }
    // What the workspace says about such a file (empty when there is none);
    // `what` names the list.
    static QString keptFileText(const std::optional<Storage::KeptFile> &file, const QString &what);

    // Newest first by updatedAt; equal dates keep their order.
    static void sortNewestFirst(QList<Project> &projects);
    static void sortNewestFirst(QList<StudyProject> &sets);

signals:
    void projectsChanged();
    void studyProjectsChanged();
    // A kept file was found at the load or moved aside by a save.
    void keptFilesChanged();
    // The list reached the disk whole (whoever saved): a notice about an
    // earlier failed save of it no longer holds.
    void projectsSaved();
    void studyProjectsSaved();

private:
    enum Due { projectsDue = 1, studyProjectsDue = 2 };

    void completePendingLoad();
    void load();
    SaveResult persist(int due);

    Storage &m_storage;
    Scheduler &m_scheduler;
    const WallClock &m_clock;
    Scheduler::TimerId m_loadTimer = 0;
    QList<Project> m_projects;
    QList<StudyProject> m_studyProjects;
    // Lists changed in memory since their last successful save.
    int m_due = 0;
};

} // namespace qv::state
