#pragma once

// Whole typing runs of the engine on the real desktop: the real Linux
// backend and clock, with the typist's long pauses shortened
// (BriskScheduler) so every run takes seconds. Each run's trace of keys,
// accessibility calls and diagnostic lines is printed when a test fails.
//
// QUORVEL_E2E_PACE=F divides the pauses by F instead (1: the true pace);
// QUORVEL_E2E_VERBOSE=1 prints every run's trace, not only a failing one's;
// QUORVEL_E2E_LIVE=1 prints its phases and diagnostic lines as they come.
#include "BriskScheduler.h"
#include "DesktopFixture.h"
#include "TracingPlatform.h"

#include "core/Random.h"
#include "core/Text.h"
#include "engine/TypingEngine.h"

#include <QElapsedTimer>
#include <QTimer>

#include <iostream>

namespace qv::e2e {

using engine::TypingEngine;
using platform::Attribute;
using platform::Element;

inline QString phasesText(const QStringList &phases) { return phases.join(QLatin1Char(' ')); }

// What the test sees of one run.
struct RunResult {
    bool finished = false;
    QStringList phases;
    QStringList debug;
    // The diagnostic lines among a timed trace of keys and accessibility
    // calls, printed when a test fails.
    QStringList log;
    int lastDone = -1;
    int total = -1;
    QString intended;
    TypingEngine::LeftOut leftOut;
    qint64 wallMs = 0;
    int refusedReads = 0;
    // The review's share of the run: from the first "editing" phase to the
    // end (absent phase: zero), and the keys sent in it.
    qint64 typingMs = 0;
    qint64 reviewMs = 0;
    int reviewKeys = 0;

    bool debugHas(const QString &prefix) const
    {
        for (const QString &line : debug)
            if (line.startsWith(prefix))
                return true;
        return false;
    }
};

struct RunOptions {
    QString text = {};
    bool humanize = false;
    QString grade = QStringLiteral("9");
    QString review = QStringLiteral("light");
    int wpm = 160;
    Element target = {};
    std::uint64_t seed = 1;
    // An application whose text accessibility cannot read.
    qint64 unreadablePid = 0;
    // Called after the engine's own callbacks: they run inside the run, so
    // whatever they do happens between two of its steps.
    std::function<void(int done)> onProgress = {};
    std::function<void(const QString &phase)> onPhase = {};
    // How long the run may take before it is stopped.
    int limitMs = 60000;
};

class EngineRunTest : public DesktopFixture {
protected:
    void SetUp() override
    {
        DesktopFixture::SetUp();
        if (IsSkipped())
            return;
        const double factor = qEnvironmentVariableIsSet("QUORVEL_E2E_PACE")
                                  ? qEnvironmentVariable("QUORVEL_E2E_PACE").toDouble()
                                  : 20.0;
        brisk = std::make_unique<BriskScheduler>(scheduler, factor, keyCapMs);
    }

    void TearDown() override
    {
        if (HasFailure() || qEnvironmentVariableIsSet("QUORVEL_E2E_VERBOSE")) {
            std::cout << "--- the last run (ms: keys and accessibility calls; indented: diagnostic lines):\n";
            // A long run's keys would drown its diagnostic lines: of those
            // only the last ones are printed.
            const qsizetype keysFrom = last.log.size() - kTracedKeys;
            for (qsizetype i = 0; i < last.log.size(); ++i)
                if (i >= keysFrom || last.log[i].startsWith(QLatin1String("   ")))
                    std::cout << "  " << last.log[i].toStdString() << "\n";
            std::cout << "--- phases: " << phasesText(last.phases).toStdString() << "\n";
        }
    }

    // Brings the target to the front and focuses one of its fields (its
    // text view unless told); the element the way the application state
    // records a clicked target, once the desktop reports it with `role`.
    Element focusView(TargetApp &target, const QString &which = QStringLiteral("view"),
                      const QString &role = platform::Roles::TextArea)
    {
        if (!bringToFront(target)) {
            ADD_FAILURE() << kindName(target.kind()) << " target never came to the front";
            return {};
        }
        EXPECT_EQ(target.command(QStringLiteral("focus ") + which), QStringLiteral("ok"));
        Element found;
        waitUntil(
            [&] {
                found = ax().systemFocusedElement();
                return found && found.pid() == target.pid() && ax().read(found, Attribute::Role) == QVariant(role);
            },
            kSettleMs);
        EXPECT_TRUE(found) << "no focused " << which.toStdString() << " in the " << kindName(target.kind())
                           << " target within " << seconds(kSettleMs).toStdString();
        return found;
    }

