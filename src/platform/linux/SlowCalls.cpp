#include "platform/linux/SlowCalls.h"

namespace qv::linuxdesktop {

Q_LOGGING_CATEGORY(platformCalls, "quorvel.platform.calls", QtInfoMsg)

void reportSlowCall(qint64 elapsedNs, const QString &what)
{
    if (elapsedNs >= kSlowCallLogNs)
        qCDebug(platformCalls).noquote()
            << QStringLiteral("slow call: %1 ms in %2").arg(elapsedNs / 1'000'000).arg(what);
}

} // namespace qv::linuxdesktop
