#pragma once

// The real application as the end-to-end tests start it on the desktop
// session: in a home of its own, with the accessibility bridge on, on X11.

#include "AppSession.h"
#include "LocalBackendProcess.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace qv::e2e {

// Starts the development backend with one account (and any `extra` options)
// on a free port (another backend may hold any fixed one) and points `env`
// at it.
inline bool startLocalBackend(LocalBackendProcess &backend, QProcessEnvironment &env, const QString &email,
                              const QString &password, QString *why, const QStringList &extra = {})
{
    if (!backend.start(QStringLiteral(QV_DEVBACKEND), env, email, password, why, extra))
        return false;
    backend.pointAt(env);
    return true;
}

// Starts the application with `env`; false with `why` set when it did not.
inline bool startApp(QProcess &app, const QProcessEnvironment &env, QProcess::ProcessChannelMode channels, QString *why)
{
    app.setProcessEnvironment(env);
    app.setProcessChannelMode(channels);
    app.start(QStringLiteral(QV_QUORVEL), {});
    if (app.waitForStarted(5000))
        return true;
    *why = app.errorString();
    return false;
}

} // namespace qv::e2e
