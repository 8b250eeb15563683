#include "study/views/StudyWorkspacePages.h"

#include "study/views/StudyQuizPage.h"
#include "study/views/StudySessionPage.h"
#include "study/views/StudySetPageFactory.h"

namespace qv::study {

StudyPageFactories studyWorkspacePages(state::AppState &appState, Scheduler &scheduler, const WallClock &clock,
                                       Random &random)
{
    StudySessionServices services;
    services.appState = &appState;
    services.random = &random;
    services.clock = &clock;
    services.scheduler = &scheduler;

    // The same session and test serve as full pages and inside a set page.
    StudyPageFactories pages;
    pages.session = studySessionPageFactory(services);
    pages.quiz = studyQuizPageFactory(random, clock);
    pages.detail = makeStudySetPage(appState, clock, pages);
    return pages;
}

} // namespace qv::study
