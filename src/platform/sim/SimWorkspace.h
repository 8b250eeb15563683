#pragma once

#include "platform/Workspace.h"

namespace qv::sim {

class SimDesktop;

// Frontmost application, pointer and URL opening of the simulated desktop.
class SimWorkspace final : public platform::Workspace {
public:
    explicit SimWorkspace(SimDesktop &desktop);

    std::optional<platform::AppInfo> frontmostApplication() override;
    qint64 ownPid() const override;
    std::optional<QPoint> pointerLocation() override { return m_pointer; }
    bool openUrl(const QUrl &url) override;

    void setPointer(std::optional<QPoint> point) { m_pointer = point; }
    // What openUrl answers (the URL is logged either way).
    void setOpenUrlSucceeds(bool succeeds) { m_openSucceeds = succeeds; }
    void announceActivation(const platform::AppInfo &app) { emit applicationActivated(app); }

private:
    SimDesktop &m_desktop;
    std::optional<QPoint> m_pointer = QPoint(0, 0);
    bool m_openSucceeds = true;
};

} // namespace qv::sim
