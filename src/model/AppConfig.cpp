#include "model/AppConfig.h"

#include <QDir>
#include <QStandardPaths>

namespace qv {

namespace {

const QString kFolderName = QStringLiteral("QuorvelData");

} // namespace

AppConfig AppConfig::defaultConfig()
{
    QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (desktop.isEmpty())
        desktop = QDir::homePath() + QStringLiteral("/Desktop");
    // With no data location reported, the XDG default under the home folder.
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return inFolders(desktop, data);
}

AppConfig AppConfig::inFolders(const QString &desktopFolder, const QString &dataFolder)
{
    return AppConfig{QDir(desktopFolder).filePath(kFolderName), QDir(dataFolder).filePath(kFolderName)};
}

} // namespace qv
