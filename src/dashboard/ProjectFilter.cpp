#include "dashboard/ProjectFilter.h"

#include "dashboard/DashboardText.h"

namespace qv::dashboard {

bool ProjectFilter::passes(const Project &project) const
{
    // Blanks alone search for nothing, but a real search keeps its blanks:
    // " essay" must not find "Essay draft".
    if (!searchText.trimmed().isEmpty() && !project.title.toLower().contains(searchText.toLower()))
        return false;
    if (grade != all && project.grade != grade)
        return false;
    if (review != all && project.review != review)
        return false;
    if (aiOnly && !project.isAI)
        return false;
    return true;
}

QList<Project> filteredProjects(const QList<Project> &projects, const ProjectFilter &filter)
{
    QList<Project> kept;
    for (const Project &p : projects)
        if (filter.passes(p))
            kept.append(p);
    return kept;
}

QStringList gradeFilterOptions()
{
    return {ProjectFilter::all, QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("12")};
}

QStringList reviewFilterOptions()
{
    return {ProjectFilter::all, QStringLiteral("light"), QStringLiteral("medium"), QStringLiteral("heavy")};
}

QString reviewFilterLabel(const QString &option) { return option == ProjectFilter::all ? option : capitalized(option); }

} // namespace qv::dashboard
