// The typing panel's widgets on the simulated desktop and the virtual clock.

#include "PanelFixture.h"
#include "theme/ThemeTestSupport.h" // screenshotDir

#include "editor/DetailPill.h"
#include "editor/GlyphButton.h"
#include "editor/LineClampLabel.h"
#include "editor/TargetOverlay.h"
#include "editor/TypingPanelModel.h"
#include "editor/TypingPanelView.h"
#include "editor/TypingPanelWindow.h"
#include "editor/TypingProgressBar.h"
#include "state/PreferenceKeys.h"
#include "theme/AnimatedValue.h"
#include "theme/MotionSettings.h"
#include "theme/NoticeBanner.h"
#include "theme/QVButton.h"
#include "theme/ThemeEnvironment.h"

#include <QApplication>
#include <QGraphicsEffect>
#include <QLabel>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTest>

using namespace qv;
using namespace qv::editor;
using namespace qv::test;

namespace {

struct PanelView : PanelFixture {
    MotionSettings motion{&sim.desktop()};
    ThemeEnvironment themeEnvironment{clock, motion};

    std::unique_ptr<TypingPanelView> view(const Project &project)
    {
        auto v = std::make_unique<TypingPanelView>(*app, project, countCloses());
        v->resize(640, 600);
        v->show();
        clock.advance(0);
        return v;
    }

    static void click(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }

    // A picture to look at, not a check.
    void shoot(QWidget *w, const char *name)
    {
        clock.advance(300); // fades settle
        w->grab().save(screenshotDir() + QStringLiteral("/typing-panel-%1.png").arg(name));
    }
};

} // namespace

TEST_F(PanelView, IdleShowsTheProjectAndItsSummary)
{
    Project p = essay;
    p.title = QStringLiteral(
        "A rather long essay title that goes on and on about foxes and dogs and the meadow "
        "where they meet every single morning before the sun is up, and then some more about the river, "
        "the hills and the long road home");
    p.humanize = true;
    p.review = QStringLiteral("heavy");
    p.wpm = 77;
    auto v = view(p);
    const QStringList texts{v->statusPill()->text(), v->percentLabel()->text(), v->progressHeaderLabel()->text(),
                            v->modeValue()->text(),  v->reviewValue()->text(),  v->speedValue()->text(),
                            v->etaValue()->text(),   v->startButton()->text()};
    EXPECT_EQ(texts, (QStringList{"Ready", "0% complete", QStringLiteral("0% \u2022 \u2248 1 min left"), "Humanize",
                                  "Heavy", "77 WPM", "1 min", "Start Typing"}));
    EXPECT_TRUE(v->startButton()->isVisible());
    EXPECT_FALSE(v->exitButton()->isVisible());
    EXPECT_FALSE(v->pauseButton()->isVisible());
    EXPECT_FALSE(v->overlay()->isVisible());
    EXPECT_EQ(v->glowOpacity(), 0);
    // The title wraps to two lines at most.
    const QStringList lines = v->titleLabel()->visibleLines();
    EXPECT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("\u2026"))) << lines.join('|').toStdString();
    shoot(v.get(), "idle");
}

