#pragma once

// A loopback server on a thread of its own that answers every request with a
// fixed head and then a body that never ends, at 8 MB a second: unlike a
// server on the test's own thread, it never waits for the client's event
// loop, so whatever the client buffers shows in its memory. The pace is a
// fast connection's, not loopback's gigabytes a second, so the margin a
// client needs to give up does not hang on how loaded the machine is, and
// one that keeps the body still grows by tens of megabytes in seconds.

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qv::test {

class EndlessServer {
public:
    explicit EndlessServer(QByteArray head) : m_head(std::move(head))
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t length = sizeof address;
        if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
            || ::listen(m_listener, 4) != 0
            || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { run(); });
    }

    ~EndlessServer()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_listener >= 0)
            ::close(m_listener);
    }

    EndlessServer(const EndlessServer &) = delete;
    EndlessServer &operator=(const EndlessServer &) = delete;

    bool listening() const { return m_port != 0; }
    QUrl url(const QString &path) const { return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path)); }
    // Connections that ended because the client dropped them.
    int droppedByClient() const { return m_dropped; }

private:
    // Waits up to 50 ms for `fd`, so a stop request is seen promptly.
    bool ready(int fd, short events) const
    {
        pollfd p{fd, events, 0};
        return ::poll(&p, 1, 50) > 0;
    }

    void run()
    {
        while (!m_stop) {
            if (!ready(m_listener, POLLIN))
                continue;
            const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            serve(client);
            ::close(client);
        }
    }

    void serve(int client)
    {
        // The request head is read and ignored; the answer does not depend on it.
        QByteArray request;
        char in[4096];
        while (!m_stop && !request.contains("\r\n\r\n")) {
            if (!ready(client, POLLIN))
                continue;
            const ssize_t got = ::recv(client, in, sizeof in, 0);
            if (got <= 0)
                return;
            request.append(in, got);
        }
        if (!sendAll(client, m_head.constData(), m_head.size()))
            return;
        const QByteArray chunk(64 * 1024, 'x');
        while (!m_stop) {
            if (!sendAll(client, chunk.constData(), chunk.size())) {
                ++m_dropped;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(8));
        }
    }

    bool sendAll(int client, const char *data, qsizetype size)
    {
        while (size > 0 && !m_stop) {
            if (!ready(client, POLLOUT))
                continue;
            const ssize_t sent = ::send(client, data, size_t(size), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (sent < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            if (sent <= 0)
                return false;
            data += sent;
            size -= sent;
        }
        return size == 0;
    }

    QByteArray m_head;
    int m_listener = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_dropped{0};
    std::thread m_thread;
};

} // namespace qv::test
