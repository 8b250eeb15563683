#pragma once

#include "study/views/StudyInlineFactories.h"
#include "study/views/StudyPageFactories.h"

namespace qv {
class WallClock;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::study {

using StudyDetailFactory = decltype(StudyPageFactories::detail);

// The workspace's builder of a set's page, hosting the given inline session
// and test. The application state and the clock must outlive the pages.
StudyDetailFactory makeStudySetPage(state::AppState &appState, const WallClock &clock,
                                    StudyInlineFactories inlines = StudyInlineFactories::standIns());

} // namespace qv::study
