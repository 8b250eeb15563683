#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QLocalServer;
class QLockFile;

namespace qv::app {

// One Quorvel per data folder: two copies would each save the library over
// the other's changes. The first launch holds a lock file in the data folder
// and a second one, named after that folder, in a folder of its own (so a data
// folder that takes no files is still guarded), and listens on a local socket.
// A later launch finds a lock held, asks the running copy to bring its window
// to the front, and exits. A lock left by a copy that crashed names a process
// that no longer runs, and is taken over.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        First,     // this is the one copy: go on
        Handed,    // another copy runs and was asked to come forward: exit
        Unguarded, // no lock could be made and no copy answered: go on alone
    };

    // `folder` is the data folder in use; `lockFolder` holds the second lock
    // (none when empty). The socket's name is derived from `folder`.
    explicit SingleInstance(QString folder, QString lockFolder = {}, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Needs the application object (the lock records its name). `why` says
    // which lock could not be made, and which process runs for Handed.
    Claim claim(QString *why = nullptr);

    QString lockPath() const;
    // The second lock; empty without a lock folder.
    QString secondLockPath() const;
    // The local socket's full path: in the user's runtime folder when there
    // is one (private to the user), else in the temporary folder.
    QString serverName() const;

    // The folder of the second lock that the application uses.
    static QString defaultLockFolder();

    // A restart starts the new copy before the old one has quit: the new one
    // waits for the old one's locks instead of handing over to it. The old
    // copy names itself in the environment it passes on.
    static constexpr const char *kReplacesVariable = "QUORVEL_REPLACES";
    void setPredecessor(qint64 pid) { m_predecessor = pid; }
    // The process named by the environment (0 for none), which is cleared so
    // that programs this copy starts do not inherit it.
    static qint64 takePredecessorFromEnvironment();

signals:
    // A later launch asked for the window.
    void activationRequested();

private:
    enum class Taken { held, byAnother, impossible };
    Taken take(const QString &path, QString *why, qint64 *otherPid);
    Claim handOver(qint64 pid, QString *why);
    bool listen(QString *why);
    // Whether a copy listens on the socket, and whether it came forward.
    enum class Answer { nobody, answered, silent };
    Answer askRunningCopy(int forMs);

    QString m_folder;
    QString m_lockFolder;
    qint64 m_predecessor = 0;
    std::vector<std::unique_ptr<QLockFile>> m_locks;
    QLocalServer *m_server = nullptr;
};

} // namespace qv::app
