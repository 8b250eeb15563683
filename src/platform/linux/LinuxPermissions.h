#pragma once

#include "platform/Permissions.h"

#include <QUrl>

namespace qv::linuxdesktop {

// What the desktop must allow: accessibility is ready when the desktop's
// accessibility bus is switched on; input synthesis when keys can be
// synthesised, that is XTest on an X11 session (not on Wayland).
class LinuxPermissions final : public platform::Permissions {
public:
    explicit LinuxPermissions(bool xtestAvailable);

    // The page that explains how to grant access, used where the desktop
    // has no accessibility settings of its own.
    void setHelpUrl(const QUrl &url) { m_helpUrl = url; }

    bool accessibilityReady() override;
    bool inputSynthesisReady() override;
    void requestAccessibility() override;
    void requestInputSynthesis() override;
    void openAccessibilitySettings() override;
    void openInputSettings() override;

    // A Wayland session, where synthetic keys cannot reach other programs.
    static bool isWaylandSession();

private:
    bool m_xtest;
    QUrl m_helpUrl;
};

} // namespace qv::linuxdesktop
