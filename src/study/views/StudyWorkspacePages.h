#pragma once

#include "study/views/StudyPageFactories.h"
#include "study/views/StudyServices.h"

namespace qv::study {

// The real pages of the study workspace: the set page with its inline
// session and test, the full-page session and the full-page test. All the
// collaborators must outlive every page built.
StudyPageFactories studyWorkspacePages(state::AppState &appState, Scheduler &scheduler, const WallClock &clock,
                                       Random &random);

} // namespace qv::study
