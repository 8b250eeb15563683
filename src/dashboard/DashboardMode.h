#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace qv::dashboard {

// The dashboard's three workspaces, in the order they are offered. Never
// stored: every new dashboard starts in the writer workspace.
enum class DashboardMode { writer, study, test };

QList<DashboardMode> allDashboardModes();
QString rawValue(DashboardMode mode);
// Exact, case-sensitive match of a raw value; nothing for any other text.
std::optional<DashboardMode> dashboardModeFromRawValue(const QString &raw);
// The display name used for the workspace everywhere.
QString title(DashboardMode mode);
// The symbol a workspace's logo mark falls back to.
QString fallbackSymbol(DashboardMode mode);
// The one-line description on the workspace's picker card.
QString pickerSubtitle(DashboardMode mode);

} // namespace qv::dashboard
