#include "dashboard/DashboardEnvironment.h"

#include "services/BackendConfig.h"

namespace qv::dashboard {

QString DashboardEnvironment::defaultSupportEmail() { return QString::fromUtf8(BackendConfig::supportEmail); }

} // namespace qv::dashboard
