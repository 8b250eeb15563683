#include "state/AppStateEnvironment.h"

#include "services/BackendConfig.h"
#include "services/SupabaseConfig.h"

namespace qv::state {

QUrl AppStateEnvironment::defaultBackendUrl() { return SupabaseConfig::url(); }
QString AppStateEnvironment::defaultBackendAnonKey() { return SupabaseConfig::anonKey(); }
QUrl AppStateEnvironment::defaultSiteUrl() { return QUrl(QString::fromUtf8(BackendConfig::siteUrl), QUrl::StrictMode); }
QString AppStateEnvironment::applicationVersion() { return QStringLiteral(QUORVEL_VERSION); }

} // namespace qv::state