TEST_F(PanelView, AwaitingLaysTheTargetCardOverThePanel)
{
    auto v = view(essay);
    click(v->startButton());
    EXPECT_EQ(app->phase(), RunPhase::Awaiting);
    EXPECT_TRUE(v->pauseButton()->isVisible());
    EXPECT_EQ(v->pauseButton()->text(), "Pause");
    EXPECT_FALSE(v->pauseButton()->isEnabled());
    EXPECT_TRUE(v->stopButton()->isEnabled());

    TargetOverlay *card = v->overlay();
    // Which of the warning, debug and target rows show.
    auto rows = [card] {
        return QList<bool>{card->warningRow()->isVisible(), card->debugLabel()->isVisible(),
                           card->targetRow()->isVisible()};
    };
    EXPECT_TRUE(card->isVisible());
    EXPECT_EQ(rows(), (QList<bool>{false, false, false}));
    EXPECT_TRUE(card->geometry().contains(v->stopButton()->mapTo(v.get(), v->stopButton()->rect().center())));
    EXPECT_LE(card->card()->width(), TargetOverlay::kCardMaxWidth);

    // The glow pulses between its two rows.
    EXPECT_TRUE(v->isPulsing());
    double low = 1, high = 0;
    for (int i = 0; i < 100; ++i) {
        clock.advance(25);
        low = std::min(low, v->glowOpacity());
        high = std::max(high, v->glowOpacity());
    }
    EXPECT_NEAR(low, 0.25, 0.02);
    EXPECT_NEAR(high, 0.85, 0.02);

    // Live rows as the state publishes them.
    app->setInputMonitoringReady(false);
    app->setDetectionDebug("Focus: text area \"Draft\" editable=1 value=yes");
    app->setTypingTargetAppName("Editor");
    EXPECT_EQ(rows(), (QList<bool>{true, true, true}));
    EXPECT_LT(card->warningRow()->y(), card->stepsBlock()->y());
    EXPECT_GT(card->warningRow()->y(), card->explanationLabel()->y());
    EXPECT_LE(card->debugLabel()->visibleLines().size(), 3);
    EXPECT_EQ(card->targetLabel()->text(), "Target: Editor");
    shoot(v.get(), "awaiting");

    app->setDetectionDebug({});
    app->setTypingTargetAppName({});
    app->setInputMonitoringReady(true);
    EXPECT_EQ(rows(), (QList<bool>{false, false, false}));

    click(card->gotItButton());
    clock.advance(300);
    EXPECT_FALSE(card->isVisible());
}

TEST_F(PanelView, StopAsksFirstAndEscapeCancels)
{
    auto v = view(essay);
    click(v->startButton());
    click(v->overlay()->stopButton());
    QMessageBox *alert = v->stopAlert();
    ASSERT_TRUE(alert);
    EXPECT_TRUE(app->isTyping());

    QTest::keyClick(alert, Qt::Key_Escape);
    clock.advance(0);
    EXPECT_FALSE(v->stopAlert());
    EXPECT_FALSE(v->model().showStopConfirm());
    EXPECT_TRUE(app->isTyping());
    EXPECT_EQ(closes, 0);

    ASSERT_TRUE(clickIntoField());
    click(v->stopButton());
    alert = v->stopAlert();
    ASSERT_TRUE(alert);
    QPushButton *stop = nullptr;
    for (QAbstractButton *b : alert->buttons())
        if (b->text() == "Stop")
            stop = qobject_cast<QPushButton *>(b);
    ASSERT_TRUE(stop);
    click(stop);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(app->phase(), RunPhase::Stopped);
}

TEST_F(PanelView, TypingShowsTheSweepingHighlightAndDoneOffersExit)
{
    auto v = view(essay);
    click(v->startButton());
    ASSERT_TRUE(clickIntoField());
    // The card fades out and then takes no room at all.
    EXPECT_TRUE(v->overlay()->testAttribute(Qt::WA_TransparentForMouseEvents));
    clock.advance(TypingPanelView::kPhaseFadeMs + 20);
    EXPECT_FALSE(v->overlay()->isVisible());
    EXPECT_TRUE(v->pauseButton()->isEnabled());
    EXPECT_TRUE(v->progressBar()->highlightVisible());
    EXPECT_EQ(v->glowOpacity(), 0);
    EXPECT_FALSE(v->isPulsing());
    const double a = v->progressBar()->highlightOffset();
    clock.advance(500);
    const double b = v->progressBar()->highlightOffset();
    EXPECT_NE(a, b);
    EXPECT_GE(b, -60);
    EXPECT_LE(b, 240);
    ASSERT_TRUE(runUntil([&] { return app->progress() >= 0.4; }));
    EXPECT_EQ(v->percentLabel()->text(), QString::number(int(app->progress() * 100)) + "% complete");
    shoot(v.get(), "typing");

    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(v->statusPill()->text(), "Done");
    EXPECT_FALSE(v->progressBar()->highlightVisible());
    EXPECT_TRUE(v->exitButton()->isVisible());
    EXPECT_FALSE(v->pauseButton()->isVisible());
    shoot(v.get(), "done");
    click(v->exitButton());
    EXPECT_EQ(closes, 1);
}

