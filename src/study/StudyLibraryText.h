#pragma once

#include "model/StudyProject.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The study library's rules and texts that follow from its state.
namespace qv::study::library {

inline const QString kGradeKey = QStringLiteral("qv_study_grade");
inline const QString kDefaultGrade = QStringLiteral("11");
const QStringList &gradeOptions(); // "9", "10", "11", "12", "University"

// A search of only white space shows every set; otherwise the lower-cased
// title must contain the search text as typed (untrimmed), lower-cased.
bool matchesSearch(const QString &title, const QString &searchText);
QList<StudyProject> filterBySearch(const QList<StudyProject> &sets, const QString &searchText);

// "No study sets yet" without any set, "No matches" when the search hides them all.
QString emptyStateTitle(bool anyStored);
inline const QString kTip = QStringLiteral("Tip: Paste term + definition pairs to auto\u2011build a set.");

QString rowMeta(const StudyProject &set);           // "Grade 11 • 3 items"
QString masteredLine(qint64 mastered, qsizetype n); // "Mastered 2/3"
QString streakLine(qint64 streak);                  // "Streak 4"

// "Updated Dec 6, 2026 at 10:15 AM • 3 cards", in local time.
QString resumeMeta(const StudyProject &set);
QString formatUpdated(const QDateTime &when);

} // namespace qv::study::library
