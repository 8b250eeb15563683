#pragma once

// Things that can stand where the program expects one of its own files: a
// named pipe (an open for reading waits for a writer), a link to a device
// that never ends. A watchdog sets free whatever waits on a pipe after a
// time limit, so a regression fails the test instead of hanging it.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv::test {

inline bool makeFifo(const QString &path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }

inline bool makeLink(const QString &path, const QString &target)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()) == 0;
}

class PipeWatchdog {
public:
    PipeWatchdog(QStringList pipes, std::chrono::milliseconds limit)
        : m_pipes(std::move(pipes)), m_thread([this, limit] { watch(limit); })
    {
    }
    ~PipeWatchdog() { stop(); }
    PipeWatchdog(const PipeWatchdog &) = delete;
    PipeWatchdog &operator=(const PipeWatchdog &) = delete;

    // Ends the watch; true when something had to be set free.
    bool stop()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
        return m_freed;
    }

private:
    void watch(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, limit, [this] { return m_done; }))
            return;
        // Repeatedly: a reader may reach the next pipe only after this one.
        while (!m_done) {
            for (const QString &pipe : m_pipes) {
                // Succeeds only while a reader waits: that reader was stuck.
                const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    m_freed = true;
                    ::close(fd);
                }
            }
            m_wake.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_done; });
        }
    }

    QStringList m_pipes;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    bool m_freed = false;
    std::thread m_thread;
};

} // namespace qv::test
