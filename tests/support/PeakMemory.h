#pragma once

// The process's peak resident memory, from the kernel's own high-water mark,
// which a test may reset so that it measures only what follows.

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>

#include <optional>
#include <utility>

#include <cstdio>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <malloc.h>

namespace qv::test {

// Under a sanitizer's allocator (built in, or preloaded for the leak check)
// freed memory is held back: peaks say nothing there.
inline bool peakMemoryMeaningful()
{
#if defined(__SANITIZE_ADDRESS__)
    return false;
#else
    return ::dlsym(RTLD_DEFAULT, "__lsan_do_leak_check") == nullptr;
#endif
}

// Kilobytes of one line of /proc/self/status ("VmHWM", "VmRSS").
inline std::optional<qint64> statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QRegularExpression line(QStringLiteral("^%1:\\s+(\\d+) kB").arg(QLatin1String(field)),
                                  QRegularExpression::MultilineOption);
    const auto match = line.match(QString::fromLatin1(status.readAll()));
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toLongLong();
}

// Sets the high-water mark to the memory resident now; false where the
// kernel does not offer it.
inline bool resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// Bytes the peak rose above the memory resident at the reset, while `work` ran.
template <typename Work>
std::optional<qint64> peakGrowthBytes(Work &&work)
{
    // What earlier work freed goes back first, so it cannot hide new growth.
    ::malloc_trim(0);
    if (!resetPeakMemory())
        return std::nullopt;
    const std::optional<qint64> before = statusKb("VmRSS");
    work();
    const std::optional<qint64> peak = statusKb("VmHWM");
    if (!before || !peak)
        return std::nullopt;
    return (*peak - *before) * 1024;
}

// The endless answers every test of a network cap is measured against: one
// that declares a length past any cap, then one that never says its length.
inline const std::pair<const char *, QByteArray> kEndlessAnswerHeads[] = {
    {"declared length", "HTTP/1.1 200 OK\r\nContent-Length: 107374182400\r\n\r\n"},
    {"endless", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n"},
};

// Prints the growth of the peak while an answer past `cap` was refused, and
// holds it to three times the cap where peaks mean anything, plus a fixed
// megabyte for what a loaded machine lets arrive before the client gives up.
// A body held whole grows by tens of megabytes.
inline void expectPeakWithinThreeCaps(const char *what, const std::optional<qint64> &growth, qint64 cap)
{
    ASSERT_TRUE(growth) << "this system does not report peak memory";
    std::printf("%s: peak memory grew by %.1f MB (cap %.1f MB)\n", what, double(*growth) / (1 << 20),
                double(cap) / (1 << 20));
    if (peakMemoryMeaningful()) {
        EXPECT_LE(*growth, 3 * cap + (1 << 20));
    }
}

} // namespace qv::test
