// The study workspace inside the dashboard's one scroll view at the smallest
// window: its pages grow with their content and scroll as a whole, so no
// row or question is squeezed or cut by an inner viewport.
#include "DashboardTestSupport.h"

#include "core/Random.h"
#include "study/views/StudyQuizPage.h"
#include "study/views/StudyLibraryPage.h"
#include "study/views/StudyRootView.h"
#include "study/views/StudySetPage.h"
#include "study/views/StudySetRow.h"
#include "study/views/StudyTestQuestionCard.h"
#include "study/views/StudyTestView.h"
#include "study/views/StudyWorkspacePages.h"
#include "theme/QVButton.h"

#include <QScrollArea>

using namespace qv;
using namespace qv::dashboard;
using namespace qv::study;

namespace {
class StudyLayoutTest : public test::DashboardFixture {
protected:
    SeededRandom random{11};

    void SetUp() override
    {
        studyWorkspace = [this](state::AppState &a) -> QWidget * {
            return new StudyRootView(a, scheduler, clock, studyWorkspacePages(a, scheduler, clock, random));
        };
        makeApp();
        for (int i = 0; i < 12; ++i) {
            StudyProject set;
            set.id = QUuid::createUuid();
            set.title = QString("Set %1").arg(i);
            set.grade = "11";
            set.updatedAt = clock.nowUtc();
            for (int c = 0; c < 6; ++c)
                set.items.append({QUuid::createUuid(), QString("term %1").arg(c), QString("definition %1").arg(c), 0,
                                  0, std::nullopt, false});
            EXPECT_TRUE(app->saveStudyProject(set));
        }
        makeView({980, 640});
        view->handleModeSwitch(DashboardMode::study, true);
        settle(3400);
        settle(1000);
    }

    StudyRootView *root() const { return qobject_cast<StudyRootView *>(view->studyWorkspace()); }
    QWidget *page() const { return view->scrollView()->widget(); }

    // Lies inside the scrolling page at no less than its minimum height.
    bool whole(const QWidget *w) const
    {
        const QRect placed(w->mapTo(page(), QPoint()), w->size());
        return w->isVisible() && page()->rect().contains(placed) && w->height() >= w->minimumSizeHint().height();
    }
};
} // namespace

TEST_F(StudyLayoutTest, TheLibraryAndTheInlineTestGrowInsideTheOneScrollView)
{
    ASSERT_NE(root(), nullptr);
    const QList<StudySetRow *> rows = root()->libraryPage()->rows();
    ASSERT_EQ(rows.size(), 12);
    EXPECT_GT(page()->height(), view->scrollView()->viewport()->height());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        EXPECT_TRUE(whole(rows[i])) << i;
        if (i > 0) {
            EXPECT_GE(rows[i]->mapTo(page(), QPoint()).y(), rows[i - 1]->mapTo(page(), QPoint(0, rows[i - 1]->height())).y())
                << i;
        }
    }

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
    for (StudyTestQuestionCard *card : test->view()->questionCards())
        EXPECT_TRUE(whole(card));
    EXPECT_TRUE(whole(test->view()->mainButton()));
}

TEST_F(StudyLayoutTest, TheCardTakesTheHeightOfTheWorkspaceOnShowAlone)
{
    const int studyHeight = page()->height();
    // A short writer list leaves no room behind from the long library.
    view->handleModeSwitch(DashboardMode::writer, false);
    settle(3400);
    settle(1000);
    EXPECT_LT(page()->height(), studyHeight / 2);
}
