#pragma once

// A text box of another application on the simulated desktop, an engine
// driving it, and recorders for what the repairs report.

#include "engine/EndOfRun.h"
#include "engine/TypingEngine.h"

#include "TestPrinters.h"

#include "core/Random.h"
#include "core/VirtualScheduler.h"
#include "platform/sim/SimDesktop.h"
#include "support/CoroTest.h"

#include <gtest/gtest.h>

namespace qv::test {

struct RepairFixture : ::testing::Test {
    VirtualScheduler clock;
    sim::SimDesktop sim{clock};
    SeededRandom random{11};
    engine::TypingEngine engine{sim, clock, random};
    sim::SimApp &editor = sim.addApp("Editor");
    sim::SimElement &window = editor.addWindow({0, 0, 800, 600});
    sim::SimElement &field = window.addTextArea({20, 40, 760, 400});
    sim::SimElement &button = window.addButton({20, 500, 100, 30}, "Send");
    sim::SimApp &other = sim.addApp("Other");
    sim::SimElement &otherField = other.addWindow({0, 0, 400, 300}).addTextArea({10, 10, 380, 280}, "elsewhere");

    QStringList lines;
    QStringList phases;
    bool stop = false;
    bool pause = false;
    // A stop that comes at a virtual time (ms), for sweeps.
    std::optional<double> stopAtMs;

    // The user's clipboard: two items with two types each.
    const QList<platform::TypedData> userClipboard = {
        {{"text/plain", QByteArray("user text")}, {"text/html", QByteArray("<b>user</b>\0!", 13)}},
        {{"image/png", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)}, {"text/uri-list", QByteArray("file:///a")}},
    };

    void SetUp() override
    {
        button.setFocusable(true);
        field.focus();
        editor.activate();
        engine.debugSink = [this](const QString &line) { lines << line; };
        sim.userSetPasteboardItems(userClipboard);
    }

    engine::StopFlag stopFlag()
    {
        return [this] { return stop || (stopAtMs && clock.nowMs() >= *stopAtMs); };
    }

    engine::EndReviewArgs reviewArgs(QString &buffer, const QString &intended, QList<engine::DeferredError> errors = {})
    {
        engine::EndReviewArgs a = wired<engine::EndReviewArgs>();
        a.buffer = &buffer;
        a.errors = std::move(errors);
        a.review = engine::ReviewLevel{4, 0, 0, 800};
        a.intendedText = intended;
        a.enforceExact = true;
        return a;
    }

    engine::SegmentArgs segmentArgs(std::optional<qint64> hint, const QString &target)
    {
        engine::SegmentArgs a = wired<engine::SegmentArgs>();
        a.insertionStartHint = hint;
        a.typedLen = target.size();
        a.targetText = target;
        return a;
    }

    // The flags, phases and target both repairs take.
    template <typename Args>
    Args wired()
    {
        Args a;
        a.stopFlag = stopFlag();
        a.pauseFlag = [this] { return pause; };
        a.onPhase = [this](engine::RunPhase p) { phases << engine::phaseName(p); };
        a.requiredPid = editor.pid();
        a.element = field.element();
        a.allowClipboardOps = true;
        return a;
    }

    bool linesContain(const QString &line) const { return lines.contains(line); }
    bool caretCollapsedAt(qint64 position) const { return field.selection() == platform::TextRange{position, 0}; }
    // Every key the repairs sent reached the field.
    bool allKeysInField()
    {
        for (const auto &k : sim.log().keys)
            if (k.target != field.element())
                return false;
        return true;
    }
};

} // namespace qv::test
