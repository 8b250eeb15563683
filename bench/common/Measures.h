#pragma once

// What the desktop benchmarks share: whether they run inside the desktop
// session, CPU time of this process and of another one, and how many
// graphemes of a text landed wrong.

#include "core/Text.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace qv::bench {

// False, with how to run it, outside the desktop session.
inline bool insideDesktopSession(const char *program)
{
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        return true;
    std::fprintf(stderr, "run inside the desktop session: scripts/desktop-session run -- %s\n", program);
    return false;
}

// User and system time this process has used so far, in seconds.
inline double cpuSecondsSelf()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// User and system time another process has used so far, in seconds (-1
// when it cannot be read).
inline double cpuSecondsOf(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = f.readAll();
    // The fields after the command name, which is in parentheses.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return double(fields[11].toLongLong() + fields[12].toLongLong()) / double(::sysconf(_SC_CLK_TCK));
}

// Edit distance in graphemes: how many characters landed wrong.
inline int wrongGraphemes(const QString &expected, const QString &actual)
{
    const QStringList a = text::graphemes(expected);
    const QStringList b = text::graphemes(actual);
    std::vector<int> prev(size_t(b.size()) + 1);
    std::vector<int> cur(size_t(b.size()) + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        prev[size_t(j)] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        cur[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int sub = prev[size_t(j - 1)] + (a[i - 1] == b[j - 1] ? 0 : 1);
            cur[size_t(j)] = std::min({sub, prev[size_t(j)] + 1, cur[size_t(j - 1)] + 1});
        }
        std::swap(prev, cur);
    }
    return prev[size_t(b.size())];
}

} // namespace qv::bench
