#include "DashboardTestSupport.h"

#include "dashboard/ProjectRow.h"
#include "dashboard/WriterWorkspace.h"

#include <QScrollArea>

using namespace qv;
using namespace qv::dashboard;

namespace {
class ScreenshotTest : public test::DashboardFixture {
protected:
    void save(const QString &name)
    {
        settle(16);
        const QString path = screenshotDir() + "/dashboard-" + name + ".png";
        EXPECT_TRUE(view->grab().save(path)) << path.toStdString();
    }
};
} // namespace

TEST_F(ScreenshotTest, SavesThePickerWelcomeListsAndProjectPage)
{
    makeView({1180, 860});
    settle(6000);
    save("picker");

    view->handleModeSwitch(DashboardMode::writer, true);
    settle(2000);
    save("welcome");
    settle(1400);
    settle(6000);
    save("writer-empty");

    Project a = test::makeProject("College application essay", 30, "12", "medium", true);
    a.text = "When I was twelve, I built a small weather station on our balcony. It never worked quite right, "
             "but it taught me to ask better questions.\n\nThis essay is about those questions.";
    EXPECT_TRUE(app->saveProject(a));
    EXPECT_TRUE(app->saveProject(test::makeProject("History notes on the industrial revolution", 20, "11", "light")));
    EXPECT_TRUE(app->saveProject(test::makeProject("Lab report: titration", 10, "10", "heavy")));
    settle();
    save("writer-list");

    view->workspace()->writer()->openProject(a.id);
    settle();
    save("detail");
}
