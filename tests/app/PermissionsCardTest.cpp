// The permissions card: rows, refreshes, Skip and Restart.
#include "ShellTestSupport.h"

#include "app/AppRestarter.h"
#include "app/PermissionRow.h"
#include "app/PermissionsGateView.h"
#include "state/PreferencesFile.h"
#include "theme/QVButton.h"
#include "theme/Theme.h"

#include <QFile>
#include <QLabel>

using namespace qv;
using namespace qv::app;
using namespace qv::test;

namespace {

class PermissionsCardTest : public ShellTest {
protected:
    int dismissed = 0;
    int restarts = 0;
    bool restartSucceeds = true;
    std::unique_ptr<QWidget> host;
    PermissionsGateView *card = nullptr;

    void permissions(bool accessibility, bool input)
    {
        sim.simPermissions().setAccessibilityReady(accessibility);
        sim.simPermissions().setInputSynthesisReady(input);
    }
    // A card with a counting restart, shown on a host.
    void showCard(QString accessibilityGuide = "https://quorvel.example/quorvel-site/accessibility.html",
                  std::function<void()> dismiss = {})
    {
        if (!quorvel)
            start();
        host = std::make_unique<QWidget>();
        host->resize(700, 500);
        if (!dismiss)
            dismiss = [this] { ++dismissed; };
        card = new PermissionsGateView(PermissionsGateView::Services{appState(), sim.permissions(), sim.workspace(),
                                                                     scheduler,
                                                                     [this] { return ++restarts, restartSucceeds; }},
                                       dismiss, accessibilityGuide,
                                       "https://quorvel.example/quorvel-site/accessibility.html#input-monitoring",
                                       host.get());
        card->resize(card->sizeHint());
        host->show();
    }
    static void expectRow(PermissionRow *row, const char *status, const char *symbol, const char *action,
                          QVButtonVariant variant)
    {
        EXPECT_EQ(row->statusText(), status);
        EXPECT_EQ(row->symbolName(), symbol);
        EXPECT_EQ(row->actionButton()->text(), action);
        EXPECT_EQ(row->actionButton()->variant(), variant);
    }
    QStringList calls()
    {
        QStringList out;
        for (const auto &c : sim.log().calls)
            out << c.what;
        return out;
    }
};

} // namespace

TEST_F(PermissionsCardTest, RowsShowWhatIsMissingAndWhatIsGrantedInTheScreenshot)
{
    permissions(true, false);
    showCard();
    EXPECT_TRUE(appState().accessibilityReady());
    EXPECT_FALSE(appState().inputMonitoringReady());

    expectRow(card->accessibilityRow(), "Enabled", "checkmark", "Enabled", QVButtonVariant::tertiary);
    EXPECT_FALSE(card->accessibilityRow()->actionButton()->isEnabled());
    PermissionRow *i = card->inputRow();
    expectRow(i, "Required", "exclamationmark", "Open Settings", QVButtonVariant::primary);
    EXPECT_TRUE(i->actionButton()->isEnabled());
    EXPECT_EQ(card->restartButton()->variant(), QVButtonVariant::secondary) << "primary only when all are ready";

    host->setAutoFillBackground(true);
    QPalette pal = host->palette();
    pal.setColor(QPalette::Window, Theme::bg());
    host->setPalette(pal);
    card->move(40, 40);
    host->resize(card->width() + 80, card->height() + 80);
    grabImage(*host).save(screenshotDir() + "/shell-permissions-card.png");
}

TEST_F(PermissionsCardTest, TheFlagsAreReadAgainEvery1point2SecondsWhileShown)
{
    permissions(false, false);
    showCard();
    permissions(true, true);
    scheduler.advance(1199);
    EXPECT_FALSE(appState().accessibilityReady());
    scheduler.advance(1);
    EXPECT_TRUE(appState().accessibilityReady());
    EXPECT_TRUE(appState().inputMonitoringReady());
    EXPECT_EQ(card->inputRow()->statusText(), "Enabled");
    EXPECT_EQ(card->restartButton()->variant(), QVButtonVariant::primary);

    // A hidden card reads nothing; the card's end stops the timer.
    host->hide();
    permissions(false, false);
    scheduler.advance(2400);
    EXPECT_TRUE(appState().accessibilityReady());
    host->show();
    scheduler.advance(1200);
    EXPECT_FALSE(appState().accessibilityReady());
}

TEST_F(PermissionsCardTest, OpenSettingsAndTutorialOpenWhatTheyShould)
{
    permissions(false, false);
    showCard("not an address");
    sim.log().clear();
    permissions(true, false);
    card->accessibilityRow()->actionButton()->click();
    EXPECT_EQ(calls(), (QStringList{"requestAccessibility", "openAccessibilitySettings"}));
    EXPECT_TRUE(appState().accessibilityReady()) << "refreshed right after the action";

    sim.log().clear();
    card->inputRow()->actionButton()->click();
    EXPECT_EQ(calls(), (QStringList{"requestInputSynthesis", "openInputSettings"}));

    // The tutorial opens its address only when it parses.
    card->accessibilityRow()->tutorialButton()->click();
    EXPECT_TRUE(sim.log().callsNamed("openUrl").isEmpty());
    card->inputRow()->tutorialButton()->click();
    EXPECT_EQ(sim.log().callsNamed("openUrl"),
              QStringList{"https://quorvel.example/quorvel-site/accessibility.html#input-monitoring"});

    EXPECT_FALSE(PermissionRow::isOpenableAddress(""));
    EXPECT_FALSE(PermissionRow::isOpenableAddress("accessibility.html"));
    EXPECT_TRUE(PermissionRow::isOpenableAddress("http://127.0.0.1:54321/quorvel-site/accessibility.html"));
}

TEST_F(PermissionsCardTest, SkipAndRestartDismissOnlyWhenTheyShould)
{
    struct Case {
        const char *press;
        bool accessibility, input;
        bool skipsWelcome;
        int dismissed, restarts;
    };
    // Skip sets both flags and never restarts; Restart re-reads the flags
    // (granted since the last refresh) and dismisses only with all granted.
    for (const Case c : {Case{"skip", false, true, true, 1, 0}, Case{"restart", true, true, true, 1, 1},
                         Case{"restart", true, false, false, 0, 1}}) {
        SCOPED_TRACE(std::string(c.press) + (c.input ? " all granted" : " input missing"));
        host.reset();
        quorvel.reset();
        dismissed = restarts = 0;
        permissions(false, false);
        showCard();
        permissions(c.accessibility, c.input);
        (std::string(c.press) == "skip" ? card->skipButton() : card->restartButton())->click();
        EXPECT_EQ(appState().skipInitialWelcome(), c.skipsWelcome);
        EXPECT_EQ(appState().accessibilitySkipped(), std::string(c.press) == "skip");
        EXPECT_EQ(dismissed, c.dismissed);
        EXPECT_EQ(restarts, c.restarts);
    }
}

TEST_F(PermissionsCardTest, DismissingMayDeleteTheCardBeforeTheRestart)
{
    permissions(true, true);
    // The overlay removes the card at once.
    showCard("", [this] { delete std::exchange(card, nullptr); });
    card->restartButton()->click();
    EXPECT_EQ(card, nullptr);
    EXPECT_EQ(restarts, 1);
}
