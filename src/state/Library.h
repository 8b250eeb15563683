#pragma once

#include "core/Scheduler.h"
#include "model/Project.h"
#include "model/StudyProject.h"

#include <QList>
#include <QObject>

namespace qv {
class Storage;
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

    // Each returns whether the file was written; the list keeps the change
    // either way.
    bool saveProject(const Project &project);
    bool deleteProject(const Project &project);
    bool saveStudyProject(const StudyProject &set);
    bool deleteStudyProject(const StudyProject &set);
    bool resetStudyProgress(const StudyProject &set);

    // Newest first by updatedAt; equal dates keep their order.
    static void sortNewestFirst(QList<Project> &projects);
    static void sortNewestFirst(QList<StudyProject> &sets);

signals:
    void projectsChanged();
    void studyProjectsChanged();

private:
    void completePendingLoad();
    void load();

    Storage &m_storage;
    Scheduler &m_scheduler;
    const WallClock &m_clock;
    Scheduler::TimerId m_loadTimer = 0;
    QList<Project> m_projects;
    QList<StudyProject> m_studyProjects;
};

} // namespace qv::state
