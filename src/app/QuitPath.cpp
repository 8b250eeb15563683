#include "app/QuitPath.h"

#include <QCoreApplication>

namespace qv::app {

QuitPath::QuitPath(Steps steps, QObject *parent) : QObject(parent), m_steps(std::move(steps)) {}

void QuitPath::prepare()
{
    if (m_steps.stopTypingJob)
        m_steps.stopTypingJob();
    if (m_steps.releaseKeys)
        m_steps.releaseKeys();
    if (m_steps.flushPreferences)
        m_steps.flushPreferences();
}

void QuitPath::quit()
{
    if (m_quitting)
        return;
    m_quitting = true;
    emit quitting();
    prepare();
    // exit(), not quit(): quit() first asks every window to close, and a
    // secondary window that routes its close to its opener would cancel it.
    if (m_steps.exit)
        m_steps.exit(0);
    else
        QCoreApplication::exit(0);
}

} // namespace qv::app
