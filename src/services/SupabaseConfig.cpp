#include "services/SupabaseConfig.h"

#include "services/BackendConfig.h"

namespace qv {

QUrl SupabaseConfig::url()
{
    // The build checked the setting, so it always parses.
    static const QUrl parsed(QString::fromUtf8(BackendConfig::url), QUrl::StrictMode);
    return parsed;
}

QString SupabaseConfig::anonKey() { return QString::fromUtf8(BackendConfig::anonKey); }

} // namespace qv
