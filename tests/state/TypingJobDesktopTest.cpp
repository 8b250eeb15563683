// A whole typing job on the real desktop session: armed, started by a
// synthetic click into a GTK 3 text view, paused by a click into another
// program, resumed by a click back, and ended with the text in the view.

#include "e2e/TargetApp.h"

#include "core/QtScheduler.h"
#include "core/Random.h"
#include "engine/TypingEngine.h"
#include "platform/linux/LinuxPlatform.h"
#include "state/Preferences.h"
#include "state/TypingJob.h"
#include "support/RunPhasePrinter.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

namespace qv::e2e {
namespace {

using engine::RunPhase;

const QString kText = QStringLiteral("The quick brown fox jumps over the lazy dog again.");

void click(QPoint at)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(at.x()),
                                              QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
    bool done = false;
    QObject::connect(&xdotool, &QProcess::finished, [&] { done = true; });
    waitUntil([&] { return done; }, 5000);
}

class TypingJobDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs the desktop session: scripts/desktop-session run -- ctest -L e2e";
        platform = std::make_unique<linuxdesktop::LinuxPlatform>(scheduler);
        engine = std::make_shared<engine::TypingEngine>(*platform, scheduler, random);
        state::TypingJob::Services s;
        s.scheduler = &scheduler;
        s.preferences = &prefs;
        s.workspace = &platform->workspace();
        s.permissions = &platform->permissions();
        s.accessibility = &platform->accessibility();
        s.input = &platform->input();
        s.desktop = &platform->desktop();
        s.engine = engine;
        s.accessibilityReady = [this] { return platform->permissions().accessibilityReady(); };
        s.inputMonitoringReady = [this] { return platform->permissions().inputSynthesisReady(); };
        job = std::make_unique<state::TypingJob>(std::move(s));
    }

    void TearDown() override
    {
        if (job)
            job->stopTyping();
        job.reset();
        pump(300); // let a stopped run return before the engine goes
    }

    int typedInView(TargetApp &gtk)
    {
        const auto text = gtk.dump(QStringLiteral("view"));
        return text ? int(text->size()) : -1;
    }

    QtScheduler scheduler;
    SeededRandom random{3};
    state::Preferences prefs;
    std::unique_ptr<linuxdesktop::LinuxPlatform> platform;
    std::shared_ptr<engine::TypingEngine> engine;
    std::unique_ptr<state::TypingJob> job;
};

TEST_F(TypingJobDesktop, ClickToStartClickAwayToPauseClickBackToResume)
{
    TargetApp gtk(TargetApp::Kind::Gtk);
    TargetApp qt(TargetApp::Kind::Qt);
    QString why;
    ASSERT_TRUE(gtk.start(&why)) << why.toStdString();
    ASSERT_TRUE(qt.start(&why)) << why.toStdString();
    ASSERT_TRUE(gtk.set(QStringLiteral("view"), QString()));
    ASSERT_TRUE(qt.set(QStringLiteral("view"), QStringLiteral("untouched")));
    const QRect view = gtk.geometry(QStringLiteral("view"));
    const QRect entry = qt.geometry(QStringLiteral("entry"));
    ASSERT_FALSE(view.isEmpty());
    ASSERT_FALSE(entry.isEmpty());

    Project project;
    project.id = QUuid::createUuid();
    project.text = kText;
    project.wpm = 200;
    project.grade = QStringLiteral("12");
    project.review = QStringLiteral("light");
    job->prepareTyping(project);
    ASSERT_EQ(job->phase(), RunPhase::Awaiting) << job->statusText().toStdString();

    click(view.center());
    ASSERT_TRUE(waitUntil([&] { return job->phase() == RunPhase::Typing; }, 5000))
        << job->detectionDebug().toStdString();
    EXPECT_EQ(job->typingTargetPid(), gtk.pid());
    ASSERT_TRUE(waitUntil([&] { return typedInView(gtk) >= 6; }, 15000));

    // The button below the other program's entry: not the target's application.
    click(QPoint(entry.center().x(), entry.bottom() + 20));
    ASSERT_TRUE(waitUntil([&] { return job->phase() == RunPhase::Paused; }, 3000));
    EXPECT_TRUE(job->isPaused());
    pump(400); // a key already on its way may still land
    const int pausedAt = typedInView(gtk);
    pump(1500);
    EXPECT_EQ(typedInView(gtk), pausedAt) << "nothing is typed while paused";

    click(view.center());
    ASSERT_TRUE(waitUntil([&] { return job->phase() == RunPhase::Typing; }, 5000))
        << job->detectionDebug().toStdString();
    EXPECT_FALSE(job->isPaused());
    ASSERT_TRUE(waitUntil([&] { return !job->isTyping(); }, 60000));
    EXPECT_EQ(job->phase(), RunPhase::Done);
    EXPECT_EQ(gtk.dump(QStringLiteral("view")), kText);
    EXPECT_EQ(qt.dump(QStringLiteral("view")), QStringLiteral("untouched"));
}

} // namespace
} // namespace qv::e2e
