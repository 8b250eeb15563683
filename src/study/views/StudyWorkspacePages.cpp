#include "study/views/StudyWorkspacePages.h"

#include "study/views/StudyInlineFactories.h"
#include "study/views/StudyInlineSession.h"
#include "study/views/StudyInlineTest.h"
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

    StudyInlineFactories inlines;
    inlines.session = [services](const StudyProject &project, StudySessionActions actions, QWidget *parent) {
        return makeInlineStudySession(services, project, std::move(actions), parent);
    };
    inlines.test = [&random, &clock](const StudyProject &project, StudyQuizActions actions, QWidget *parent) {
        return makeInlineStudyTest(project, std::move(actions.onExit), std::move(actions.onUpdate), random, clock,
                                   parent);
    };

    StudyPageFactories pages;
    pages.detail = makeStudySetPage(appState, clock, std::move(inlines));
    pages.session = studySessionPageFactory(services);
    pages.quiz = makeStudyQuizPage(random, clock);
    return pages;
}

} // namespace qv::study
