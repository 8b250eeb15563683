#pragma once

#include <functional>
#include <memory>

namespace qv::app {

// Watches whether the machine has a usable network path. start() reports the
// current state soon after it is called and every change after that, always
// on the GUI thread; cancel() stops all reports. One monitor per appearance
// of the view that needs it.
class ConnectivityMonitor {
public:
    using Report = std::function<void(bool connected)>;
    virtual ~ConnectivityMonitor() = default;
    virtual void start(Report report) = 0;
    virtual void cancel() = 0;
};

using ConnectivityFactory = std::function<std::unique_ptr<ConnectivityMonitor>()>;

} // namespace qv::app
