// The real study workspace inside the dashboard: at the smallest window its
// pages grow with their content inside the one scroll view, so no row or
// question is squeezed or cut by an inner viewport; and a page going away (a
// quit, a sign-out) while one of its inner pages is open touches nothing
// already deleted.
#include "DashboardTestSupport.h"

#include "core/Random.h"
#include "study/views/StudyLibraryPage.h"
#include "study/views/StudyQuizPage.h"
#include "study/views/StudyQuestionCard.h"
#include "study/views/StudyRootView.h"
#include "study/views/StudySessionOverlay.h"
#include "study/views/StudySessionView.h"
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

// The full-page session asking whether to leave, at the window's default and
// smallest sizes: the shade stays within the question card's rounded
// outline below the header.
TEST_F(StudyInDashboardTest, TheExitQuestionsShadeStaysInsideTheSessionAtBothSizes)
{
    for (const QSize size : {QSize(1180, 760), QSize(980, 640)}) {
        const std::string where = std::to_string(size.width()) + "x" + std::to_string(size.height());
        makeApp();
        const StudyProject set = storeStudySet("Cells", 4);
        makeView(size);
        view->handleModeSwitch(DashboardMode::study, true);
        settle(3400);
        settle(1000);
        root()->setViewState(StudyViewState::study(set));
        settle(500);
        auto *session = root()->currentPage()->findChild<StudySessionView *>();
        ASSERT_NE(session, nullptr) << where;
        session->exitButton()->click();
        settle(300);
        ASSERT_TRUE(session->exitConfirmOverlay()->isVisible()) << where;
        const QRectF shade = session->exitConfirmOverlay()->backdropShape().boundingRect();
        const QRect card(session->questionCard()->mapTo(session, QPoint(0, 0)), session->questionCard()->size());
        EXPECT_EQ(shade.bottom(), card.bottom() + 1) << where;
        EXPECT_EQ(shade.left(), card.left()) << where;
        EXPECT_EQ(shade.right(), card.right() + 1) << where;
        view->grab().save(screenshotDir() + QStringLiteral("/study-exit-question-%1x%2.png")
                                                .arg(size.width())
                                                .arg(size.height()));
        view.reset();
        app.reset();
    }
}
