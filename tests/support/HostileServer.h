#pragma once

// A server of the test's own on a free loopback port, for answers no fair
// server gives: too large, trickled, redirected elsewhere.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include <functional>
#include <memory>

namespace qv::test {

// Reads each request's head and body, records it, and hands the connection
// to the test's behaviour.
class HostileServer {
public:
    using Behaviour = std::function<void(QTcpSocket *socket, const QByteArray &head)>;

    explicit HostileServer(Behaviour behaviour) : m_behaviour(std::move(behaviour))
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                serve(socket);
        });
        m_listening = m_server.listen(QHostAddress::LocalHost);
    }

    bool listening() const { return m_listening; }
    QUrl url(const QString &path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }
    const QList<QByteArray> &requests() const { return m_requests; }
    int closedByClient() const { return m_closedByClient; }

private:
    void serve(QTcpSocket *socket)
    {
        auto buffer = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
            ++m_closedByClient;
            socket->deleteLater();
        });
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
            *buffer += socket->readAll();
            const qsizetype end = buffer->indexOf("\r\n\r\n");
            if (end < 0)
                return;
            const QByteArray head = buffer->left(end);
            qsizetype length = 0;
            for (const QByteArray &line : head.split('\n'))
                if (line.toLower().startsWith("content-length:"))
                    length = line.mid(15).trimmed().toLongLong();
            if (buffer->size() < end + 4 + length)
                return;
            m_requests.append(*buffer);
            buffer->clear();
            m_behaviour(socket, head);
        });
    }

    QTcpServer m_server;
    Behaviour m_behaviour;
    bool m_listening = false;
    QList<QByteArray> m_requests;
    int m_closedByClient = 0;
};

} // namespace qv::test
