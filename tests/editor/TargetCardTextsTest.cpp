// The words of the target card, as the user reads them, in each of its states.
#include "PanelFixture.h"
#include "support/ShownTexts.h"

#include "editor/TargetOverlay.h"
#include "editor/TypingPanelView.h"
#include "theme/MotionSettings.h"
#include "theme/QVButton.h"
#include "theme/ThemeEnvironment.h"

#include <QTest>

using namespace qv;
using namespace qv::editor;
using namespace qv::test;

namespace {
struct TargetCardTexts : PanelFixture {
    MotionSettings motion{&sim.desktop()};
    ThemeEnvironment themeEnvironment{clock, motion};
};

const QString kSteps[] = {
    QStringLiteral("1"),
    QStringLiteral("Click the document/app you want to type in"),
    QStringLiteral("2"),
    QStringLiteral("Click inside the target text box"),
    QStringLiteral("3"),
    QStringLiteral("Wait for a blinking cursor, then let Quorvel run"),
    QStringLiteral("Waiting for a blinking cursor\u2026"),
    QStringLiteral("Tip: Password fields and some secure inputs can\u2019t be typed into."),
    QStringLiteral("Stop"),
    QStringLiteral("Got it"),
};
} // namespace

TEST_F(TargetCardTexts, EveryStateReadsAsWritten)
{
    const QString awaitingTitle = QStringLiteral("Select Target Text Box");
    const QString awaiting = QStringLiteral(
        "Click into the text box where you want Quorvel to type (outside this window). It will start automatically.");
    const QString lostTitle = QStringLiteral("Focus Lost");
    const QString lost = QStringLiteral("Click back into your document (outside Quorvel) and place the cursor in an "
                                        "editable text box. Typing will continue automatically.");
    const QString warning = QStringLiteral(
        "Input Monitoring permission is required for click detection. Enable it in System Settings.");

    auto v = std::make_unique<TypingPanelView>(*app, essay, countCloses());
    v->resize(640, 600);
    v->show();
    clock.advance(0);
    TargetOverlay *card = v->overlay();

    const struct {
        const char *state;
        std::function<void()> reach;
        QStringList shown;
        QStringList hidden;
    } cases[] = {
        {"awaiting",
         [&] { QTest::mouseClick(v->startButton(), Qt::LeftButton); },
         {awaitingTitle, awaiting},
         {lostTitle, lost, warning}},
        {"awaiting, no permission, a detection line and a target",
         [&] {
             app->setInputMonitoringReady(false);
             app->setDetectionDebug(QStringLiteral("Focus: text area"));
             app->setTypingTargetAppName(QStringLiteral("Editor"));
         },
         {awaitingTitle, warning, QStringLiteral("Target: Editor")},
         {lostTitle}},
        {"focus lost",
         [&] {
             app->setInputMonitoringReady(true);
             app->setDetectionDebug({});
             app->setTypingTargetAppName({});
             ASSERT_TRUE(clickIntoField());
             sim.clickInto(otherWindow);
             ASSERT_TRUE(runUntilPhase(engine::RunPhase::Paused));
         },
         {lostTitle, lost},
         {awaitingTitle, awaiting, warning}},
    };
    for (const auto &c : cases) {
        c.reach();
        clock.advance(300);
        ASSERT_TRUE(card->isVisible()) << c.state;
        QStringList expected = c.shown;
        for (const QString &t : kSteps)
            expected << t;
        EXPECT_EQ(missingTexts(card, expected), "") << c.state;
        const QSet<QString> shown = shownTexts(card);
        for (const QString &t : c.hidden)
            EXPECT_FALSE(shown.contains(t)) << c.state << ": " << t.toStdString();
    }
}
