#pragma once

#include "state/Preferences.h"

#include "core/Scheduler.h"

#include <QHash>
#include <QSet>
#include <QString>

namespace qv {
class WallClock;
}

namespace qv::state {

// Preferences kept in one JSON file, by default
// $XDG_CONFIG_HOME/Quorvel/preferences.json. The folder is made mode 0700 and
// the file mode 0600 (it holds the session tokens). Changes live in memory at
// once and reach the disk atomically after a short quiet period; flush() writes
// at once (quit, termination signals). A write that fails is announced with
// its reason (saveFailed) and the values stay due for the next write. A file that does not parse, is not a
// regular file (a named pipe, a link to a device) or is larger than kMaxFileBytes is moved aside unread and
// the store starts empty, so the user's file is never overwritten and the launch never waits on it.
// Byte values above a few kilobytes (a profile picture) live in side files
// next to the JSON file, written only when they change, so the frequent small
// writes stay small; reading them gives the same bytes as any other value.
class PreferencesFile final : public Preferences {
    Q_OBJECT
public:
    static constexpr double kDebounceMs = 500.0;
    // The most read of the file or of a side file: far above any real store
    // (a large profile picture), far below what a runaway file could make
    // the program hold.
    static constexpr qint64 kMaxFileBytes = qint64(512) * 1024 * 1024;
    // Byte values larger than this go to a side file.
    static constexpr qsizetype kSideFileBytes = 4096;

    PreferencesFile(QString path, Scheduler &scheduler, const WallClock &clock, QObject *parent = nullptr);
    ~PreferencesFile() override;

    static QString defaultPath();

    const QString &path() const { return m_path; }
    // Where an unreadable file was moved at load; empty when none was.
    const QString &movedAsidePath() const { return m_movedAside; }
    bool hasPendingWrite() const { return m_timer != 0; }

    SaveResult flush() override;

    // The side file that holds `key`'s bytes on disk; empty when none does.
    QString sideFilePath(const QString &key) const;

protected:
    void changed() override;

private:
    void load();
    SaveResult write();
    QString sideFileName(const QString &key) const;
    bool writeSideFile(const QString &name, const QByteArray &bytes) const;

    QString m_path;
    Scheduler &m_scheduler;
    const WallClock &m_clock;
    Scheduler::TimerId m_timer = 0;
    bool m_dirty = false;
    // Set when the file could not be read nor moved aside: never write over it.
    bool m_blocked = false;
    QString m_movedAside;
    // Key to the side file its bytes were last written to (or read from).
    QHash<QString, QString> m_sideFiles;
};

} // namespace qv::state
