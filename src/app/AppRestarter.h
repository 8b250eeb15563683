#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace qv::app {

class ProcessLauncher;
class QuitPath;

// Starts a new instance of this program and then leaves through the orderly
// quit path. The preferences are written out first so the new instance reads
// the latest session. When the new instance does not start, nothing else
// happens: this one keeps running.
class AppRestarter {
public:
    AppRestarter(ProcessLauncher &launcher, QuitPath &quitPath, std::function<void()> flush, QString program,
                 QStringList arguments);

    // This executable with the arguments it was started with.
    static AppRestarter forThisProcess(ProcessLauncher &launcher, QuitPath &quitPath, std::function<void()> flush);

    // Whether the new instance started (and this one is on its way out).
    bool restart();

    const QString &program() const { return m_program; }
    const QStringList &arguments() const { return m_arguments; }

private:
    ProcessLauncher &m_launcher;
    QuitPath &m_quitPath;
    std::function<void()> m_flush;
    QString m_program;
    QStringList m_arguments;
};

} // namespace qv::app
