#pragma once

#include "platform/Desktop.h"

#include <QString>

namespace qv::linuxdesktop {

// The launcher badge (the LauncherEntry signal that docks and panels listen
// to) and the desktop's reduce-motion setting (GNOME's animations switch).
class LinuxDesktop final : public platform::Desktop {
public:
    // `desktopFileId` names our launcher entry, without ".desktop".
    explicit LinuxDesktop(QString desktopFileId);

    void setBadgeLabel(const QString &label) override;
    QString badgeLabel() const override { return m_label; }
    bool reduceMotion() override;

private:
    QString m_desktopFileId;
    QString m_label;
};

} // namespace qv::linuxdesktop
