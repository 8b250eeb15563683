#include "platform/linux/LinuxPlatform.h"

#include "platform/linux/AtspiAccessibility.h"
#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/LinuxPermissions.h"
#include "platform/linux/QtPasteboard.h"
#include "platform/linux/X11InputMonitor.h"
#include "platform/linux/X11Workspace.h"
#include "platform/linux/XTestKeyboard.h"

#include <QGuiApplication>

namespace qv::linuxdesktop {

LinuxPlatform::LinuxPlatform(Scheduler &scheduler)
{
    m_workspace = std::make_unique<X11Workspace>(scheduler);
    m_accessibility = std::make_unique<AtspiAccessibility>(scheduler, *m_workspace);
    X11Workspace *workspace = m_workspace.get();
    AtspiAccessibility *accessibility = m_accessibility.get();
    // Keys go to the frontmost application: its toolkit decides what one
    // Backspace removes.
    m_keyboard = std::make_unique<XTestKeyboard>(scheduler, [workspace, accessibility] {
        return accessibility->toolkitOf(workspace->frontmostPid());
    });
    m_keyboard->setKeySent([accessibility] { accessibility->noteKeySent(); });
    m_pasteboard = std::make_unique<QtPasteboard>(scheduler, [workspace] { return workspace->clipboardOwner(); });
    m_input = std::make_unique<X11InputMonitor>([workspace] { return workspace->pointerLocation(); },
                                                [workspace](QPoint p) { return workspace->pidOfWindowAt(p); },
                                                workspace->ownPid());
    m_permissions = std::make_unique<LinuxPermissions>(m_keyboard->isAvailable());
    QString desktopId = QGuiApplication::desktopFileName();
    if (desktopId.isEmpty())
        desktopId = QStringLiteral("quorvel");
    m_desktop = std::make_unique<LinuxDesktop>(desktopId);
}

LinuxPlatform::~LinuxPlatform()
{
    // The keyboard puts the keymap back before anything else goes.
    m_keyboard.reset();
}

platform::Accessibility &LinuxPlatform::accessibility() { return *m_accessibility; }
platform::Keyboard &LinuxPlatform::keyboard() { return *m_keyboard; }
platform::Pasteboard &LinuxPlatform::pasteboard() { return *m_pasteboard; }
platform::Workspace &LinuxPlatform::workspace() { return *m_workspace; }
platform::InputMonitor &LinuxPlatform::input() { return *m_input; }
platform::Permissions &LinuxPlatform::permissions() { return *m_permissions; }
platform::Desktop &LinuxPlatform::desktop() { return *m_desktop; }

void LinuxPlatform::setHelpUrl(const QUrl &url) { m_permissions->setHelpUrl(url); }

} // namespace qv::linuxdesktop
