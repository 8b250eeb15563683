#include "platform/ChooserFolder.h"

#include <QDir>
#include <QFileInfo>

namespace qv::platform {

namespace {
QString &lastFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString chooserStartFolder()
{
    const QString &last = lastFolder();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return QDir::homePath();
}

void rememberChosenFile(const QString &path)
{
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    lastFolder() = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
}

} // namespace qv::platform
