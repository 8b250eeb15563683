#include "study/views/StudySetPageFactory.h"

#include "study/views/StudySetPage.h"

namespace qv::study {

StudyDetailFactory makeStudySetPage(state::AppState &appState, const WallClock &clock, StudyPaneFactories panes)
{
    return [&appState, &clock, panes = std::move(panes)](const StudyProject &project, StudyDetailActions actions,
                                                         QWidget *parent) -> StudyHostedPage * {
        return new StudySetPage(appState, clock, project, std::move(actions), panes, parent);
    };
}

} // namespace qv::study
