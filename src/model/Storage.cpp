#include "model/Storage.h"

#include "core/RegularFile.h"
#include "core/SaveLeftovers.h"
#include "core/WallClock.h"
#include "model/RecordCoding.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QtDebug>

namespace qv {

namespace {

bool ensureFolder(const QString &path) { return !path.isEmpty() && QDir().mkpath(path); }

bool pathTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

SaveResult failedAt(const QString &path, const QString &reason)
{
    return SaveResult::failure(QStringLiteral("%1 (%2)").arg(reason, path));
}

} // namespace

Storage::Storage(const AppConfig &config, const WallClock &clock)
    : m_clock(&clock), m_diagnostics([](const QString &line) { qWarning().noquote() << line; }),
      m_mover([](const QString &from, const QString &to) { return QDir().rename(from, to); })
{
    m_folder = chooseFolder(config);
    removeLeftovers();
}

QString Storage::chooseFolder(const AppConfig &config)
{
    if (ensureFolder(config.dataFolderPath))
        return config.dataFolderPath;
    // Used even when it cannot be made: every later write then fails.
    ensureFolder(config.fallbackFolderPath);
    return config.fallbackFolderPath;
}

void Storage::removeLeftovers()
{
    // What a save killed halfway left behind (one list may take 100 MB).
    const QStringList own{m_projects.name, m_studyProjects.name};
    for (const QString &removed :
         removeSaveLeftovers(m_folder, [&own](const QString &name) { return own.contains(name); }))
        diagnose(QStringLiteral("storage: removed %1, left by an interrupted save").arg(removed));
}

QString Storage::projectsFilePath() const { return filePath(m_projects); }

QString Storage::studyProjectsFilePath() const { return filePath(m_studyProjects); }

QString Storage::filePath(const DataFile &file) const { return QDir(m_folder).filePath(file.name); }

void Storage::setDiagnosticSink(DiagnosticSink sink) { m_diagnostics = std::move(sink); }

void Storage::setFileMover(FileMover mover) { m_mover = std::move(mover); }

void Storage::diagnose(const QString &line) const
{
    if (m_diagnostics)
        m_diagnostics(line);
}

SaveResult Storage::saveProjects(const QList<Project> &projects)
{
    return write(m_projects, coding::encodeProjects(projects));
}

SaveResult Storage::saveStudyProjects(const QList<StudyProject> &sets)
{
    return write(m_studyProjects, coding::encodeStudyProjects(sets));
}

bool Storage::folderExists() const { return QFileInfo(m_folder).isDir(); }

QList<Project> Storage::loadProjects()
{
    const std::optional<QByteArray> bytes = read(m_projects);
    if (!bytes)
        return {};
    auto decoded = coding::decodeProjects(*bytes, m_clock->nowUtc());
    loaded(m_projects, decoded.error);
    return decoded.records.value_or(QList<Project>{});
}

QList<StudyProject> Storage::loadStudyProjects()
{
    const std::optional<QByteArray> bytes = read(m_studyProjects);
    if (!bytes)
        return {};
    auto decoded = coding::decodeStudyProjects(*bytes, m_clock->nowUtc());
    loaded(m_studyProjects, decoded.error);
    return decoded.records.value_or(QList<StudyProject>{});
}

std::optional<QByteArray> Storage::read(DataFile &file)
{
    RegularFileRead got = readRegularFile(filePath(file), kMaxFileBytes);
    switch (got.outcome) {
    case RegularFileRead::Outcome::missing:
        // A missing file is a fresh start, not a failure.
        loaded(file, {});
        return std::nullopt;
    case RegularFileRead::Outcome::refused:
        loaded(file, got.reason);
        return std::nullopt;
    case RegularFileRead::Outcome::read:
        break;
    }
    return std::move(got.bytes);
}

void Storage::loaded(DataFile &file, const QString &error)
{
    file.unreadable = !error.isEmpty();
    file.loadError = error;
    file.kept.reset();
    if (file.unreadable)
        file.kept = KeptFile{filePath(file), error};
}

SaveResult Storage::write(DataFile &file, const std::optional<QByteArray> &bytes)
{
    const QString path = filePath(file);
    if (!bytes)
        return failedAt(path, QStringLiteral("the list could not be encoded"));
    // A folder removed while the program runs is made again, as at first use.
    if (!folderExists() && !ensureFolder(m_folder)) {
        const bool fileInTheWay = pathTaken(m_folder);
        return failedAt(m_folder, fileInTheWay ? QStringLiteral("a file is in the place of the data folder")
                                               : QStringLiteral("the data folder could not be made"));
    }
    if (file.unreadable) {
        if (SaveResult moved = moveAside(file); !moved)
            return moved;
    }

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return failedAt(path, out.errorString());
    if (out.write(*bytes) != bytes->size()) {
        const QString reason = out.errorString();
        out.cancelWriting();
        out.commit();
        return failedAt(path, reason);
    }
    if (!out.commit())
        return failedAt(path, out.errorString());
    return SaveResult::success();
}

SaveResult Storage::moveAside(DataFile &file)
{
    const QString path = filePath(file);
    if (!pathTaken(path)) {
        // Gone since it was loaded: nothing left to keep.
        file.unreadable = false;
        file.kept.reset();
        return SaveResult::success();
    }
    const QString stamp = m_clock->nowUtc().toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    const QString base = path + QStringLiteral(".unreadable-") + stamp;
    QString target = base;
    for (int n = 2; pathTaken(target) && n < 1000; ++n)
        target = base + u'-' + QString::number(n);

    if (pathTaken(target) || !m_mover(path, target)) {
        diagnose(QStringLiteral("storage: %1 could not be read (%2) and could not be moved aside; not saving over it")
                     .arg(path, file.loadError));
        return failedAt(path, QStringLiteral("the unreadable file could not be moved aside, so it is not saved over"));
    }
    diagnose(QStringLiteral("storage: %1 could not be read (%2); moved it to %3").arg(path, file.loadError, target));
    file.kept = KeptFile{target, file.loadError};
    file.unreadable = false;
    file.loadError.clear();
    return SaveResult::success();
}

} // namespace qv
