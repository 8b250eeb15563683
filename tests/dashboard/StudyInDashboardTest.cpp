// The real study workspace inside the dashboard: at the smallest window its
// pages grow with their content inside the one scroll view, so no row or
// question is squeezed or cut by an inner viewport; and a page going away (a
// quit, a sign-out) while one of its inner pages is open touches nothing
// already deleted.
#include "DashboardTestSupport.h"

#include "core/Random.h"
#include "study/views/StudyLibraryPage.h"
#include "study/views/StudyQuizPage.h"
#include "study/views/StudyRootView.h"
#include "study/views/StudySetPage.h"
#include "study/views/StudySetRow.h"
#include "study/views/StudyTestQuestionCard.h"
#include "study/views/StudyTestView.h"
#include "study/views/StudyWorkspacePages.h"
#include "theme/QVButton.h"

using namespace qv;
using namespace qv::dashboard;
using namespace qv::study;

namespace {
class StudyInDashboardTest : public test::DashboardFixture {
protected:
    SeededRandom random{11};

    void SetUp() override
    {
        studyWorkspace = [this](state::AppState &a) -> QWidget * {
            return new StudyRootView(a, scheduler, clock, studyWorkspacePages(a, scheduler, clock, random));
        };
    }

    void openStudyAtTheSmallestWindow()
    {
        makeApp();
        for (int i = 0; i < 12; ++i)
            storeStudySet(QString("Set %1").arg(i), 6);
        makeView({980, 640});
        view->handleModeSwitch(DashboardMode::study, true);
        settle(3400);
        settle(1000);
    }

    StudyRootView *root() const { return qobject_cast<StudyRootView *>(view->workspace()->studyWorkspace()); }
    QWidget *page() const { return view->workspace()->scrollView()->widget(); }
};
} // namespace

TEST_F(StudyInDashboardTest, TheLibraryAndTheInlineTestGrowInsideTheOneScrollView)
{
    openStudyAtTheSmallestWindow();
    ASSERT_NE(root(), nullptr);
    const QList<StudySetRow *> rows = root()->libraryPage()->rows();
    ASSERT_EQ(rows.size(), 12);
    EXPECT_GT(page()->height(), view->workspace()->scrollView()->viewport()->height());
    expectStackedWhole(rows);

    // The set page's inline test: every question whole, the page scrolls.
    root()->setViewState(StudyViewState::detail(app->studyProjects().first()));
    settle(500);
    auto *setPage = qobject_cast<StudySetPage *>(root()->currentPage());
    ASSERT_NE(setPage, nullptr);
    setPage->setMode(StudyMode::test);
    settle(500);
    auto *test = qobject_cast<StudyQuizPage *>(setPage->testPane());
    ASSERT_NE(test, nullptr);
    ASSERT_FALSE(test->view()->questionCards().isEmpty());
    expectStackedWhole(test->view()->questionCards());
    expectStackedWhole(QList<QWidget *>{test->view()->mainButton()});
}

TEST_F(StudyInDashboardTest, TheCardTakesTheHeightOfTheWorkspaceOnShowAlone)
{
    openStudyAtTheSmallestWindow();
    const int studyHeight = page()->height();
    // A short writer list leaves no room behind from the long library.
    view->handleModeSwitch(DashboardMode::writer, false);
    settle(3400);
    settle(1000);
    EXPECT_LT(page()->height(), studyHeight / 2);
}

TEST_F(StudyInDashboardTest, EveryStudyPageThatHidesTheTopBarGoesWithThePageWithoutTouchingIt)
{
    using Make = StudyViewState (*)(const StudyProject &);
    const std::pair<const char *, Make> pages[] = {
        {"set page", &StudyViewState::detail},
        {"session", &StudyViewState::study},
        {"test", &StudyViewState::quiz},
    };
    for (const auto &[name, make] : pages) {
        SCOPED_TRACE(name);
        makeApp();
        const StudyProject set = storeStudySet("Cells", 2);
        makeView();
        view->handleModeSwitch(DashboardMode::study, true);
        settle(3400);
        ASSERT_NE(root(), nullptr);
        root()->setViewState(make(set));
        settle(300);
        ASSERT_TRUE(app->suppressTopBar());
        ASSERT_FALSE(view->workspace()->header()->isVisible());

        view.reset();
        EXPECT_FALSE(app->suppressTopBar()) << "the next page starts with its top bar";
        app.reset();
    }
}
