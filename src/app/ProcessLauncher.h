#pragma once

#include <QString>
#include <QStringList>

namespace qv::app {

// Starts a program that outlives this process.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Whether the program started.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
};

// The real one: QProcess::startDetached, no shell in between.
class DetachedProcessLauncher final : public ProcessLauncher {
public:
    bool startDetached(const QString &program, const QStringList &arguments) override;
};

} // namespace qv::app
