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

#include <QScrollArea>
#include <QScrollBar>

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

TEST_F(ScreenshotTest, SavesTheDashboardProjectPageAndSettingsAtTheirDefaultAndSmallestSizes)
{
    makeSignedInApp("ann.lee@example.test");
    app->updateProfileName("Ann Lee");
    Project a = test::makeProject("College application essay on the weather station I built on our balcony", 30);
    a.text = QString("When I was twelve, I built a small weather station on our balcony. ").repeated(30);
    ASSERT_TRUE(app->saveProject(a));
    ASSERT_TRUE(app->saveProject(test::makeProject("Lab report: titration", 10, "10", "heavy")));
    makeView({1180, 760});
    enterWriter();
    settle(6000);
    const struct {
        const char *name;
        QSize size;
    } sizes[] = {{"default", {1180, 760}}, {"minimum", {980, 640}}};
    for (const auto &s : sizes) {
        view->resize(s.size);
        settle();
        save(QString("size-%1-dashboard").arg(s.name));
        view->workspace()->writer()->openProject(a.id);
        settle();
        save(QString("size-%1-project-page").arg(s.name));
        view->workspace()->writer()->closeProject();
        settle();
    }

    view->profile().state().setShowProfileMenu(true);
    click(view->profile().menu()->settingsButton());
    settle();
    auto &settings = *qobject_cast<SettingsWindowView *>(view->settingsWindow()->content());
    settings.smartnessCard()->sampleEditor()->setPlainText(
        "Rivers shape the towns that grow beside them.\nIn this essay I argue that the river is the town's memory.\n"
        "A third line.");
    const QSize settingsSizes[] = {SettingsWindowView::kWindowSize, SettingsWindowView::kMinimumWindowSize};
    for (const QSize size : settingsSizes) {
        view->settingsWindow()->resize(size);
        settle();
        save(QString("size-settings-%1x%2").arg(size.width()).arg(size.height()), view->settingsWindow());
        // Scrolled to the smartness and preferences cards.
        settings.scrollArea()->verticalScrollBar()->setValue(settings.smartnessCard()->y() - 10);
        settle();
        save(QString("size-settings-%1x%2-scrolled").arg(size.width()).arg(size.height()), view->settingsWindow());
        settings.scrollArea()->verticalScrollBar()->setValue(0);
    }
}