TEST_F(PanelView, ATextBoxThatDiffersIsNamedWithTheCountAndOffersExit)
{
    // The application turns every "e" into "3", the repairs' keys included.
    field.quirks().transform = [](const QString &, const QString &typed) {
        return typed == "e" ? QStringLiteral("3") : typed;
    };
    auto v = view(essay);
    EXPECT_TRUE(v->differenceLabel()->isHidden());
    click(v->startButton());
    ASSERT_TRUE(clickIntoField());
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(v->statusPill()->text(), "Text Box Differs");
    EXPECT_FALSE(v->differenceLabel()->isHidden());
    // Both "e" at least, and whatever the repairs' own keys made of it.
    ASSERT_GE(app->typingDifference().value_or(0), int(essay.text.count('e')));
    EXPECT_EQ(v->differenceLabel()->text(),
              QStringLiteral("The text box differs from your project by %1 characters. Check it before you go on.")
                  .arg(*app->typingDifference()));
    EXPECT_TRUE(v->exitButton()->isVisible());
    shoot(v.get(), "differs");
}

TEST_F(PanelView, ATextBoxThatCannotBeReadBackIsNotDoneAndSaysSo)
{
    field.quirks().valueUnreadable = true;
    field.quirks().copyCopiesNothing = true;
    auto v = view(essay);
    click(v->startButton());
    ASSERT_TRUE(clickIntoField());
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(v->statusPill()->text(), "Done, Not Checked");
    EXPECT_FALSE(v->differenceLabel()->isHidden());
    EXPECT_EQ(v->differenceLabel()->text(),
              QStringLiteral("This text box can\u2019t be read back, so what it holds was not compared with your "
                             "project. Check it before you go on."));
    EXPECT_TRUE(v->exitButton()->isVisible());
    shoot(v.get(), "unchecked");
}

TEST_F(PanelView, DoneSaysWhatTheTextBoxCouldNotTake)
{
    field.setMultiLine(false); // a one-line box: no line breaks, no tabs
    auto v = view(panelProject(QStringLiteral("List"), QStringLiteral("One\ttwo\nthree")));
    click(v->startButton());
    ASSERT_TRUE(clickIntoField());
    EXPECT_FALSE(v->runNoteLabel()->isVisible());
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(field.text(), "Onetwo three");
    EXPECT_EQ(v->statusPill()->text(), "Done");
    EXPECT_TRUE(v->runNoteLabel()->isVisible());
    EXPECT_EQ(v->runNoteLabel()->text(),
              "Left out 1 line break and 1 tab: the text box has one line. Line breaks were typed as spaces.");
    shoot(v.get(), "done-left-out");
}

TEST_F(PanelView, ReduceMotionHoldsEverythingStill)
{
    app->setReduceMotionEnabled(true);
    auto v = view(essay);
    click(v->startButton());
    EXPECT_FALSE(v->isPulsing());
    EXPECT_DOUBLE_EQ(v->glowOpacity(), 0.55);
    EXPECT_DOUBLE_EQ(v->shadowOpacity(), 0.12);
    // The card shows at once, without a fade.
    EXPECT_TRUE(v->overlay()->isVisible());
    EXPECT_FALSE(v->overlay()->graphicsEffect()->isEnabled());
    ASSERT_TRUE(clickIntoField());
    EXPECT_TRUE(v->progressBar()->highlightVisible());
    EXPECT_EQ(v->progressBar()->highlightOffset(), 240);
    clock.advance(700);
    EXPECT_EQ(v->progressBar()->highlightOffset(), 240);

    // Turned off mid-job: the sweep starts moving.
    app->setReduceMotionEnabled(false);
    const double a = v->progressBar()->highlightOffset();
    clock.advance(300);
    EXPECT_NE(a, v->progressBar()->highlightOffset());
}

