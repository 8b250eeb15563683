#include "study/views/StudySetPageFactory.h"

#include "study/views/StudySetPage.h"

namespace qv::study {

StudyDetailFactory makeStudySetPage(state::AppState &appState, const WallClock &clock, StudyInlineFactories inlines)
{
    return [&appState, &clock, inlines = std::move(inlines)](const StudyProject &project, StudyDetailActions actions,
                                                             QWidget *parent) -> StudyHostedPage * {
        return new StudySetPage(appState, clock, project, std::move(actions), inlines, parent);
    };
}

} // namespace qv::study
