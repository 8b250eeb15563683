// A page going away (a quit, a sign-out) while one of its inner pages is
// open: nothing reaches back into widgets already deleted.
#include "DashboardTestSupport.h"

#include "core/Random.h"
#include "dashboard/WriterWorkspace.h"
#include "study/views/StudyRootView.h"
#include "study/views/StudyWorkspacePages.h"

using namespace qv;
using namespace qv::dashboard;
using qv::study::StudyViewState;

namespace {
class TeardownTest : public test::DashboardFixture {
protected:
    SeededRandom random{7};

    void SetUp() override
    {
        // The real workspace and pages: their teardown is what is proven.
        studyWorkspace = [this](state::AppState &a) -> QWidget * {
            return new study::StudyRootView(a, scheduler, clock,
                                            study::studyWorkspacePages(a, scheduler, clock, random));
        };
    }

    StudyProject storedSet()
    {
        StudyProject set;
        set.id = QUuid::createUuid();
        set.title = "Cells";
        set.updatedAt = clock.nowUtc();
        for (const auto &[term, definition] : {std::pair{"cell", "the unit of life"}, {"atom", "the unit of matter"}}) {
            StudyItem item;
            item.id = QUuid::createUuid();
            item.term = term;
            item.definition = definition;
            set.items.append(item);
        }
        const SaveResult saved = app->saveStudyProject(set);
        EXPECT_TRUE(saved) << saved.reason().toStdString();
        return set;
    }
};
} // namespace

TEST_F(TeardownTest, EveryStudyPageThatHidesTheTopBarGoesWithThePageWithoutTouchingIt)
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
        const StudyProject set = storedSet();
        makeView();
        view->handleModeSwitch(DashboardMode::study, true);
        settle(3400);
        auto *study = qobject_cast<study::StudyRootView *>(view->studyWorkspace());
        ASSERT_NE(study, nullptr);
        study->setViewState(make(set));
        settle(300);
        ASSERT_TRUE(app->suppressTopBar());
        ASSERT_FALSE(view->header()->isVisible());

        view.reset();
        EXPECT_FALSE(app->suppressTopBar()) << "the next page starts with its top bar";
        app.reset();
    }
}

TEST_F(TeardownTest, AnOpenProjectPageGoesWithThePage)
{
    const Project p = test::makeProject("Essay", 1);
    openWriter({p});
    view->findChild<WriterWorkspace *>()->openProject(p.id);
    settle(300);
    ASSERT_TRUE(app->suppressTopBar());
    view.reset();
    // A new page (after a sign-out) shows its top bar again.
    makeView();
    EXPECT_FALSE(app->suppressTopBar());
    EXPECT_FALSE(view->header()->isHidden());
}
