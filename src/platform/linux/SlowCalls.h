#pragma once

#include <QLoggingCategory>
#include <QString>

namespace qv::linuxdesktop {

// Synchronous calls into other applications that keep our window waiting
// are told of here (debug level, off unless the category is enabled).
Q_DECLARE_LOGGING_CATEGORY(platformCalls)

constexpr qint64 kSlowCallLogNs = 50'000'000;

// Tells of a call that took at least kSlowCallLogNs.
void reportSlowCall(qint64 elapsedNs, const QString &what);

} // namespace qv::linuxdesktop
