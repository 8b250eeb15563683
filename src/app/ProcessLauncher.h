#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace qv::app {

// Variables the started program finds in its environment on top of this
// process's own, which stays untouched.
using ExtraEnvironment = QList<QPair<QString, QString>>;

// Starts a program that outlives this process.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Whether the program started.
    virtual bool startDetached(const QString &program, const QStringList &arguments,
                               const ExtraEnvironment &extra = {}) = 0;
};

// The real one: QProcess::startDetached, no shell in between.
class DetachedProcessLauncher final : public ProcessLauncher {
public:
    bool startDetached(const QString &program, const QStringList &arguments,
                       const ExtraEnvironment &extra = {}) override;
};

} // namespace qv::app
