#pragma once

#include "model/Project.h"
#include "model/StudyProject.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace qv::coding {

// What reading one data file gives: the whole list, or an error saying where
// the first broken rule was (a list is never partly read).
template <typename Record>
struct DecodeResult {
    std::optional<QList<Record>> records;
    QString error;

    bool ok() const { return records.has_value(); }
};

// Whole files: a JSON array of records in list order, in the writer's form.
// Encoding fails only on a date that cannot be written (invalid, or a year
// outside 1 to 9999); `error` then says which record.
std::optional<QByteArray> encodeProjects(const QList<Project> &projects, QString *error = nullptr);
std::optional<QByteArray> encodeStudyProjects(const QList<StudyProject> &sets, QString *error = nullptr);

// Reading a whole file. Required keys must be present and non-null, optional
// keys that are absent or null take their defaults (`now` for a missing
// `updatedAt`), unknown keys are ignored, and one failing record fails the
// whole file.
DecodeResult<Project> decodeProjects(const QByteArray &json, const QDateTime &now);
DecodeResult<StudyProject> decodeStudyProjects(const QByteArray &json, const QDateTime &now);

} // namespace qv::coding
