#include "DashboardTestSupport.h"

#include "dashboard/AccountCard.h"
#include "dashboard/HoverCaptureView.h"
#include "dashboard/ProfileIslandState.h"
#include "dashboard/ProfileMenu.h"
#include "dashboard/SettingsWindowView.h"
#include "dashboard/SmartnessCard.h"
#include "dashboard/WriterWorkspace.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"
#include "theme/QVTextEditor.h"

using namespace qv;
using namespace qv::dashboard;

// Pictures of the pages to look at; what they show is proven elsewhere.
namespace {
class ScreenshotTest : public test::DashboardFixture {
protected:
    void save(const QString &name, QWidget *what = nullptr)
    {
        settle(16);
        (what ? what : view.get())->grab().save(screenshotDir() + "/" + name + ".png");
    }
};
} // namespace

TEST_F(ScreenshotTest, SavesThePickerWelcomeListsAndProjectPage)
{
    makeView({1180, 860});
    settle(6000);
    save("dashboard-picker");

    view->handleModeSwitch(DashboardMode::writer, true);
    settle(2000);
    save("dashboard-welcome");
    settle(1400);
    settle(6000);
    save("dashboard-writer-empty");

    Project a = test::makeProject("College application essay", 30, "12", "medium", true);
    a.text = "When I was twelve, I built a small weather station on our balcony. It never worked quite right, "
             "but it taught me to ask better questions.\n\nThis essay is about those questions.";
    ASSERT_TRUE(app->saveProject(a));
    ASSERT_TRUE(app->saveProject(test::makeProject("History notes on the industrial revolution", 20, "11", "light")));
    ASSERT_TRUE(app->saveProject(test::makeProject("Lab report: titration", 10, "10", "heavy")));
    settle();
    save("dashboard-writer-list");

    view->workspace()->writer()->openProject(a.id);
    settle();
    save("dashboard-detail");
}

TEST_F(ScreenshotTest, SavesTheOpenMenuAndTheSettingsWindow)
{
    makeSignedInApp("ann.lee@example.test");
    app->updateProfileName("Ann Lee");
    makeView({1180, 860});
    enterWriter();
    settle(6000);
    QTest::mouseMove(view->windowHandle(), view->profile().hoverArea()->geometry().center());
    view->profile().state().setShowProfileMenu(true);
    settle(400);
    save("dashboard-profile-menu");

    click(view->profile().menu()->settingsButton());
    settle();
    ASSERT_NE(view->settingsWindow(), nullptr);
    auto &settings = *qobject_cast<SettingsWindowView *>(view->settingsWindow()->content());
    AccountCard &account = *settings.accountCard();
    settings.smartnessCard()->sampleEditor()->setPlainText(
        "Rivers shape the towns that grow beside them. In this essay I argue that the river is the town's memory.");
    click(account.formButton());
    settle(300);
    account.nameField()->clearFocus();
    save("settings-window", view->settingsWindow());
}
