#pragma once

#include <QtGlobal>

namespace qv::linuxdesktop {

// The active window passes through "none" while the window manager switches
// between applications. A short gap keeps the previous application in front;
// a longer one means nothing is in front.
class FrontmostDebounce {
public:
    static constexpr qint64 kGapNs = 300'000'000; // 300 ms

    // Feeds the process id of the active window (0 for none) and answers
    // the process id to report (0 for none).
    qint64 observe(qint64 pid, qint64 nowNs);

private:
    qint64 m_lastPid = 0;
    qint64 m_noneSinceNs = -1;
};

} // namespace qv::linuxdesktop
