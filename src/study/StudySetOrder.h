#pragma once

#include <QList>

#include <optional>

namespace qv {
struct StudyProject;
}

namespace qv::study {

// True when `a` changed strictly later than `b`.
bool changedLater(const StudyProject &a, const StudyProject &b);

// Newest change first; sets changed at the same instant keep their order.
QList<StudyProject> newestFirst(QList<StudyProject> sets);

// The set offered for resuming: the first of the newest-first order.
std::optional<StudyProject> resumeCandidate(const QList<StudyProject> &sets);

} // namespace qv::study
