#pragma once

#include "platform/Subscription.h"

#include <QPoint>

#include <functional>

namespace qv::platform {

// Left mouse button releases: global ones go to other applications, local
// ones to our own windows. The callback gets the global point.
class InputMonitor {
public:
    virtual ~InputMonitor() = default;
    using Handler = std::function<void(QPoint global)>;
    // Null when global clicks cannot be monitored.
    virtual SubscriptionPtr addGlobalLeftMouseUp(Handler handler) = 0;
    virtual SubscriptionPtr addLocalLeftMouseUp(Handler handler) = 0;
};

} // namespace qv::platform
