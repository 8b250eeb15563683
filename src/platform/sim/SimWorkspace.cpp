#include "platform/sim/SimWorkspace.h"

#include "platform/sim/SimDesktop.h"

namespace qv::sim {

SimWorkspace::SimWorkspace(SimDesktop &desktop) : m_desktop(desktop) {}

std::optional<platform::AppInfo> SimWorkspace::frontmostApplication()
{
    // The window system knows the frontmost application even when it hangs.
    if (SimApp *front = m_desktop.frontmost())
        return front->info();
    return std::nullopt;
}

qint64 SimWorkspace::ownPid() const { return SimDesktop::OwnPid; }

bool SimWorkspace::openUrl(const QUrl &url)
{
    m_desktop.log().calls.push_back({m_desktop.scheduler().nowNs(), QStringLiteral("openUrl"), url.toString()});
    return m_openSucceeds;
}

} // namespace qv::sim
