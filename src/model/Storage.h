#pragma once

#include "model/AppConfig.h"
#include "model/Project.h"
#include "model/SaveResult.h"
#include "model/StudyProject.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace qv {

class WallClock;

// Keeps the writing projects and the study sets in "projects.json" and
// "study_projects.json" in the data folder, each file the whole list.
//
// A file that exists but cannot be read or decoded loads as an empty list;
// so does anything in a file's place that is not a regular file (a named
// pipe, a link to a device) and a file larger than kMaxFileBytes, neither of
// which is waited on or read to its end.
// So that the next save does not destroy the user's data, that file is moved
// aside ("projects.json.unreadable-20261206T101500Z") before the save writes
// over its name; when it cannot be moved the save writes nothing.
//
// Saves are atomic and return whether the file was written, with the reason
// when it was not. A data folder that went away while the program runs is
// made again by the next save (as at first use).
class Storage {
public:
    // Far above any real library (10,000 long projects take about 114 MB).
    static constexpr qint64 kMaxFileBytes = qint64(512) * 1024 * 1024;

    using DiagnosticSink = std::function<void(const QString &line)>;
    // Moves a file or folder to a new name in the same folder; true on success.
    using FileMover = std::function<bool(const QString &from, const QString &to)>;

    // Chooses the data folder (creating it, or else the fallback folder)
    // at once. `clock` gives the time for missing dates and for the names
    // of moved-aside files; it must outlive the Storage.
    Storage(const AppConfig &config, const WallClock &clock);

    // The folder a Storage made with `config` would use, chosen (and made)
    // now: the data folder when it can be made, else the fallback, which is
    // used even when it cannot be made.
    static QString chooseFolder(const AppConfig &config);

    QString folderPath() const { return m_folder; }
    QString projectsFilePath() const;
    QString studyProjectsFilePath() const;

    SaveResult saveProjects(const QList<Project> &projects);
    SaveResult saveStudyProjects(const QList<StudyProject> &sets);
    // False once the data folder was removed (or replaced by a file): the
    // next save makes it again and must write every list, not only its own.
    bool folderExists() const;

    // The whole list in file order (not sorted); empty when the file is
    // missing or cannot be read.
    QList<Project> loadProjects();
    QList<StudyProject> loadStudyProjects();

    // A file the last load found but could not use, and where its bytes are
    // kept: under its own name until a save of that list moves it aside,
    // then under the new name.
    struct KeptFile {
        QString path;
        QString reason;
        friend bool operator==(const KeptFile &, const KeptFile &) = default;
    };
    std::optional<KeptFile> keptProjectsFile() const { return m_projects.kept; }
    std::optional<KeptFile> keptStudyProjectsFile() const { return m_studyProjects.kept; }

    // Where one-line diagnostics go (by default the Qt warning log).
    void setDiagnosticSink(DiagnosticSink sink);
    void setFileMover(FileMover mover);

private:
    struct DataFile {
        QString name;
        // Set when the last load found the file but could not use it.
        bool unreadable = false;
        QString loadError;
        std::optional<KeptFile> kept;
    };

    void removeLeftovers();
    std::optional<QByteArray> read(DataFile &file);
    void loaded(DataFile &file, const QString &error);
    SaveResult write(DataFile &file, const std::optional<QByteArray> &bytes);
    SaveResult moveAside(DataFile &file);
    QString filePath(const DataFile &file) const;
    void diagnose(const QString &line) const;

    const WallClock *m_clock;
    QString m_folder;
    DataFile m_projects{QStringLiteral("projects.json"), false, {}, {}};
    DataFile m_studyProjects{QStringLiteral("study_projects.json"), false, {}, {}};
    DiagnosticSink m_diagnostics;
    FileMover m_mover;
};

} // namespace qv