TEST_F(PanelView, TheWindowsCloseGoesThroughThePanelOrClosesItsOwnWindowWithoutAnOpener)
{
    QPointer<TypingPanelWindow> window = new TypingPanelWindow(*app, essay, [&] {
        ++closes;
        window->closeFromOpener();
    });
    EXPECT_EQ(window->size(), TypingPanelWindow::kContentSize);
    EXPECT_EQ(window->minimumSize(), TypingPanelWindow::kMinimumSize);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    window->show();
    click(window->view()->startButton());
    ASSERT_TRUE(clickIntoField());
    ASSERT_TRUE(runUntil([&] { return app->resumeIndex(essay) >= 3; }));

    // As the window manager's close (Alt+F4) does.
    window->close();
    EXPECT_TRUE(window->isVisible());
    clock.advance(0);
    QApplication::processEvents();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(app->phase(), RunPhase::Stopped);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);

    // Without an opener the panel closes its own window.
    QPointer<TypingPanelWindow> own = new TypingPanelWindow(*app, essay, {});
    own->show();
    click(own->view()->closeButton());
    EXPECT_FALSE(own && own->isVisible());
}

namespace {

// What was repainted, in the panel's coordinates, and by which widgets.
struct Painted : QObject {
    QRegion region;
    QSet<QWidget *> widgets;
    int panelPaints = 0;
    QWidget *panel = nullptr;

    explicit Painted(QWidget *watched) : panel(watched)
    {
        panel->installEventFilter(this);
        for (QWidget *child : panel->findChildren<QWidget *>())
            child->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            auto *w = static_cast<QWidget *>(watched);
            region += static_cast<QPaintEvent *>(event)->region().translated(w->mapTo(panel, QPoint(0, 0)));
            widgets.insert(w);
            panelPaints += w == panel;
        }
        return false;
    }
    void clear()
    {
        region = {};
        widgets.clear();
        panelPaints = 0;
    }
};

} // namespace

// Idle means idle: once a run is over and its panel is gone, the run has
// left nothing to wake the application, and while a run waits the pulse
// repaints only the glow along the edge, never the rest of the panel.
TEST_F(PanelView, NothingStaysArmedAfterARunAndTheWaitingPulseRepaintsOnlyTheEdge)
{
    auto v = view(essay);
    const std::size_t armedBefore = clock.pendingCount();
    click(v->startButton());
    clock.advance(TypingPanelView::kPhaseFadeMs + 300); // the card has faded in
    ASSERT_TRUE(v->isPulsing());
    Painted painted(v.get());
    for (int i = 0; i < 40; ++i) {
        clock.advance(25);
        QApplication::processEvents();
    }
    EXPECT_FALSE(painted.region.isEmpty()) << "the pulse was not painted";
    EXPECT_EQ(painted.region.subtracted(v->glowBand()), QRegion()) << "repainted beyond the edge";
    EXPECT_FALSE(v->glowBand().contains(v->rect().center())) << "the edge is not the whole panel";
    // Only the panel and the dim over it lie in the band: no control or card
    // is asked to paint for the pulse.
    EXPECT_EQ(painted.widgets, (QSet<QWidget *>{v.get(), v->overlay()}));
    // Twenty-four frames a second, not sixty.
    painted.clear();
    for (int i = 0; i < 200; ++i) {
        clock.advance(5);
        QApplication::processEvents();
    }
    EXPECT_NEAR(painted.panelPaints, 24, 2);

    ASSERT_TRUE(clickIntoField());
    ASSERT_TRUE(runToEnd());
    click(v->exitButton());
    v->hide();
    clock.advance(1000); // fades and a keymap restore run out
    EXPECT_LE(clock.pendingCount(), armedBefore) << "the run left a timer armed";
}

