#pragma once

#include "platform/Element.h"

#include <QString>

#include <optional>

namespace qv::platform {
class Workspace;
}

namespace qv::state {

// The text box a typing job types into, with the application that was in
// front when it was taken: that is where the keys go, not necessarily the
// element's own application.
struct JobTarget {
    platform::Element element;
    std::optional<qint64> pid;
    std::optional<QString> bundleId;

    // Takes `element` and the application in front now; returns that
    // application's name (empty when none is in front).
    QString capture(const platform::Element &taken, platform::Workspace &workspace);
};

} // namespace qv::state
