#include "app/ProcessLauncher.h"

#include <QProcess>

namespace qv::app {

bool DetachedProcessLauncher::startDetached(const QString &program, const QStringList &arguments,
                                            const ExtraEnvironment &extra)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (!extra.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto &[name, value] : extra)
            environment.insert(name, value);
        process.setProcessEnvironment(environment);
    }
    return process.startDetached();
}

} // namespace qv::app
