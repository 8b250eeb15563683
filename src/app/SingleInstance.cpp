#include "app/SingleInstance.h"

#include "state/PreferencesFile.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>

namespace qv::app {

namespace {
const QByteArray kActivate = "activate\n";
const QByteArray kDone = "ok\n";
// A copy that has just taken the lock needs a moment before it listens.
constexpr int kAskForMs = 5000;
// Without a lock there is no sign that a copy runs: one quick try.
constexpr int kQuickAskMs = 500;
// How long a restarted copy waits for the one it replaces to quit.
constexpr int kPredecessorWaitMs = 10000;
const QString kSilent = QStringLiteral(" but did not answer; its window was not brought forward");

QString folderKey(const QString &folder)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(QDir(folder).absolutePath().toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
}
} // namespace

SingleInstance::SingleInstance(QString folder, QString lockFolder, QObject *parent)
    : QObject(parent), m_folder(std::move(folder)), m_lockFolder(std::move(lockFolder))
{
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::lockPath() const { return QDir(m_folder).filePath(QStringLiteral("quorvel.lock")); }

QString SingleInstance::secondLockPath() const
{
    if (m_lockFolder.isEmpty())
        return {};
    return QDir(m_lockFolder).filePath(QStringLiteral("quorvel-%1.lock").arg(folderKey(m_folder)));
}

QString SingleInstance::serverName() const
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        base = QDir::tempPath();
    return QDir(base).filePath(QStringLiteral("quorvel-%1.socket").arg(folderKey(m_folder)));
}

QString SingleInstance::defaultLockFolder()
{
    // Beside the preferences: the user's own, and there even when the data
    // folder takes no files.
    return QFileInfo(state::PreferencesFile::defaultPath()).absolutePath();
}

qint64 SingleInstance::takePredecessorFromEnvironment()
{
    const qint64 pid = qEnvironmentVariable(kReplacesVariable).toLongLong();
    qunsetenv(kReplacesVariable);
    return pid;
}

SingleInstance::Claim SingleInstance::claim(QString *why)
{
    QStringList problems;
    QStringList paths;
    if (QDir().mkpath(m_folder))
        paths << lockPath();
    else
        problems << QStringLiteral("cannot create %1").arg(m_folder);
    if (!m_lockFolder.isEmpty()) {
        if (QDir().mkpath(m_lockFolder))
            paths << secondLockPath();
        else
            problems << QStringLiteral("cannot create %1").arg(m_lockFolder);
    }
    // Both locks where both can be made: a copy that could take only one of
    // them (the data folder took files later, or no longer does) still meets
    // this one.
    for (const QString &path : std::as_const(paths)) {
        QString problem;
        qint64 pid = 0;
        switch (take(path, &problem, &pid)) {
        case Taken::held:
            break;
        case Taken::byAnother:
            m_locks.clear();
            return handOver(pid, why);
        case Taken::impossible:
            problems << problem;
            break;
        }
    }
    if (!m_locks.empty()) {
        // Without the socket this is still the one copy; `why` says that a
        // later launch can't bring it forward.
        listen(why);
        return Claim::First;
    }
    // No lock anywhere. A copy that started the same way still listens, and
    // running beside it would save over its data: hand over to it.
    if (const Answer answer = askRunningCopy(kQuickAskMs); answer != Answer::nobody) {
        if (why) {
            *why = QStringLiteral("Quorvel is already running");
            if (answer == Answer::silent)
                *why += kSilent;
        }
        return Claim::Handed;
    }
    QString listening;
    if (!listen(&listening))
        problems << listening;
    if (why)
        *why = problems.join(QStringLiteral("; "));
    return Claim::Unguarded;
}

SingleInstance::Taken SingleInstance::take(const QString &path, QString *why, qint64 *otherPid)
{
    auto lock = std::make_unique<QLockFile>(path);
    // Only a holder that no longer runs makes the lock stale, however old.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_locks.push_back(std::move(lock));
        return Taken::held;
    }
    if (lock->error() == QLockFile::LockFailedError) {
        lock->getLockInfo(otherPid, nullptr, nullptr);
        // The copy this one replaces lets go once it has quit.
        if (m_predecessor != 0 && *otherPid == m_predecessor && lock->tryLock(kPredecessorWaitMs)) {
            m_locks.push_back(std::move(lock));
            return Taken::held;
        }
        return Taken::byAnother;
    }
    *why = QStringLiteral("cannot write the lock %1").arg(path);
    return Taken::impossible;
}

SingleInstance::Claim SingleInstance::handOver(qint64 pid, QString *why)
{
    if (why)
        *why = QStringLiteral("Quorvel is already running (process %1)").arg(pid);
    if (askRunningCopy(kAskForMs) != Answer::answered && why)
        *why += kSilent;
    return Claim::Handed;
}

bool SingleInstance::listen(QString *why)
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a crashed copy: we hold a lock, or nobody
    // answered on it, so it is not live.
    QLocalServer::removeServer(serverName());
    if (!m_server->listen(serverName())) {
        if (why)
            *why = QStringLiteral("cannot listen on %1: %2").arg(serverName(), m_server->errorString());
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                if (socket->readLine() == kActivate) {
                    socket->write(kDone);
                    socket->flush();
                    emit activationRequested();
                }
                socket->disconnectFromServer();
            });
        }
    });
    return true;
}

SingleInstance::Answer SingleInstance::askRunningCopy(int forMs)
{
    // Blocking socket calls before the event loop runs: this launch only
    // passes the word on and exits.
    const QDeadlineTimer deadline(forMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(serverName());
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime())))) {
            socket.write(kActivate);
            if (socket.waitForBytesWritten(1000)
                && socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())))
                && socket.readLine() == kDone)
                return Answer::answered;
            return Answer::silent;
        }
        QThread::msleep(100);
    }
    return Answer::nobody;
}

} // namespace qv::app
