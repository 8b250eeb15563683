#pragma once

#include "platform/Platform.h"

#include <QStringList>

#include <memory>

namespace qv {
class Scheduler;
}

namespace qv::e2e {

// The real desktop, with a timed trace of what a run does to it: the keys it
// sends (typed text collapsed into one line per stretch) and its reads and
// writes of text, selection and focus. Keys and accessibility calls reach
// the application by different roads, so when a field ends up wrong the
// trace shows which call overtook which.
//
// With `unreadablePid`, that application's text cannot be read through
// accessibility: its elements answer nothing for their value and selected
// text, as some editors do, so a run has to read its field by copying it.
class TracingPlatform final : public platform::Platform {
public:
    // Lines go to `trace`, each starting with the milliseconds of `clock`.
    TracingPlatform(platform::Platform &real, Scheduler &clock, QStringList &trace, qint64 unreadablePid = 0);
    ~TracingPlatform() override;

    platform::Accessibility &accessibility() override;
    platform::Keyboard &keyboard() override;
    platform::Pasteboard &pasteboard() override { return m_real.pasteboard(); }
    platform::Workspace &workspace() override { return m_real.workspace(); }
    platform::InputMonitor &input() override { return m_real.input(); }
    platform::Permissions &permissions() override { return m_real.permissions(); }
    platform::Desktop &desktop() override { return m_real.desktop(); }

    // How many reads of the value or selected text were refused.
    int refusedReads() const;
    // Key events sent so far: typed characters, presses and shortcuts.
    int keyEvents() const;

private:
    class Trace;
    class TracedAccessibility;
    class TracedKeyboard;

    platform::Platform &m_real;
    std::unique_ptr<Trace> m_trace;
    std::unique_ptr<TracedAccessibility> m_accessibility;
    std::unique_ptr<TracedKeyboard> m_keyboard;
};

} // namespace qv::e2e
