#include "state/Library.h"

#include "core/WallClock.h"
#include "model/Storage.h"

#include <algorithm>
#include <utility>

namespace qv::state {

namespace {

template <typename T>
void replaceOrAppend(QList<T> &list, const T &value)
{
    for (T &existing : list) {
        if (existing.id == value.id) {
            existing = value;
            return;
        }
    }
    list.append(value);
}

template <typename T>
void removeById(QList<T> &list, const QUuid &id)
{
    list.removeIf([&](const T &v) { return v.id == id; });
}

template <typename T>
void stableNewestFirst(QList<T> &list)
{
    std::stable_sort(list.begin(), list.end(), [](const T &a, const T &b) { return a.updatedAt > b.updatedAt; });
}

} // namespace

Library::Library(Storage &storage, Scheduler &scheduler, const WallClock &clock, QObject *parent)
    : QObject(parent), m_storage(storage), m_scheduler(scheduler), m_clock(clock)
{
}

Library::~Library()
{
    if (m_loadTimer != 0)
        m_scheduler.cancel(m_loadTimer);
}

void Library::sortNewestFirst(QList<Project> &projects) { stableNewestFirst(projects); }
void Library::sortNewestFirst(QList<StudyProject> &sets) { stableNewestFirst(sets); }

void Library::startInitialLoad()
{
    if (m_loadTimer != 0)
        return;
    m_loadTimer = m_scheduler.singleShot(0, [this] {
        m_loadTimer = 0;
        load();
    });
}

void Library::completePendingLoad()
{
    if (m_loadTimer == 0)
        return;
    m_scheduler.cancel(m_loadTimer);
    m_loadTimer = 0;
    load();
}

void Library::load()
{
    QList<Project> projects = m_storage.loadProjects();
    sortNewestFirst(projects);
    QList<StudyProject> sets = m_storage.loadStudyProjects();
    sortNewestFirst(sets);
    m_projects = std::move(projects);
    emit projectsChanged();
    m_studyProjects = std::move(sets);
    emit studyProjectsChanged();
    if (keptProjectsFile() || keptStudyProjectsFile())
        emit keptFilesChanged();
}

QString Library::keptFileText(const std::optional<Storage::KeptFile> &file, const QString &what)
{
    if (!file)
        return {};
    return QStringLiteral("Your %1 could not be read (%2), so the list starts empty. Nothing was deleted: the "
                          "file is kept as %3.")
        .arg(what, file->reason, file->path);
}

SaveResult Library::persist(int due)
{
    // A data folder that went away took both files with it.
    if (!m_storage.folderExists())
        due = projectsDue | studyProjectsDue;
    m_due |= due;
    const int writing = m_due;
    const auto kept = std::make_pair(keptProjectsFile(), keptStudyProjectsFile());
    SaveResult result = SaveResult::success();
    if (m_due & projectsDue) {
        const SaveResult written = m_storage.saveProjects(m_projects);
        if (written)
            m_due &= ~projectsDue;
        result = result.andThen(written);
    }
    if (m_due & studyProjectsDue) {
        const SaveResult written = m_storage.saveStudyProjects(m_studyProjects);
        if (written)
            m_due &= ~studyProjectsDue;
        result = result.andThen(written);
    }
    if (kept != std::make_pair(keptProjectsFile(), keptStudyProjectsFile()))
        emit keptFilesChanged();
    if ((writing & projectsDue) && !(m_due & projectsDue))
        emit projectsSaved();
    if ((writing & studyProjectsDue) && !(m_due & studyProjectsDue))
        emit studyProjectsSaved();
    return result;
}

SaveResult Library::saveProject(const Project &project)
{
    completePendingLoad();
    replaceOrAppend(m_projects, project);
    sortNewestFirst(m_projects);
    emit projectsChanged();
    return persist(projectsDue);
}

SaveResult Library::deleteProject(const Project &project)
{
    completePendingLoad();
    removeById(m_projects, project.id);
    emit projectsChanged();
    return persist(projectsDue);
}

SaveResult Library::saveStudyProject(const StudyProject &set)
{
    completePendingLoad();
    replaceOrAppend(m_studyProjects, set);
    sortNewestFirst(m_studyProjects);
    emit studyProjectsChanged();
    return persist(studyProjectsDue);
}

SaveResult Library::deleteStudyProject(const StudyProject &set)
{
    completePendingLoad();
    removeById(m_studyProjects, set.id);
    emit studyProjectsChanged();
    return persist(studyProjectsDue);
}

SaveResult Library::resetStudyProgress(const StudyProject &set)
{
    StudyProject copy = set;
    for (StudyItem &item : copy.items) {
        item.correctCount = 0;
        item.incorrectCount = 0;
        item.lastReviewedAt.reset();
    }
    copy.updatedAt = m_clock.nowUtc();
    return saveStudyProject(copy);
}

} // namespace qv::state
