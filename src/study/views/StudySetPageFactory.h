#pragma once

#include "study/views/StudyPageFactories.h"

namespace qv {
class WallClock;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::study {

// The workspace's builder of a set's page, hosting the given session and
// test in its modes. The application state and the clock must outlive the pages.
StudyDetailFactory makeStudySetPage(state::AppState &appState, const WallClock &clock,
                                    StudyPaneFactories panes = StudyPaneFactories::standIns());

} // namespace qv::study
