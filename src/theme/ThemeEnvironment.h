#pragma once

namespace qv {

class Scheduler;
class MotionSettings;

// What the shared controls need from the application: the clock their
// animations run on and the reduce-motion switches. The application installs
// one at start, before building any view, and tests install their own
// virtual clock; controls look it up when they are built and when they
// animate, so they can be built anywhere without extra arguments.
class ThemeEnvironment {
public:
    ThemeEnvironment(Scheduler &scheduler, MotionSettings &motion);
    ~ThemeEnvironment();
    ThemeEnvironment(const ThemeEnvironment &) = delete;
    ThemeEnvironment &operator=(const ThemeEnvironment &) = delete;

    // The environment installed last and still alive, or a default one (Qt
    // timers, no reduced motion) when none is installed.
    static Scheduler &scheduler();
    static MotionSettings &motion();

private:
    Scheduler &m_scheduler;
    MotionSettings &m_motion;
    ThemeEnvironment *m_previous;
};

} // namespace qv
