#include "theme/ThemeEnvironment.h"

#include "core/QtScheduler.h"
#include "theme/MotionSettings.h"

namespace qv {

namespace {
ThemeEnvironment *g_current = nullptr;

struct Fallback {
    QtScheduler scheduler;
    MotionSettings motion;
};

Fallback &fallback()
{
    static Fallback f;
    return f;
}
} // namespace

ThemeEnvironment::ThemeEnvironment(Scheduler &scheduler, MotionSettings &motion)
    : m_scheduler(scheduler), m_motion(motion), m_previous(g_current)
{
    g_current = this;
}

ThemeEnvironment::~ThemeEnvironment()
{
    // Environments nest like scopes; restore the one that was there before.
    if (g_current == this)
        g_current = m_previous;
}

Scheduler &ThemeEnvironment::scheduler() { return g_current ? g_current->m_scheduler : fallback().scheduler; }

MotionSettings &ThemeEnvironment::motion() { return g_current ? g_current->m_motion : fallback().motion; }

} // namespace qv
