#pragma once

// The development backend for tests that go over real loopback sockets.

#include "DevBackend.h"
#include "core/VirtualScheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>
#include <memory>
#include <string>

namespace qv::test {

// A free port, nothing kept on disk, the cheapest password hash.
inline devbackend::DevBackendOptions loopbackOptions(const std::string &email, const std::string &password)
{
    auto options = devbackend::DevBackendOptions::defaults();
    options.port = 0;
    options.dataDir = ":memory:";
    options.fastPasswordHash = true;
    options.addUsers = {{email, password}};
    return options;
}

// Started and serving, or empty with `error` set.
inline std::unique_ptr<devbackend::DevBackend> startLoopbackBackend(const devbackend::DevBackendOptions &options,
                                                                    std::string &error)
{
    auto backend = std::make_unique<devbackend::DevBackend>(options);
    if (!backend->start(error))
        return nullptr;
    backend->serveInBackground();
    return backend;
}

// Real sockets, while the virtual clock stands still: only work that is due
// now runs, so timers further on (refreshes, time-outs) stay away.
inline bool waitOnSockets(VirtualScheduler &scheduler, const std::function<bool()> &done, int maxMs = 5000)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < maxMs) {
        scheduler.advance(0);
        if (done())
            return true;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return done();
}

} // namespace qv::test
