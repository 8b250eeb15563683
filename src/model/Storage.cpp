#include "model/Storage.h"

#include "core/WallClock.h"
#include "model/RecordCoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtDebug>

namespace qv {

namespace {

bool ensureFolder(const QString &path)
{
    return !path.isEmpty() && QDir().mkpath(path);
}

bool pathTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

Storage::Storage(const AppConfig &config, const WallClock &clock)
    : m_clock(&clock),
      m_diagnostics([](const QString &line) { qWarning().noquote() << line; }),
      m_mover([](const QString &from, const QString &to) { return QDir().rename(from, to); })
{
    if (ensureFolder(config.dataFolderPath)) {
        m_folder = config.dataFolderPath;
    } else {
        // Used even when it cannot be made: every later write then fails.
        ensureFolder(config.fallbackFolderPath);
        m_folder = config.fallbackFolderPath;
    }
}

QString Storage::projectsFilePath() const
{
    return filePath(m_projects);
}

QString Storage::studyProjectsFilePath() const
{
    return filePath(m_studyProjects);
}

QString Storage::filePath(const DataFile &file) const
{
    return QDir(m_folder).filePath(file.name);
}

void Storage::setDiagnosticSink(DiagnosticSink sink)
{
    m_diagnostics = std::move(sink);
}

void Storage::setFileMover(FileMover mover)
{
    m_mover = std::move(mover);
}

void Storage::diagnose(const QString &line) const
{
    if (m_diagnostics)
        m_diagnostics(line);
}

bool Storage::saveProjects(const QList<Project> &projects)
{
    return write(m_projects, coding::encodeProjects(projects));
}

bool Storage::saveStudyProjects(const QList<StudyProject> &sets)
{
    return write(m_studyProjects, coding::encodeStudyProjects(sets));
}

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
    const QString path = filePath(file);
    if (!pathTaken(path)) {
        // A missing file is a fresh start, not a failure.
        loaded(file, {});
        return std::nullopt;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        loaded(file, f.errorString());
        return std::nullopt;
    }
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        loaded(file, f.errorString());
        return std::nullopt;
    }
    return bytes;
}

void Storage::loaded(DataFile &file, const QString &error)
{
    file.unreadable = !error.isEmpty();
    file.loadError = error;
}

bool Storage::write(DataFile &file, const std::optional<QByteArray> &bytes)
{
    if (!bytes)
        return false;
    if (file.unreadable && !moveAside(file))
        return false;

    QSaveFile out(filePath(file));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(*bytes) != bytes->size()) {
        out.cancelWriting();
        out.commit();
        return false;
    }
    return out.commit();
}

bool Storage::moveAside(DataFile &file)
{
    const QString path = filePath(file);
    if (!pathTaken(path)) {
        // Gone since it was loaded: nothing left to keep.
        file.unreadable = false;
        return true;
    }
    const QString stamp = m_clock->nowUtc().toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    const QString base = path + QStringLiteral(".unreadable-") + stamp;
    QString target = base;
    for (int n = 2; pathTaken(target) && n < 1000; ++n)
        target = base + u'-' + QString::number(n);

    if (pathTaken(target) || !m_mover(path, target)) {
        diagnose(QStringLiteral("storage: %1 could not be read (%2) and could not be moved aside; not saving over it")
                     .arg(path, file.loadError));
        return false;
    }
    diagnose(QStringLiteral("storage: %1 could not be read (%2); moved it to %3").arg(path, file.loadError, target));
    file.unreadable = false;
    file.loadError.clear();
    return true;
}

} // namespace qv
