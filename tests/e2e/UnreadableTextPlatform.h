#pragma once

#include "platform/Platform.h"

#include <memory>

namespace qv::e2e {

// The real desktop, except that one application's text cannot be read
// through accessibility: its elements answer nothing for their value and
// their selected text, as some editors do. Everything else (roles, lengths,
// selection ranges, focus, keys, the clipboard) is the real thing, so a run
// has to read that application's field by selecting and copying it.
class UnreadableTextPlatform final : public platform::Platform {
public:
    UnreadableTextPlatform(platform::Platform &real, qint64 pid);
    ~UnreadableTextPlatform() override;

    platform::Accessibility &accessibility() override;
    platform::Keyboard &keyboard() override { return m_real.keyboard(); }
    platform::Pasteboard &pasteboard() override { return m_real.pasteboard(); }
    platform::Workspace &workspace() override { return m_real.workspace(); }
    platform::InputMonitor &input() override { return m_real.input(); }
    platform::Permissions &permissions() override { return m_real.permissions(); }
    platform::Desktop &desktop() override { return m_real.desktop(); }

    // How many reads of the value or selected text were refused.
    int refusedReads() const;

private:
    class HidingAccessibility;

    platform::Platform &m_real;
    std::unique_ptr<HidingAccessibility> m_accessibility;
};

} // namespace qv::e2e
