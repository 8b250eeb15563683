#include "state/PreferencesFile.h"

#include "core/RegularFile.h"
#include "core/SaveLeftovers.h"
#include "core/WallClock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtDebug>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace qv::state {

namespace {
constexpr QFileDevice::Permissions kFolderMode = QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                 | QFileDevice::ExeOwner;
const QString kFileTag = QStringLiteral("$file");

// The on-disk stand-in of bytes kept in a side file: {"$file": name}.
std::optional<QString> sideFileReference(const QJsonValue &v)
{
    if (!v.isObject())
        return std::nullopt;
    const QJsonObject o = v.toObject();
    if (o.size() != 1 || !o.value(kFileTag).isString())
        return std::nullopt;
    return o.value(kFileTag).toString();
}

// Only a plain name in the same folder: a hand-edited file must not point
// the store at other files.
bool isPlainFileName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_-][A-Za-z0-9._-]*$"));
    return plain.match(name).hasMatch() && !name.contains(QLatin1String(".."));
}
} // namespace

PreferencesFile::PreferencesFile(QString path, Scheduler &scheduler, const WallClock &clock, QObject *parent)
    : Preferences(parent), m_path(std::move(path)), m_scheduler(scheduler), m_clock(clock)
{
    load();
}

PreferencesFile::~PreferencesFile()
{
    // Nobody is left to show a failure: write() has logged it.
    if (m_timer != 0)
        m_scheduler.cancel(m_timer);
    if (m_dirty)
        (void)write();
}

QString PreferencesFile::defaultPath()
{
    // Never a path relative to wherever the program was started from.
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return QDir(base).filePath(QStringLiteral("Quorvel/preferences.json"));
}

