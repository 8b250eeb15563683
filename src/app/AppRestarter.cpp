#include "app/AppRestarter.h"

#include "app/ProcessLauncher.h"
#include "app/QuitPath.h"
#include "app/SingleInstance.h"

#include <QCoreApplication>

namespace qv::app {

AppRestarter::AppRestarter(ProcessLauncher &launcher, QuitPath &quitPath, std::function<void()> flush, QString program,
                           QStringList arguments)
    : m_launcher(launcher), m_quitPath(quitPath), m_flush(std::move(flush)), m_program(std::move(program)),
      m_arguments(std::move(arguments))
{
}

AppRestarter AppRestarter::forThisProcess(ProcessLauncher &launcher, QuitPath &quitPath, std::function<void()> flush)
{
    // arguments() starts with the program name; the new instance gets the rest.
    QStringList args = QCoreApplication::arguments();
    if (!args.isEmpty())
        args.removeFirst();
    return AppRestarter(launcher, quitPath, std::move(flush), QCoreApplication::applicationFilePath(), args);
}

bool AppRestarter::restart()
{
    if (m_flush)
        m_flush();
    if (m_program.isEmpty())
        return false;
    // The new copy waits for this one's single-instance locks instead of
    // taking this one for the running copy and exiting. Only its
    // environment carries the word: this process's own is read by other
    // threads and is left alone.
    const ExtraEnvironment replaces{
        {QString::fromLatin1(SingleInstance::kReplacesVariable), QString::number(QCoreApplication::applicationPid())}};
    if (!m_launcher.startDetached(m_program, m_arguments, replaces))
        return false;
    m_quitPath.quit();
    return true;
}

} // namespace qv::app
