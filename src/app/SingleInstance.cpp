#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

namespace qv::app {

namespace {
const QByteArray kActivate = "activate\n";
const QByteArray kDone = "ok\n";
// A copy that has just taken the lock needs a moment before it listens.
constexpr int kAskForMs = 5000;
} // namespace

SingleInstance::SingleInstance(QString folder, QObject *parent) : QObject(parent), m_folder(std::move(folder)) {}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::lockPath() const { return QDir(m_folder).filePath(QStringLiteral("quorvel.lock")); }

QString SingleInstance::serverName() const
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        base = QDir::tempPath();
    const QByteArray key =
        QCryptographicHash::hash(QDir(m_folder).absolutePath().toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QDir(base).filePath(QStringLiteral("quorvel-%1.socket").arg(QString::fromLatin1(key)));
}

SingleInstance::Claim SingleInstance::claim(QString *why)
{
    if (!QDir().mkpath(m_folder)) {
        if (why)
            *why = QStringLiteral("cannot create %1").arg(m_folder);
        return Claim::Unknown;
    }
    m_lock = std::make_unique<QLockFile>(lockPath());
    // Only a holder that no longer runs makes the lock stale, however old.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        // Without the socket this is still the one copy; `why` says that a
        // later launch can't bring it forward.
        listen(why);
        return Claim::First;
    }
    if (m_lock->error() != QLockFile::LockFailedError) {
        if (why)
            *why = QStringLiteral("cannot write the lock %1").arg(lockPath());
        m_lock.reset();
        return Claim::Unknown;
    }
    qint64 pid = 0;
    m_lock->getLockInfo(&pid, nullptr, nullptr);
    m_lock.reset();
    if (why)
        *why = QStringLiteral("Quorvel is already running (process %1)").arg(pid);
    if (!askRunningCopy() && why)
        *why += QStringLiteral(" but did not answer; its window was not brought forward");
    return Claim::Handed;
}

bool SingleInstance::listen(QString *why)
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a crashed copy: we hold the lock, so it is not live.
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

bool SingleInstance::askRunningCopy()
{
    // Blocking socket calls before the event loop runs: this launch only
    // passes the word on and exits.
    const QDeadlineTimer deadline(kAskForMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(serverName());
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime())))) {
            socket.write(kActivate);
            if (socket.waitForBytesWritten(1000)
                && socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
                return socket.readLine() == kDone;
            return false;
        }
        QThread::msleep(100);
    }
    return false;
}

} // namespace qv::app
