#pragma once

#include "core/VirtualScheduler.h"
#include "core/WallClock.h"
#include "model/AppConfig.h"
#include "platform/Permissions.h"
#include "services/ScriptedTransport.h"
#include "state/AppStateEnvironment.h"
#include "state/FakeWorkspace.h"
#include "state/Preferences.h"
#include "state/ScriptedFetcher.h"

#include <QTemporaryDir>

#include <memory>

namespace qv::test {

// Every permission granted, nothing opened.
class GrantedPermissions : public platform::Permissions {
public:
    bool accessibilityReady() override { return true; }
    bool inputSynthesisReady() override { return true; }
    void requestAccessibility() override {}
    void requestInputSynthesis() override {}
    void openAccessibilitySettings() override {}
    void openInputSettings() override {}
};

// The environment of an application state for view tests: the virtual
// clock, an in-memory preference store, data files in `dir`, and scripted
// answers from the backend and the web site.
inline state::AppStateEnvironment testAppEnvironment(VirtualScheduler &scheduler, const WallClock &clock,
                                                     state::Preferences &prefs, platform::Workspace &workspace,
                                                     platform::Permissions &permissions, const QTemporaryDir &dir,
                                                     std::shared_ptr<ScriptedTransport> transport,
                                                     std::shared_ptr<ScriptedFetcher> fetcher)
{
    state::AppStateEnvironment env;
    env.scheduler = &scheduler;
    env.clock = &clock;
    env.preferences = &prefs;
    env.workspace = &workspace;
    env.permissions = &permissions;
    env.dataFolders = AppConfig::inFolders(dir.filePath("Desktop"), dir.filePath("share"));
    env.backendUrl = QUrl("http://127.0.0.1:54321");
    env.backendAnonKey = "anon";
    env.backendTransport = std::move(transport);
    env.siteFetcher = std::move(fetcher);
    env.siteUrl = QUrl("http://127.0.0.1:54321");
    return env;
}

} // namespace qv::test