void PreferencesFile::load()
{
    // What a save killed halfway left behind: the file's own temporary
    // files and those of its side files.
    const QFileInfo info(m_path);
    const QRegularExpression sideFile(
        QStringLiteral("^%1\\.[A-Za-z0-9_-]+\\.bin$").arg(QRegularExpression::escape(info.completeBaseName())));
    for (const QString &removed : removeSaveLeftovers(info.absolutePath(), [&](const QString &name) {
             return name == info.fileName() || sideFile.match(name).hasMatch();
         }))
        qWarning().noquote() << "preferences: removed" << removed << "left by an interrupted save";

    const RegularFileRead file = readRegularFile(m_path, kMaxFileBytes);
    if (file.outcome == RegularFileRead::Outcome::missing)
        return;
    if (file.outcome == RegularFileRead::Outcome::refused && QFileInfo(m_path).isFile()
        && !QFileInfo(m_path).isReadable()) {
        // Unreadable (permissions): keep it as it is and never write over it.
        qWarning().noquote() << "preferences: cannot read" << m_path << "- changes stay in memory";
        m_blocked = true;
        return;
    }
    QJsonParseError error{};
    const QJsonDocument doc = file.outcome == RegularFileRead::Outcome::read
                                  ? QJsonDocument::fromJson(file.bytes, &error)
                                  : QJsonDocument();
    if (file.outcome == RegularFileRead::Outcome::read && error.error == QJsonParseError::NoError && doc.isObject()) {
        QJsonObject values = doc.object();
        const QDir dir = QFileInfo(m_path).absoluteDir();
        for (const QString &key : values.keys()) {
            const std::optional<QString> name = sideFileReference(values.value(key));
            if (!name)
                continue;
            const RegularFileRead side = isPlainFileName(*name) ? readRegularFile(dir.filePath(*name), kMaxFileBytes)
                                                                : RegularFileRead{};
            if (side.outcome != RegularFileRead::Outcome::read) {
                // The bytes are gone: the key reads as absent, the rest loads.
                qWarning().noquote() << "preferences: value of" << key << "is missing its file" << *name << side.reason;
                values.remove(key);
                continue;
            }
            values.insert(key, encodeData(side.bytes));
            m_sideFiles.insert(key, *name);
        }
        replaceAll(values);
        return;
    }
    // Not JSON, not a regular file (a named pipe, a link to a device) or too
    // large: moved aside by name, which neither opens nor reads it.
    const QString stamp = m_clock.nowUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString aside = m_path + QStringLiteral(".unreadable-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = m_path + QStringLiteral(".unreadable-") + stamp + QLatin1Char('-') + QString::number(n);
    // A plain rename: never a copy, which would read what must not be read.
    if (QDir().rename(m_path, aside)) {
        m_movedAside = aside;
        qWarning().noquote() << "preferences: unreadable file" << m_path << "moved to" << aside
                             << (file.reason.isEmpty() ? QString() : QStringLiteral("(%1)").arg(file.reason));
    } else {
        qWarning().noquote() << "preferences: unreadable file" << m_path
                             << "could not be moved aside - changes stay in memory";
        m_blocked = true;
    }
}

void PreferencesFile::changed()
{
    m_dirty = true;
    if (m_timer != 0)
        return;
    m_timer = m_scheduler.singleShot(kDebounceMs, [this] {
        m_timer = 0;
        if (const SaveResult written = write(); !written)
            emit saveFailed(written.reason());
    });
}

SaveResult PreferencesFile::flush()
{
    if (m_timer != 0) {
        m_scheduler.cancel(m_timer);
        m_timer = 0;
    }
    if (!m_dirty)
        return SaveResult::success();
    const SaveResult written = write();
    if (!written)
        emit saveFailed(written.reason());
    return written;
}

SaveResult PreferencesFile::write()
{
    const auto failed = [this](const QString &reason) {
        qWarning().noquote() << "preferences: cannot write" << m_path << reason;
        return SaveResult::failure(QStringLiteral("%1 (%2)").arg(reason, m_path));
    };
    if (m_blocked)
        return failed(QStringLiteral("the unreadable file could not be moved aside, so it is not saved over"));
    const QFileInfo info(m_path);
    QDir dir = info.absoluteDir();
    if (!dir.exists()) {
        if (!dir.mkpath(QStringLiteral(".")))
            return failed(QStringLiteral("its folder could not be made"));
    }
    // The folder and the file hold tokens: owner only, whatever the umask says.
    QFile::setPermissions(dir.absolutePath(), kFolderMode);

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    if (::fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        file.cancelWriting();
        return failed(reason);
    }
    // Large bytes go to their side files first, each only when it changed;
    // a side file that cannot be written leaves its bytes in the JSON file.
    QJsonObject onDisk = toJson();
    QHash<QString, QString> sideFiles;
    for (auto it = onDisk.begin(); it != onDisk.end(); ++it) {
        const std::optional<QByteArray> bytes = decodeData(it.value());
        if (!bytes || bytes->size() <= kSideFileBytes)
            continue;
        const QString name = sideFileName(it.key());
        const bool current = m_sideFiles.value(it.key()) == name && !unsavedKeys().contains(it.key());
        if (!current && !writeSideFile(name, *bytes))
            continue;
        sideFiles.insert(it.key(), name);
        it.value() = QJsonObject{{kFileTag, name}};
    }

    file.write(QJsonDocument(onDisk).toJson(QJsonDocument::Indented));
    if (!file.commit()) {
        // What was written stays known, so it is not written again for nothing.
        for (auto it = sideFiles.begin(); it != sideFiles.end(); ++it)
            m_sideFiles.insert(it.key(), it.value());
        return failed(file.errorString());
    }
    // Side files no value refers to any more go once the JSON file is written.
    for (auto it = m_sideFiles.begin(); it != m_sideFiles.end(); ++it)
        if (!sideFiles.values().contains(it.value()))
            QFile::remove(dir.filePath(it.value()));
    m_sideFiles = sideFiles;
    markSaved();
    m_dirty = false;
    return SaveResult::success();
}

QString PreferencesFile::sideFileName(const QString &key) const
{
    QString safe = key;
    safe.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
    if (safe != key)
        safe += QLatin1Char('-')
                + QString::fromLatin1(QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(8));
    return QFileInfo(m_path).completeBaseName() + QLatin1Char('.') + safe + QStringLiteral(".bin");
}

QString PreferencesFile::sideFilePath(const QString &key) const
{
    const QString name = m_sideFiles.value(key);
    return name.isEmpty() ? QString() : QFileInfo(m_path).absoluteDir().filePath(name);
}

bool PreferencesFile::writeSideFile(const QString &name, const QByteArray &bytes) const
{
    QSaveFile side(QFileInfo(m_path).absoluteDir().filePath(name));
    if (!side.open(QIODevice::WriteOnly))
        return false;
    if (::fchmod(side.handle(), S_IRUSR | S_IWUSR) != 0) {
        side.cancelWriting();
        return false;
    }
    if (side.write(bytes) != bytes.size()) {
        side.cancelWriting();
        return false;
    }
    return side.commit();
}

} // namespace qv::state
