#include "platform/sim/SimPermissions.h"

#include "platform/sim/SimDesktop.h"

namespace qv::sim {

void SimPermissions::logCall(const char *what)
{
    m_desktop.log().calls.push_back({m_desktop.scheduler().nowNs(), QString::fromLatin1(what), {}});
}

void SimPermissions::requestAccessibility() { logCall("requestAccessibility"); }

void SimPermissions::requestInputSynthesis() { logCall("requestInputSynthesis"); }

void SimPermissions::openAccessibilitySettings() { logCall("openAccessibilitySettings"); }

void SimPermissions::openInputSettings() { logCall("openInputSettings"); }

} // namespace qv::sim
