#pragma once

// The typing panel against a whole application state on the simulated
// desktop: Quorvel in front with its panel window, an editor with a text area
// and a second application to click away to.

#include "core/Random.h"
#include "core/Text.h"
#include "core/VirtualScheduler.h"
#include "core/WallClock.h"
#include "engine/TypingEngine.h"
#include "platform/sim/SimDesktop.h"
#include "services/ScriptedTransport.h"
#include "state/AppState.h"
#include "state/Preferences.h"
#include "state/ScriptedFetcher.h"
#include "state/TypingJob.h"
#include "support/RunPhasePrinter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace qv::test {

using engine::RunPhase;

inline Project panelProject(const QString &title, const QString &text, bool humanize = false)
{
    Project p;
    p.id = QUuid::createUuid();
    p.title = title;
    p.text = text;
    p.wpm = 160;
    p.grade = QStringLiteral("12");
    p.review = QStringLiteral("light");
    p.humanize = humanize;
    return p;
}

struct PanelFixture : ::testing::Test {
    QTemporaryDir dir;
    VirtualScheduler clock;
    FixedWallClock wallClock{QDateTime(QDate(2026, 12, 6), QTime(10, 0), Qt::UTC), &clock};
    sim::SimDesktop sim{clock};
    SeededRandom random{7};
    std::shared_ptr<engine::TypingEngine> engine = std::make_shared<engine::TypingEngine>(sim, clock, random);
    state::Preferences prefs;

    sim::SimElement &panelWindow = sim.own().addWindow({1000, 0, 300, 300}, "Typing");
    sim::SimApp &editorApp = sim.addApp("Editor");
    sim::SimElement &editorWindow = editorApp.addWindow({0, 0, 800, 600}, "Draft");
    sim::SimElement &field = editorWindow.addTextArea({20, 40, 760, 300}, "");
    sim::SimApp &other = sim.addApp("Other");
    sim::SimElement &otherWindow = other.addWindow({0, 650, 500, 200}, "Elsewhere");

    std::unique_ptr<state::AppState> app;
    int closes = 0;

    const Project essay = panelProject(QStringLiteral("Essay"), QStringLiteral("The quick brown fox jumps over it."));
    const Project letter = panelProject(QStringLiteral("Letter"), QStringLiteral("Dear friend, see you soon."));

    void SetUp() override
    {
        field.setFocusable(true);
        sim.own().activate();
        state::AppStateEnvironment env;
        env.scheduler = &clock;
        env.clock = &wallClock;
        env.preferences = &prefs;
        env.workspace = &sim.workspace();
        env.permissions = &sim.permissions();
        env.accessibility = &sim.accessibility();
        env.input = &sim.input();
        env.desktop = &sim.desktop();
        env.dataFolders = AppConfig::inFolders(dir.filePath("Desktop"), dir.filePath("share"));
        env.backendTransport = std::make_shared<ScriptedTransport>(clock);
        env.siteFetcher = std::make_shared<ScriptedFetcher>(clock);
        env.makeTypingEngine = [this] { return engine; };
        app = std::make_unique<state::AppState>(env);
        clock.advance(0);
    }

    // A run still going when a test ends is stopped and let finish, so that
    // nothing of it is left suspended on the clock.
    void TearDown() override
    {
        if (app && app->typingJob().isRunInFlight()) {
            app->typingJob().stopTyping();
            EXPECT_TRUE(runToEnd()) << "the run did not end after a stop";
        }
    }

    std::function<void()> countCloses()
    {
        return [this] { ++closes; };
    }

    bool runUntil(const std::function<bool()> &done, double maxMs = 120000) { return clock.runUntil(done, maxMs); }
    bool runUntilPhase(engine::RunPhase phase)
    {
        return runUntil([&] { return app->phase() == phase; });
    }
    // Until the job is over and no run of the engine is left.
    bool runToEnd()
    {
        return runUntil([&] { return !app->isTyping() && !app->typingJob().isRunInFlight(); });
    }
    // The user clicks into the editor's text box and the run starts.
    bool clickIntoField()
    {
        sim.clickInto(field);
        return runUntilPhase(engine::RunPhase::Typing);
    }
};

} // namespace qv::test

// Readable failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
