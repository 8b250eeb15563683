#pragma once

#include "model/Project.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace qv::dashboard {

// The first letter of every word upper case and the rest lower case
// ("medium" → "Medium", "HEAVY" → "Heavy").
QString capitalized(const QString &text);

// "Grade 12 • Review Medium", under a row's title.
QString rowSubtitle(const Project &project);
// The empty list's line: no projects at all, or none that pass the filters.
QString emptyStateText(bool hasProjects);
// The tip under the empty list (with a non-breaking hyphen in "auto‑set").
QString emptyStateTip();
// The undo banner: Deleted "<title>".
QString deletedBannerText(const QString &title);

// The detail page's chips and lines.
QString gradeChip(const Project &project);  // "Grade 12"
QString reviewChip(const Project &project); // "Medium"
QString originChip(const Project &project); // "AI" or "Manual"
QString wpmChip(const Project &project);    // "WPM 45"
// "Updated " and the date in the locale's abbreviated date and short time.
QString updatedLine(const QDateTime &updatedAt, const QLocale &locale = QLocale());
// The preview box's text: the project's text, or a note when it has none.
QString previewText(const Project &project);

} // namespace qv::dashboard
