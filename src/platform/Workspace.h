#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <QUrl>

#include <optional>

namespace qv::platform {

struct AppInfo {
    qint64 pid = 0;
    QString name;
    QString bundleId; // a stable id of the application (desktop-file id or path)
    friend bool operator==(const AppInfo &, const AppInfo &) = default;
};

// Applications on the desktop and the pointer.
class Workspace : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual std::optional<AppInfo> frontmostApplication() = 0;
    virtual qint64 ownPid() const = 0;
    // The pointer, one global point with a top-left origin; nullopt when unknown.
    virtual std::optional<QPoint> pointerLocation() = 0;
    virtual bool openUrl(const QUrl &url) = 0;

signals:
    void applicationActivated(const qv::platform::AppInfo &app);
};

} // namespace qv::platform
