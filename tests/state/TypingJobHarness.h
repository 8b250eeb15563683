#pragma once

// A typing job on the simulated desktop: Quorvel with its panel in front, an
// editor with a text area (holding a few words already, so that every typo
// is corrected at once and the field ends as "Notes: " + the text), a
// second text field and a button, and another application.

#include "core/Random.h"
#include "core/Text.h"
#include "core/VirtualScheduler.h"
#include "engine/TypingEngine.h"
#include "platform/sim/SimDesktop.h"
#include "state/Preferences.h"
#include "state/TargetDetector.h"
#include "state/TypingJob.h"
#include "support/RunPhasePrinter.h"

#include <gtest/gtest.h>

#include <memory>

namespace qv::test {

using engine::RunPhase;

inline Project typingProject(const QString &text, const QString &title = QStringLiteral("Essay"))
{
    Project p;
    p.id = QUuid::createUuid();
    p.title = title;
    p.text = text;
    p.wpm = 150;
    p.grade = QStringLiteral("12");
    p.review = QStringLiteral("light");
    p.humanize = false;
    return p;
}

struct TypingJobHarness {
    VirtualScheduler clock;
    sim::SimDesktop sim{clock};
    SeededRandom random{5};
    std::shared_ptr<engine::TypingEngine> engine = std::make_shared<engine::TypingEngine>(sim, clock, random);
    state::Preferences prefs;
    bool accessibilityReady = true;
    bool inputReady = true;

    sim::SimElement &panel = sim.own().addWindow({1000, 0, 300, 200}, "Typing");
    sim::SimElement &panelButton = panel.addButton({1010, 150, 80, 30}, "Pause");
    sim::SimApp &editor = sim.addApp("Editor");
    sim::SimElement &editorWindow = editor.addWindow({0, 0, 800, 600}, "Draft");
    sim::SimElement &field = editorWindow.addTextArea({20, 40, 760, 300}, "Notes: ");
    sim::SimElement &second = editorWindow.addTextField({20, 360, 300, 30}, "Title");
    sim::SimElement &button = editorWindow.addButton({20, 420, 100, 30}, "Send");
    sim::SimApp &other = sim.addApp("Other");
    sim::SimElement &otherWindow = other.addWindow({0, 650, 500, 200}, "Elsewhere");

    std::unique_ptr<state::TypingJob> job;

    TypingJobHarness()
    {
        field.setFocusable(true);
        second.setFocusable(true);
        sim.own().activate();
        makeJob();
    }

    // A run still going when a test ends is stopped and let finish, so that
    // nothing of it is left suspended on the clock.
    ~TypingJobHarness()
    {
        if (job && job->isRunInFlight()) {
            job->stopTyping();
            EXPECT_TRUE(runToEnd()) << "the run did not end after a stop";
        }
    }

    void makeJob()
    {
        state::TypingJob::Services s;
        s.scheduler = &clock;
        s.preferences = &prefs;
        s.workspace = &sim.workspace();
        s.permissions = &sim.permissions();
        s.accessibility = &sim.accessibility();
        s.input = &sim.input();
        s.desktop = &sim.desktop();
        s.engine = engine;
        s.accessibilityReady = [this] { return accessibilityReady; };
        s.inputMonitoringReady = [this] { return inputReady; };
        job = std::make_unique<state::TypingJob>(std::move(s));
    }

    int prepares() { return int(sim.log().callsNamed(QStringLiteral("prepare")).size()); }
    int monitors() { return sim.simInput().globalCount() + sim.simInput().localCount(); }
    bool runUntilPhase(engine::RunPhase phase, double maxMs = 120000)
    {
        return clock.runUntil([&] { return job->phase() == phase; }, maxMs);
    }
    // Until the job is over and nothing of the engine is still running.
    bool runToEnd(double maxMs = 120000)
    {
        return clock.runUntil([&] { return !job->isTyping() && !job->isRunInFlight(); }, maxMs);
    }
};

} // namespace qv::test

// Readable failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
