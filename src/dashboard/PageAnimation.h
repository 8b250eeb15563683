#pragma once

#include "state/AppState.h"
#include "theme/AnimatedValue.h"

namespace qv::dashboard {

// The page's animation of `ms`, or none while the app's reduce-motion
// switch is on.
inline Animation pageAnimation(const state::AppState &appState, double ms)
{
    return appState.reduceMotionEnabled() ? Animation::none() : Animation::easeInOut(ms);
}

} // namespace qv::dashboard
