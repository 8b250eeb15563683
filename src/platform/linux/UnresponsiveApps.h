#pragma once

#include <QHash>
#include <QtGlobal>

namespace qv::linuxdesktop {

// Applications that let a call time out recently. Each costs the caller at
// most one time-out per back-off period; meanwhile they count as absent.
class UnresponsiveApps {
public:
    static constexpr qint64 kBackoffNs = 10'000'000'000; // 10 s

    void mark(qint64 pid, qint64 nowNs);
    bool isBackedOff(qint64 pid, qint64 nowNs) const;
    void forget(qint64 pid);

private:
    QHash<qint64, qint64> m_until;
};

} // namespace qv::linuxdesktop
