#include "state/PreferencesFile.h"

#include "core/WallClock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtDebug>

#include <sys/stat.h>

namespace qv::state {

namespace {
constexpr QFileDevice::Permissions kFolderMode =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
} // namespace

PreferencesFile::PreferencesFile(QString path, Scheduler &scheduler, const WallClock &clock, QObject *parent)
    : Preferences(parent), m_path(std::move(path)), m_scheduler(scheduler), m_clock(clock)
{
    load();
}

PreferencesFile::~PreferencesFile()
{
    flush();
}

QString PreferencesFile::defaultPath()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(base).filePath(QStringLiteral("Quorvel/preferences.json"));
}

void PreferencesFile::load()
{
    QFile file(m_path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        // Unreadable (permissions): keep it as it is and never write over it.
        qWarning().noquote() << "preferences: cannot read" << m_path << "- changes stay in memory";
        m_blocked = true;
        return;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error == QJsonParseError::NoError && doc.isObject()) {
        replaceAll(doc.object());
        return;
    }
    const QString stamp = m_clock.nowUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString aside = m_path + QStringLiteral(".unreadable-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = m_path + QStringLiteral(".unreadable-") + stamp + QLatin1Char('-') + QString::number(n);
    if (QFile::rename(m_path, aside)) {
        m_movedAside = aside;
        qWarning().noquote() << "preferences: unreadable file moved to" << aside;
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
        write();
    });
}

bool PreferencesFile::flush()
{
    if (m_timer != 0) {
        m_scheduler.cancel(m_timer);
        m_timer = 0;
    }
    if (!m_dirty)
        return true;
    return write();
}

bool PreferencesFile::write()
{
    if (m_blocked)
        return false;
    const QFileInfo info(m_path);
    QDir dir = info.absoluteDir();
    if (!dir.exists()) {
        if (!dir.mkpath(QStringLiteral(".")))
            return false;
    }
    // The folder and the file hold tokens: owner only, whatever the umask says.
    QFile::setPermissions(dir.absolutePath(), kFolderMode);

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (::fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0) {
        file.cancelWriting();
        return false;
    }
    file.write(QJsonDocument(toJson()).toJson(QJsonDocument::Indented));
    if (!file.commit()) {
        qWarning().noquote() << "preferences: cannot write" << m_path << file.errorString();
        return false;
    }
    m_dirty = false;
    return true;
}

} // namespace qv::state