    // The target's view ends with exactly `expected`, byte for byte.
    static void expectViewHolds(TargetApp &target, const QString &expected)
    {
        const std::optional<QString> dump = settledDump(target, QStringLiteral("view"), expected);
        ASSERT_TRUE(dump.has_value());
        EXPECT_EQ(dump->toUtf8().toStdString(), expected.toUtf8().toStdString());
    }

    // One whole run on the real clock. A run that does not end in time is
    // stopped and waited for, so no coroutine outlives its engine.
    RunResult type(const RunOptions &options)
    {
        SeededRandom random(options.seed);
        last = RunResult();
        RunResult &r = last;
        TracingPlatform traced(*platform, scheduler, r.log, options.unreadablePid);
        TypingEngine engine(traced, *brisk, random);
        bool stop = false;
        bool done = false;
        auto onProgress = [&](int typed, int total) {
            r.lastDone = typed;
            r.total = total;
            if (options.onProgress)
                options.onProgress(typed);
        };
        const bool live = qEnvironmentVariableIsSet("QUORVEL_E2E_LIVE");
        QElapsedTimer wall;
        int keysBeforeReview = -1;
        auto onPhase = [&](engine::RunPhase phase) {
            if (phase == engine::RunPhase::Editing && keysBeforeReview < 0) {
                keysBeforeReview = traced.keyEvents();
                r.typingMs = wall.elapsed();
            }
            r.phases << engine::phaseName(phase);
            if (live)
                std::cout << "phase: " << r.phases.last().toStdString() << std::endl;
            if (options.onPhase)
                options.onPhase(engine::phaseName(phase));
        };
        auto onDebug = [&](const QString &line) {
            r.debug << line;
            r.log << QStringLiteral("   ") + line;
            if (live)
                std::cout << "   " << line.toStdString() << std::endl;
        };
        auto job = [&]() -> QCoro::Task<> {
            // Named first: a braced temporary inside co_await is destroyed
            // twice by some compilers.
            qv::engine::RunOptions run{.text = options.text,
                                       .grade = options.grade,
                                       .review = options.review,
                                       .humanize = options.humanize,
                                       .targetWpm = options.wpm,
                                       .target = options.target,
                                       .stopFlag = [&] { return stop; },
                                       .onProgress = onProgress,
                                       .onPhase = onPhase,
                                       .onDebug = onDebug};
            co_await engine.typeText(std::move(run));
            done = true;
        };
        wall.start();
        auto running = job();
        r.finished = waitUntil([&] { return done; }, options.limitMs);
        if (!r.finished) {
            stop = true;
            EXPECT_TRUE(waitUntil([&] { return done; }, 20000)) << "the run did not end after a stop";
        }
        r.wallMs = wall.elapsed();
        if (keysBeforeReview >= 0) {
            r.reviewMs = r.wallMs - r.typingMs;
            r.reviewKeys = traced.keyEvents() - keysBeforeReview;
        } else {
            r.typingMs = r.wallMs;
        }
        r.intended = engine.lastIntendedText();
        r.leftOut = engine.lastLeftOut();
        r.refusedReads = traced.refusedReads();
        std::cout << "run: " << r.wallMs << " ms (review " << r.reviewMs << " ms, " << r.reviewKeys << " keys), "
                  << r.debug.size() << " diagnostic lines\n";
        return r;
    }

    // The phases of a run that went through without interruption.
    static void expectPlainPhases(const RunResult &r)
    {
        EXPECT_EQ(r.phases, (QStringList{QStringLiteral("typing"), QStringLiteral("editing"), QStringLiteral("done")}))
            << phasesText(r.phases).toStdString();
    }

    static constexpr qsizetype kTracedKeys = 600;
    // The longest a short wait (a key delay) takes.
    double keyCapMs = 50;

    std::unique_ptr<BriskScheduler> brisk;
    RunResult last;
};

} // namespace qv::e2e
