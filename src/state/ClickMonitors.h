#pragma once

#include "platform/Subscription.h"

#include <QPoint>

#include <functional>

namespace qv::platform {
class InputMonitor;
}

namespace qv::state {

// A pair of left-button-release monitors, one for clicks in other
// applications and one for clicks in Quorvel's own windows, installed and
// removed together. Removing them (or the object going away) ends both.
class ClickMonitors {
public:
    // `local` is true for a click in one of Quorvel's own windows.
    using Handler = std::function<void(QPoint at, bool local)>;

    // Replaces whatever was installed before.
    void install(platform::InputMonitor &input, const Handler &handler);
    void remove();

private:
    platform::SubscriptionPtr m_global;
    platform::SubscriptionPtr m_local;
};

} // namespace qv::state
