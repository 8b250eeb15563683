#include "app/ProcessLauncher.h"

#include <QProcess>

namespace qv::app {

bool DetachedProcessLauncher::startDetached(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

} // namespace qv::app
