#pragma once

namespace qv {
class Random;
class Scheduler;
class WallClock;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::study {

// What a session view needs from the application besides its set.
struct StudySessionServices {
    state::AppState *appState = nullptr; // its reduce-motion preference
    Random *random = nullptr;
    const WallClock *clock = nullptr;
    Scheduler *scheduler = nullptr;
};

} // namespace qv::study
