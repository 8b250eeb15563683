#pragma once

// The real application as the end-to-end tests start it on the desktop
// session: in a home of its own, with the accessibility bridge on, on X11.

#include "AppSession.h"
#include "LocalBackendProcess.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>

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
    if (app.waitForStarted(kStartMs))
        return true;
    *why = QStringLiteral("cannot start Quorvel: ") + app.errorString();
    return false;
}

// Waits until the application started by startApp shows a window on the
// accessibility bus, which is what the tests look at; false with `why` set
// when it ended first or did not within kStartMs.
inline bool waitForAppWindow(const QProcess &app, const UiProbe &ui, QString *why)
{
    QElapsedTimer clock;
    clock.start();
    const auto shown = [&] {
        const QList<UiProbe::Element> all = ui.all();
        return std::any_of(all.begin(), all.end(), [](const UiProbe::Element &e) { return e.topLevel; });
    };
    bool up = false;
    waitUntil(
        [&] {
            up = shown();
            return up || app.state() == QProcess::NotRunning;
        },
        kStartMs);
    if (up) {
        noteSlowStart(QStringLiteral("Quorvel"), clock.elapsed());
        return true;
    }
    *why = app.state() == QProcess::NotRunning
               ? QStringLiteral("Quorvel exited at start after %1 (exit code %2)")
                     .arg(seconds(clock.elapsed()))
                     .arg(app.exitCode())
               : QStringLiteral("Quorvel showed no window within %1").arg(seconds(clock.elapsed()));
    return false;
}

} // namespace qv::e2e
