#pragma once

#include "platform/Workspace.h"

#include <QList>
#include <QUrl>

namespace qv::test {

// Records the URLs the application asks to open.
class FakeWorkspace final : public platform::Workspace {
public:
    std::optional<platform::AppInfo> frontmostApplication() override { return std::nullopt; }
    qint64 ownPid() const override { return 1; }
    std::optional<QPoint> pointerLocation() override { return std::nullopt; }
    bool openUrl(const QUrl &url) override
    {
        opened << url;
        return true;
    }
    QList<QUrl> opened;
};

} // namespace qv::test
