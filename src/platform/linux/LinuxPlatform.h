#pragma once

#include "platform/Platform.h"

#include <QUrl>

#include <memory>

namespace qv {
class Scheduler;
}

namespace qv::linuxdesktop {

class AtspiAccessibility;
class XTestKeyboard;
class QtPasteboard;
class X11Workspace;
class X11InputMonitor;
class LinuxPermissions;
class LinuxDesktop;

// The real desktop on an X11 session: AT-SPI 2 for other applications'
// interfaces, XTest for keys, EWMH for the frontmost application, XInput 2
// for global clicks and the Qt clipboard. Needs the application object.
class LinuxPlatform final : public platform::Platform {
public:
    explicit LinuxPlatform(Scheduler &scheduler);
    ~LinuxPlatform() override;

    platform::Accessibility &accessibility() override;
    platform::Keyboard &keyboard() override;
    platform::Pasteboard &pasteboard() override;
    platform::Workspace &workspace() override;
    platform::InputMonitor &input() override;
    platform::Permissions &permissions() override;
    platform::Desktop &desktop() override;

    // Where the permissions help page lives.
    void setHelpUrl(const QUrl &url);

    AtspiAccessibility &atspi() { return *m_accessibility; }
    XTestKeyboard &xtestKeyboard() { return *m_keyboard; }
    X11Workspace &x11Workspace() { return *m_workspace; }
    X11InputMonitor &x11Input() { return *m_input; }

private:
    std::unique_ptr<X11Workspace> m_workspace;
    std::unique_ptr<AtspiAccessibility> m_accessibility;
    std::unique_ptr<XTestKeyboard> m_keyboard;
    std::unique_ptr<QtPasteboard> m_pasteboard;
    std::unique_ptr<X11InputMonitor> m_input;
    std::unique_ptr<LinuxPermissions> m_permissions;
    std::unique_ptr<LinuxDesktop> m_desktop;
};

} // namespace qv::linuxdesktop
