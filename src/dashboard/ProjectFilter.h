#pragma once

#include "model/Project.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace qv::dashboard {

// The writer list's filters. They start passing everything with every new
// dashboard and are never saved.
struct ProjectFilter {
    static inline const QString all = QStringLiteral("All");

    QString searchText;
    QString grade = all;
    QString review = all;
    bool aiOnly = false;

    bool passes(const Project &project) const;
    friend bool operator==(const ProjectFilter &, const ProjectFilter &) = default;
};

// The projects that pass, in their given order.
QList<Project> filteredProjects(const QList<Project> &projects, const ProjectFilter &filter);

QStringList gradeFilterOptions();  // "All", "9" … "12"
QStringList reviewFilterOptions(); // "All", "light", "medium", "heavy"
// What a review option shows: "All" as it is, the others capitalised.
QString reviewFilterLabel(const QString &option);

} // namespace qv::dashboard
