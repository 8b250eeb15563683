#pragma once

#include "model/AppConfig.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

namespace qv {
class HttpTransport;
class Scheduler;
class WallClock;
namespace engine {
class TypingEngine;
}
namespace platform {
class Accessibility;
class Desktop;
class InputMonitor;
class Permissions;
class Workspace;
} // namespace platform
} // namespace qv

namespace qv::state {

class HttpFetcher;
class Preferences;

// Everything AppState stands on, injected so that tests run it on a virtual
// clock with an in-memory store, scripted backend answers and a fake desktop.
// The pointers must outlive the AppState.
struct AppStateEnvironment {
    Scheduler *scheduler = nullptr;
    const WallClock *clock = nullptr;
    Preferences *preferences = nullptr;
    platform::Workspace *workspace = nullptr;
    platform::Permissions *permissions = nullptr;
    // What the typing job needs of the desktop besides the two above; without
    // accessibility, clicks and an engine no job can be armed. Without the
    // desktop there is no launcher badge.
    platform::Accessibility *accessibility = nullptr;
    platform::InputMonitor *input = nullptr;
    platform::Desktop *desktop = nullptr;

    AppConfig dataFolders = AppConfig::defaultConfig();
    QUrl backendUrl = defaultBackendUrl();
    QString backendAnonKey = defaultBackendAnonKey();
    std::shared_ptr<HttpTransport> backendTransport; // null: the network
    std::shared_ptr<HttpFetcher> siteFetcher;        // null: the network
    QUrl siteUrl = defaultSiteUrl();
    QString version = applicationVersion();
    // Creates the one typing engine, kept for the whole run (the application
    // passes one built on its desktop, scheduler and randomness).
    std::function<std::shared_ptr<engine::TypingEngine>()> makeTypingEngine;

    // The build settings.
    static QUrl defaultBackendUrl();
    static QString defaultBackendAnonKey();
    static QUrl defaultSiteUrl();
    static QString applicationVersion();
};

} // namespace qv::state
