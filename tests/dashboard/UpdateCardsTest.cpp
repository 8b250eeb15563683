#include "DashboardTestSupport.h"

#include "dashboard/OverlayHost.h"
#include "dashboard/ScrimLayer.h"
#include "dashboard/UpdatePromptCard.h"
#include "theme/QVButton.h"

#include <QLabel>

using namespace qv;
using namespace qv::dashboard;

namespace {
class UpdateCardsTest : public test::DashboardFixture {
protected:
    // The start-up check and the page's own check find nothing.
    void SetUp() override
    {
        fetcher->answers << std::nullopt << std::nullopt;
        makeView();
        settle(20);
    }
    // A check that finds `version` at `url`, asked by the user so it prompts.
    void findUpdate(const QString &version, const QString &url)
    {
        fetcher->answers = {test::updateFeed(version, url)};
        app->checkForUpdates(true);
        settle(20);
    }
    QStringList openedUrls() { return sim.log().callsNamed("openUrl"); }
};
} // namespace

TEST_F(UpdateCardsTest, BothCardsStackWithTheNoUpdateCardInFrontAndDownloadNowOpensTheAddress)
{
    findUpdate("2.0.0", "https://example.test/Quorvel-2.0.zip");
    ASSERT_TRUE(view->overlays().updateLayer()->isVisible());
    EXPECT_EQ(view->overlays().updateCard()->lineLabel()->text(), "Update available: 2.0.0");
    app->setShowNoUpdatePrompt(true);
    EXPECT_TRUE(view->overlays().noUpdateLayer()->isVisible());
    EXPECT_EQ(view->overlayHost()->layerAt(view->rect().center()), view->overlays().noUpdateLayer());

    click(view->overlays().noUpdateCard()->buttons()[0]); // "Return to Dashboard"
    EXPECT_FALSE(app->showNoUpdatePrompt());
    EXPECT_TRUE(app->showUpdatePrompt());
    // The card's own background keeps it; the dim around it closes it.
    click(view->overlays().updateCard());
    EXPECT_TRUE(app->showUpdatePrompt());
    click(view->overlays().updateLayer(), {4, 4});
    EXPECT_FALSE(app->showUpdatePrompt());
    EXPECT_TRUE(openedUrls().isEmpty());

    // "Download Now" closes the card, then opens the web address.
    settle(250);
    findUpdate("2.0.0", "https://example.test/Quorvel-2.0.zip");
    ASSERT_EQ(view->overlays().updateCard()->buttons().size(), 2);
    click(view->overlays().updateCard()->buttons()[1]); // "Download Now"
    EXPECT_FALSE(app->showUpdatePrompt());
    settle(250);
    EXPECT_FALSE(view->overlays().updateLayer()->isVisible());
    EXPECT_EQ(openedUrls(), QStringList{"https://example.test/Quorvel-2.0.zip"});
}

TEST_F(UpdateCardsTest, TheCardFadesAndGrowsInAndOutUnlessMotionIsReduced)
{
    auto *effect = qobject_cast<FadeScaleEffect *>(view->overlays().updateLayer()->graphicsEffect());
    ASSERT_NE(effect, nullptr);

    app->setShowUpdatePrompt(true);
    EXPECT_TRUE(view->overlays().updateLayer()->isVisible());
    EXPECT_DOUBLE_EQ(effect->opacity(), 0);
    EXPECT_DOUBLE_EQ(effect->scale(), 0.98);
    settle(100);
    EXPECT_NEAR(effect->scale(), 0.99, 0.001);
    settle(150);
    EXPECT_DOUBLE_EQ(effect->opacity(), 1);
    EXPECT_DOUBLE_EQ(effect->scale(), 1);

    // A leaving card takes no clicks and is hidden once faded out.
    app->setShowUpdatePrompt(false);
    EXPECT_TRUE(view->overlays().updateLayer()->isVisible());
    EXPECT_NE(view->overlayHost()->layerAt(view->rect().center()), view->overlays().updateLayer());
    runFade(effect);
    EXPECT_FALSE(view->overlays().updateLayer()->isVisible());

    app->setReduceMotionEnabled(true);
    app->setShowUpdatePrompt(true);
    EXPECT_DOUBLE_EQ(effect->opacity(), 1);
    EXPECT_DOUBLE_EQ(effect->scale(), 1);
    app->setShowUpdatePrompt(false);
    EXPECT_FALSE(view->overlays().updateLayer()->isVisible());
}
