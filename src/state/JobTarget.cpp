#include "state/JobTarget.h"

#include "platform/Workspace.h"

namespace qv::state {

QString JobTarget::capture(const platform::Element &taken, platform::Workspace &workspace)
{
    element = taken;
    const auto front = workspace.frontmostApplication();
    if (!front) {
        pid.reset();
        bundleId.reset();
        return {};
    }
    pid = front->pid;
    bundleId = front->bundleId.isEmpty() ? std::nullopt : std::optional<QString>(front->bundleId);
    return front->name;
}

} // namespace qv::state
