#pragma once

// A typing run on the simulated desktop: one editor window with a text
// area in front, the engine on the virtual clock, and everything the run
// reports collected for assertions.

#include "engine/TypingEngine.h"
#include "engine/TypingRun.h"

#include "TestPrinters.h"

#include "core/Random.h"
#include "core/VirtualScheduler.h"
#include "platform/sim/SimDesktop.h"
#include "support/CoroTest.h"

#include <gtest/gtest.h>

#include <QList>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>

namespace qv::test {

struct RunHarness {
    VirtualScheduler clock;
    sim::SimDesktop sim{clock};
    sim::SimApp &editor = sim.addApp("Editor");
    sim::SimElement &window = editor.addWindow({0, 0, 800, 600});
    sim::SimElement &field = window.addTextArea({20, 40, 760, 500});

    QStringList phases;
    QList<std::pair<int, int>> progress;
    QStringList debug;
    bool stop = false;
    bool pause = false;
    // Called after every progress report (right after each key of the text).
    std::function<void(int done)> onKey;

    RunHarness()
    {
        field.focus();
        editor.activate();
    }

    engine::RunOptions args(const QString &text, bool humanize, int wpm = 60)
    {
        return {.text = text,
                .humanize = humanize,
                .targetWpm = wpm,
                .target = field.element(),
                .stopFlag = [this] { return stop; },
                .pauseFlag = [this] { return pause; },
                .onProgress =
                    [this](int done, int total) {
                        progress.append({done, total});
                        if (onKey)
                            onKey(done);
                    },
                .onPhase = [this](engine::RunPhase p) { phases.append(engine::phaseName(p)); },
                .onDebug = [this](const QString &line) { debug.append(line); }};
    }

    // Runs to the end on the virtual clock.
    void run(engine::TypingRun &typingRun) { runTask(clock, typingRun.run()); }

    int keysOf(platform::Key key) { return sim.log().count(key); }
};

// The harness with a seeded engine and the run under test.
struct EngineRunHarness : RunHarness {
    SeededRandom random;
    engine::TypingEngine engine{sim, clock, random};
    std::unique_ptr<engine::TypingRun> current;

    explicit EngineRunHarness(quint64 seed = 11) : random(seed) {}
    engine::TypingRun &start(engine::RunOptions options)
    {
        current = std::make_unique<engine::TypingRun>(engine, std::move(options));
        return *current;
    }
    engine::TypingRun &runText(const QString &text, bool humanize, int wpm = 60)
    {
        engine::TypingRun &r = start(args(text, humanize, wpm));
        run(r);
        return r;
    }
};

// The same as a test fixture.
struct EngineRun : ::testing::Test, EngineRunHarness {
    explicit EngineRun(quint64 seed = 11) : EngineRunHarness(seed) {}
};

} // namespace qv::test
