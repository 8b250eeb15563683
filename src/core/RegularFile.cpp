#include "core/RegularFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

namespace {

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString kindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("not a file");
}

RegularFileRead refused(QString reason)
{
    return RegularFileRead{RegularFileRead::Outcome::refused, {}, std::move(reason)};
}

RegularFileRead notRegular(mode_t mode)
{
    return refused(QStringLiteral("it is %1, not a regular file").arg(kindOf(mode)));
}

RegularFileRead tooLarge(qint64 maxBytes)
{
    return refused(QStringLiteral("it is larger than %1").arg(sizeInWords(maxBytes)));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

QString sizeInWords(qint64 bytes)
{
    if (bytes >= 1024 * 1024)
        return QStringLiteral("%1 MB").arg(bytes / (1024 * 1024));
    return QStringLiteral("%1 KB").arg(std::max<qint64>(1, bytes / 1024));
}

RegularFileRead readRegularFile(const QString &path, qint64 maxBytes)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0) {
        const int error = errno;
        struct stat link {};
        if (error == ENOENT && ::lstat(native.constData(), &link) != 0)
            return {};
        return refused(systemError(error));
    }
    // Checked before opening: opening a pipe or a device can itself wait or
    // have effects.
    if (!S_ISREG(info.st_mode))
        return notRegular(info.st_mode);
    if (info.st_size > maxBytes)
        return tooLarge(maxBytes);

    // Non-blocking, so a pipe swapped in since the check cannot hold the open.
    const Descriptor fd(::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        return refused(systemError(errno));
    if (::fstat(fd.get(), &info) != 0)
        return refused(systemError(errno));
    if (!S_ISREG(info.st_mode))
        return notRegular(info.st_mode);

    // One byte past the limit tells a file that grew past it.
    QByteArray bytes;
    bytes.reserve(qsizetype(std::min<qint64>(info.st_size, maxBytes) + 1));
    char chunk[64 * 1024];
    for (;;) {
        const qint64 room = maxBytes + 1 - bytes.size();
        const ssize_t got = ::read(fd.get(), chunk, size_t(std::min<qint64>(room, qint64(sizeof chunk))));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return refused(systemError(errno));
        if (got == 0)
            break;
        bytes.append(chunk, qsizetype(got));
        if (bytes.size() > maxBytes)
            return tooLarge(maxBytes);
    }
    return RegularFileRead{RegularFileRead::Outcome::read, std::move(bytes), {}};
}

} // namespace qv
