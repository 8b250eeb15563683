#include "engine/EditGate.h"

#include "core/Scheduler.h"
#include "engine/TypingEngine.h"
#include "platform/Platform.h"

namespace qv::engine {

EditGate::EditGate(TypingEngine &engine, std::optional<qint64> requiredPid, StopFlag stopFlag, PauseFlag pauseFlag,
                   PhaseSink onPhase)
    : m_engine(engine), m_requiredPid(requiredPid), m_stop(std::move(stopFlag)), m_pause(std::move(pauseFlag)),
      m_onPhase(std::move(onPhase))
{
}

void EditGate::phase(RunPhase name)
{
    if (m_onPhase)
        m_onPhase(name);
}

bool EditGate::wrongApplication()
{
    if (!m_requiredPid)
        return false;
    const auto front = m_engine.platform().workspace().frontmostApplication();
    return !front || front->pid != *m_requiredPid;
}

bool EditGate::focusElsewhere()
{
    // Only a focused element that plainly takes no text holds the edit: an
    // application that reports no focus at all gives nothing to wait for.
    if (m_focusChecks && !m_focusChecks())
        return false;
    ElementAccess &elements = m_engine.elements();
    const platform::Element focused = elements.focusedElement();
    if (focused.isNull() || focused == m_takesText)
        return false;
    if (!elements.isTextInputElementRelaxed(focused))
        return true;
    m_takesText = focused;
    return false;
}

QCoro::Task<bool> EditGate::pass()
{
    bool waited = false;
    const auto holdOn = [&] {
        if (!waited)
            phase(RunPhase::Paused);
        waited = true;
    };
    while (true) {
        if (stopped())
            co_return false;
        if (paused()) {
            holdOn();
            co_await m_engine.scheduler().sleep(120);
            continue;
        }
        if (wrongApplication()) {
            holdOn();
            co_await m_engine.scheduler().sleep(200);
            continue;
        }
        if (focusElsewhere()) {
            holdOn();
            const bool found = co_await m_engine.elements().waitForTextInputFocus(m_stop, m_pause, std::nullopt);
            // A focus it wrote shows only once the application reports it:
            // give it a moment rather than asking again at once.
            if (found)
                co_await m_engine.scheduler().sleep(kFocusSettleMs);
            continue; // the application or the pause may have changed meanwhile
        }
        break;
    }
    if (waited)
        phase(m_resumePhase);
    co_return true;
}

} // namespace qv::engine
