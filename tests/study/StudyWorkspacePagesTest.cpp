#include "StudyViewFixture.h"

#include "core/Random.h"
#include "study/StudyInlineSession.h"
#include "study/StudyInlineTest.h"
#include "study/StudyQuizPage.h"
#include "study/StudyRootView.h"
#include "study/StudySessionPage.h"
#include "study/StudySetPage.h"
#include "study/StudyWorkspacePages.h"
#include "theme/QVButton.h"

using namespace qv;
using namespace qv::study;

namespace {
class StudyWorkspacePagesTest : public test::StudyViewTest {
protected:
    SeededRandom random{11};
};
} // namespace

// The application's study workspace is built from the real pages: a set
// opens its set page, whose Learn and Test modes host the inline session
// and test, and Study and Quiz open the full-page session and test.
TEST_F(StudyWorkspacePagesTest, EveryPageOfASetIsTheRealOne)
{
    const StudyProject bio = makeSet("Biology", 1, {card("cell", "unit"), card("atom", "particle")});
    app->saveStudyProject(bio);
    StudyRootView root(*app, scheduler, clock, studyWorkspacePages(*app, scheduler, clock, random));
    root.resize(900, 700);
    root.show();

    root.setViewState(StudyViewState::detail(bio));
    settle();
    auto *setPage = qobject_cast<StudySetPage *>(root.currentPage());
    ASSERT_NE(setPage, nullptr);

    setPage->modeButton(StudyMode::learn)->click();
    settle();
    EXPECT_NE(setPage->findChild<StudyInlineSession *>(), nullptr);
    setPage->modeButton(StudyMode::test)->click();
    settle();
    EXPECT_NE(setPage->findChild<StudyInlineTest *>(), nullptr);

    root.setViewState(StudyViewState::study(bio));
    settle();
    EXPECT_NE(qobject_cast<StudySessionPage *>(root.currentPage()), nullptr);
    root.setViewState(StudyViewState::quiz(bio));
    settle();
    EXPECT_NE(qobject_cast<StudyQuizPage *>(root.currentPage()), nullptr);
}
