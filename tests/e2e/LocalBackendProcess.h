#pragma once

// The development backend as a process of its own on a free loopback port,
// for tests that start the real application against it: the port is the
// one the backend reports once it listens, and Quorvel is pointed at it
// through its run-time backend setting.

#include "TargetApp.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace qv::e2e {

// Asks the program to end, then ends it.
inline void stopProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(2000);
    }
}

class LocalBackendProcess {
public:
    ~LocalBackendProcess() { stop(); }

    // Starts `program` (the quorvel-devbackend executable) with an in-memory
    // store, one account and any `extra` options. False with `why` set when
    // it did not come up.
    bool start(const QString &program, const QProcessEnvironment &environment, const QString &email,
               const QString &password, QString *why, const QStringList &extra = {})
    {
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        QElapsedTimer clock;
        clock.start();
        m_process.start(program, QStringList{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--data"),
                                             QStringLiteral(":memory:"), QStringLiteral("--add-user"), email, password}
                                     + extra);
        static const QRegularExpression listening(QStringLiteral("listening on (http://127\\.0\\.0\\.1:[0-9]+)"));
        QByteArray out;
        waitUntil(
            [&] {
                out += m_process.readAll();
                const auto match = listening.match(QString::fromUtf8(out));
                if (match.hasMatch())
                    m_url = match.captured(1);
                return !m_url.isEmpty() || m_process.state() == QProcess::NotRunning;
            },
            kStartMs);
        if (m_url.isEmpty() && why)
            *why = QStringLiteral("the development backend %1 after %2: %3")
                       .arg(m_process.state() == QProcess::NotRunning ? QStringLiteral("exited at start")
                                                                      : QStringLiteral("did not listen"),
                            seconds(clock.elapsed()), QString::fromUtf8(out));
        return !m_url.isEmpty();
    }

    void stop() { stopProcess(m_process); }

    // "http://127.0.0.1:<port>", empty until started.
    const QString &url() const { return m_url; }

    // Points a Quorvel started with `environment` at this backend.
    void pointAt(QProcessEnvironment &environment) const
    {
        environment.insert(QStringLiteral("QUORVEL_BACKEND_URL"), m_url);
    }

private:
    QProcess m_process;
    QString m_url;
};

} // namespace qv::e2e
