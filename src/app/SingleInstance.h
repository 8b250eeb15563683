#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

namespace qv::app {

// One Quorvel per user: two copies would each save the library over the
// other's changes. The first launch holds a lock file in the data folder and
// listens on a local socket; a later launch finds the lock held, asks the
// running copy to bring its window to the front, and exits. A lock left by a
// copy that crashed names a process that no longer runs, and is taken over.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        First,   // this is the one copy: go on
        Handed,  // another copy runs and was asked to come forward: exit
        Unknown, // no lock could be made (an unwritable folder): go on, unguarded
    };

    // `folder` holds the lock; the socket's name is derived from it.
    explicit SingleInstance(QString folder, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Needs the application object (the lock records its name). `why` says
    // what went wrong for Unknown, and which process runs for Handed.
    Claim claim(QString *why = nullptr);

    QString lockPath() const;
    // The local socket's full path: in the user's runtime folder when there
    // is one (private to the user), else in the temporary folder.
    QString serverName() const;

signals:
    // A later launch asked for the window.
    void activationRequested();

private:
    bool listen(QString *why);
    bool askRunningCopy();

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};

} // namespace qv::app