// The panel keeps where typing stopped in the preferences: a write of them
// that fails is said on the panel, which floats above the dashboard.
TEST_F(PanelView, AResumePositionThatCannotBeWrittenIsSaidOnThePanel)
{
    auto v = view(essay);
    NoticeBanner *notice = v->preferencesNotice();
    const QString reason = QStringLiteral("Permission denied (/cfg/Quorvel/preferences.json)");
    ASSERT_TRUE(prefs.flush());
    prefs.setString(state::keys::profileName, QStringLiteral("Ann"));
    emit prefs.saveFailed(reason);
    EXPECT_FALSE(notice->isVisible());

    prefs.setIntDictionary(state::keys::resumeProgress, {{essay.id.toString(QUuid::WithoutBraces).toUpper(), 12}});
    emit prefs.saveFailed(reason);
    ASSERT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().startsWith(u"Could not save where typing stopped: Permission denied"))
        << notice->text().toStdString();
    EXPECT_TRUE(v->rect().contains(notice->geometry()));
}

// The band is where the pulse changes pixels: every pixel that differs
// between two moments of the pulse lies in it (or a part of the glow would
// stand still between repaints).
TEST_F(PanelView, TheGlowBandHoldsEveryPixelThePulseChanges)
{
    auto v = view(essay);
    click(v->startButton());
    clock.advance(TypingPanelView::kPhaseFadeMs + 300);
    v->overlay()->hide(); // the glow itself, without the dim over it
    const QImage first = v->grab().toImage();
    QRegion changed;
    double low = 1, high = 0;
    for (int i = 0; i < 12; ++i) {
        clock.advance(TypingPanelView::kPulseMs / 6);
        low = std::min(low, v->glowOpacity());
        high = std::max(high, v->glowOpacity());
        const QImage now = v->grab().toImage();
        for (int y = 0; y < now.height(); ++y)
            for (int x = 0; x < now.width(); ++x)
                if (now.pixel(x, y) != first.pixel(x, y))
                    changed += QRect(x, y, 1, 1);
    }
    ASSERT_GT(high - low, 0.5) << "the pulse did not swing";
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_EQ(changed.subtracted(v->glowBand()), QRegion()) << "the pulse changes pixels outside its band";
}

// A progress step repaints the bar where its fill ends and the labels whose
// text changed; a frame of the sweep repaints where the highlight moves. The
// cards, buttons and the rest of the panel are never asked to paint.
TEST_F(PanelView, WhileTypingOnlyTheProgressRepaints)
{
    const Project long_ = panelProject(QStringLiteral("Long"),
                                       QString(QStringLiteral("Every word here counts. ")).repeated(20));
    auto v = view(long_);
    click(v->startButton());
    ASSERT_TRUE(clickIntoField());
    clock.advance(TypingPanelView::kPhaseFadeMs + 300);
    QApplication::processEvents();
    TypingProgressBar *bar = v->progressBar();
    const QRect barRect(bar->mapTo(v.get(), QPoint(0, 0)), bar->size());
    // The rows of the two changing labels, as wide as the panel.
    const auto row = [&](QWidget *label) {
        return QRect(0, label->mapTo(v.get(), QPoint(0, 0)).y(), v->width(), label->height());
    };
    const QRegion allowed = QRegion(barRect) + row(v->percentLabel()) + row(v->progressHeaderLabel());
    Painted painted(v.get());
    const double startProgress = app->progress();
    int frames = 0;
    while (app->progress() < startProgress + 0.2 && frames < 3000) {
        clock.advance(AnimatedValue::kFrameMs);
        QApplication::processEvents();
        ++frames;
        // One frame of the bar: the highlight's stretch and, on a step, the
        // fill's end, far from the whole bar.
        QRegion barPart = painted.region & barRect;
        int area = 0;
        for (const QRect &r : barPart)
            area += r.width() * r.height();
        ASSERT_LT(area, barRect.width() * barRect.height() / 3) << "frame " << frames;
        EXPECT_EQ(painted.region.subtracted(allowed), QRegion()) << "frame " << frames;
        painted.clear();
    }
    EXPECT_GE(app->progress(), startProgress + 0.2) << "the run did not move on";
}
