#pragma once

#include "app/ConnectivityMonitor.h"
#include "app/ProcessLauncher.h"
#include "app/QuorvelApp.h"
#include "app/SingleInstance.h"
#include "core/VirtualScheduler.h"
#include "core/WallClock.h"
#include "platform/sim/SimDesktop.h"
#include "services/ScriptedTransport.h"
#include "services/SupabaseSession.h"
#include "state/AppState.h"
#include "state/PreferenceKeys.h"
#include "state/Preferences.h"
#include "state/ScriptedFetcher.h"
#include "theme/MotionSettings.h"
#include "theme/ThemeEnvironment.h"
#include "theme/ThemeTestSupport.h" // grabImage, colorNear, screenshotDir

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace qv::test {

inline const QString kToken = QStringLiteral("/auth/v1/token");
inline const QString kProfiles = QStringLiteral("/rest/v1/profiles");

inline QByteArray authAnswer(const QString &access, const QString &refresh,
                             const QString &email = QStringLiteral("pat@example.test"))
{
    return QStringLiteral(R"({"access_token":"%1","refresh_token":"%2","user":{"id":"u1","email":"%3"}})")
        .arg(access, refresh, email)
        .toUtf8();
}

inline QByteArray profileRow() { return R"([{"id":"u1","email":"pat@example.test"}])"; }

// Connectivity the test turns on and off; records every monitor's life.
class FakeConnectivity {
public:
    struct Monitor final : app::ConnectivityMonitor {
        explicit Monitor(FakeConnectivity &owner) : owner(owner) {}
        void start(Report r) override
        {
            report = std::move(r);
            running = true;
            ++owner.started;
            if (report)
                report(owner.connected);
        }
        void cancel() override
        {
            if (running)
                ++owner.cancelled;
            running = false;
            report = nullptr;
        }
        ~Monitor() override
        {
            cancel();
            std::erase(owner.monitors, this);
        }
        FakeConnectivity &owner;
        Report report;
        bool running = false;
    };

    app::ConnectivityFactory factory()
    {
        return [this] {
            auto m = std::make_unique<Monitor>(*this);
            monitors.push_back(m.get());
            return m;
        };
    }
    void set(bool on)
    {
        connected = on;
        for (Monitor *m : monitors)
            if (m->running && m->report)
                m->report(on);
    }
    int running() const
    {
        return int(std::count_if(monitors.begin(), monitors.end(), [](Monitor *m) { return m->running; }));
    }

    bool connected = true;
    int started = 0;
    int cancelled = 0;
    // The live monitors (their views own them).
    std::vector<Monitor *> monitors;
};

// Records what a restart would start; answers as the test says.
class FakeLauncher final : public app::ProcessLauncher {
public:
    bool startDetached(const QString &program, const QStringList &arguments,
                       const app::ExtraEnvironment &extra = {}) override
    {
        QByteArray replaces;
        for (const auto &[name, value] : extra)
            if (name == QLatin1String(app::SingleInstance::kReplacesVariable))
                replaces = value.toUtf8();
        started.push_back({program, arguments, replaces});
        if (onStart)
            onStart();
        return succeeds;
    }
    struct Start {
        QString program;
        QStringList arguments;
        QByteArray replaces; // what the new copy finds in its environment
    };
    std::vector<Start> started;
    bool succeeds = true;
    std::function<void()> onStart;
};

// Everything a shell test stands on: a virtual clock, a simulated desktop,
// in-memory preferences and scripted backend answers.
class ShellTest : public ::testing::Test {
protected:
    VirtualScheduler scheduler;
    FixedWallClock clock{QDateTime(QDate(2026, 12, 6), QTime(10, 0), Qt::UTC), &scheduler};
    sim::SimDesktop sim{scheduler};
    MotionSettings motion{&sim.desktop()};
    ThemeEnvironment theme{scheduler, motion};
    QTemporaryDir dir;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>(scheduler);
    std::shared_ptr<ScriptedFetcher> fetcher = std::make_shared<ScriptedFetcher>(scheduler);
    std::shared_ptr<FakeLauncher> launcher = std::make_shared<FakeLauncher>();
    FakeConnectivity connectivity;
    std::vector<int> exits;
    std::unique_ptr<state::Preferences> ownPrefs = std::make_unique<state::Preferences>();
    state::Preferences *prefs = ownPrefs.get();
    std::unique_ptr<app::QuorvelApp> quorvel;

    app::QuorvelAppEnvironment environment()
    {
        app::QuorvelAppEnvironment env;
        env.scheduler = &scheduler;
        env.platform = &sim;
        env.preferences = prefs;
        env.motion = &motion;
        env.stateEnvironment.clock = &clock;
        env.stateEnvironment.dataFolders = AppConfig::inFolders(dir.filePath("Desktop"), dir.filePath("share"));
        env.stateEnvironment.backendUrl = QUrl("http://127.0.0.1:54321");
        env.stateEnvironment.backendAnonKey = "anon";
        env.stateEnvironment.backendTransport = transport;
        env.stateEnvironment.siteFetcher = fetcher;
        env.stateEnvironment.siteUrl = QUrl("https://quorvel.example");
        env.stateEnvironment.version = "1.0.0";
        env.makeConnectivity = connectivity.factory();
        env.launcher = launcher;
        env.exit = [this](int code) { exits.push_back(code); };
        return env;
    }

    app::QuorvelApp &start(app::QuorvelAppEnvironment env)
    {
        quorvel = std::make_unique<app::QuorvelApp>(std::move(env));
        return *quorvel;
    }
    app::QuorvelApp &start() { return start(environment()); }
    state::AppState &appState() { return quorvel->appState(); }

    void storeSession()
    {
        prefs->setData(state::keys::session,
                       SupabaseSession{"A0", "R0", "u1", QStringLiteral("pat@example.test")}.toJson());
    }
    // Every token request succeeds, every profile read finds the row.
    void backendAcceptsEverything(double delayMs = 0)
    {
        transport->setHandler([delayMs](const HttpRequest &r) {
            if (r.url.path() == kToken)
                return ScriptedTransport::Answer(HttpResponse{200, {}, authAnswer("A1", "R1")}, delayMs);
            return ScriptedTransport::Answer(HttpResponse{200, {}, profileRow()}, delayMs);
        });
    }
    int requestsTo(const QString &path) const
    {
        int n = 0;
        for (const auto &r : transport->requests())
            n += r.url.path() == path ? 1 : 0;
        return n;
    }

    void TearDown() override
    {
        quorvel.reset();
        // Deleted pages and posted work of this test must not reach the next.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace qv::test
