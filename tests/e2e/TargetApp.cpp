#include "TargetApp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <csignal>

namespace qv::e2e {

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= timeoutMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void pump(int ms)
{
    QElapsedTimer clock;
    clock.start();
    waitUntil([&] { return clock.elapsed() >= ms; }, ms + 1000);
}

bool runReal(QCoro::Task<> task, int timeoutMs)
{
    bool finished = false;
    auto wrapper = [&](QCoro::Task<> t) -> QCoro::Task<> {
        co_await std::move(t);
        finished = true;
    };
    auto running = wrapper(std::move(task));
    return waitUntil([&] { return finished; }, timeoutMs);
}

TargetApp::TargetApp(Kind kind) : m_kind(kind) {}

TargetApp::~TargetApp()
{
    kill();
}

bool TargetApp::start(QString *why)
{
    const QString program = QString::fromUtf8(m_kind == Kind::Gtk ? QV_GTK_TARGET : QV_QT_TARGET);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("NO_AT_BRIDGE"));
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    env.insert(QStringLiteral("GDK_BACKEND"), QStringLiteral("x11"));
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, {});
    if (!m_process.waitForStarted(5000)) {
        if (why)
            *why = QStringLiteral("cannot start ") + program;
        return false;
    }
    const auto line = nextLine(10000);
    if (!line || !line->startsWith(QLatin1String("ready "))) {
        if (why)
            *why = QStringLiteral("no ready line from ") + program;
        return false;
    }
    m_pid = line->section(QLatin1Char(' '), 1).toLongLong();
    return m_pid > 0;
}

std::optional<QString> TargetApp::nextLine(int timeoutMs)
{
    std::optional<QString> out;
    waitUntil(
        [&] {
            m_buffer += m_process.readAllStandardOutput();
            const qsizetype nl = m_buffer.indexOf('\n');
            if (nl < 0)
                return m_process.state() == QProcess::NotRunning;
            out = QString::fromUtf8(m_buffer.left(nl));
            m_buffer.remove(0, nl + 1);
            return true;
        },
        timeoutMs);
    return out;
}

QString TargetApp::command(const QString &line, int timeoutMs)
{
    if (m_process.state() != QProcess::Running)
        return {};
    m_process.write(line.toUtf8() + '\n');
    m_process.waitForBytesWritten(1000);
    return nextLine(timeoutMs).value_or(QString());
}

std::optional<QString> TargetApp::dump(const QString &which)
{
    const QString path = m_dir.filePath(QStringLiteral("dump%1.txt").arg(++m_dumps));
    if (command(QStringLiteral("dump %1 %2").arg(which, path)) != QLatin1String("ok"))
        return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(f.readAll());
}

QRect TargetApp::geometry(const QString &which)
{
    const QStringList parts = command(QStringLiteral("geom ") + which).split(QLatin1Char(' '));
    if (parts.size() != 5)
        return {};
    return QRect(parts[1].toInt(), parts[2].toInt(), parts[3].toInt(), parts[4].toInt());
}

bool TargetApp::set(const QString &which, const QString &text)
{
    QString escaped;
    for (QChar c : text) {
        if (c == QLatin1Char('\\'))
            escaped += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            escaped += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            escaped += QStringLiteral("\\t");
        else
            escaped += c;
    }
    return command(QStringLiteral("set %1 %2").arg(which, escaped)) == QLatin1String("ok");
}

std::optional<QByteArray> runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    bool finished = false;
    QObject::connect(&process, &QProcess::finished, [&] { finished = true; });
    process.start(program, arguments);
    waitUntil([&] { return finished; }, 5000);
    if (!finished || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

bool TargetApp::activate()
{
    std::optional<QByteArray> ids;
    // The window may not be mapped yet right after start.
    waitUntil(
        [&] {
            ids = runTool(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                      QStringLiteral("--pid"), QString::number(m_pid)});
            return ids && !ids->trimmed().isEmpty();
        },
        5000);
    if (!ids || ids->trimmed().isEmpty())
        return false;
    const QString window = QString::fromUtf8(ids->trimmed().split('\n').last());
    return runTool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), window})
        .has_value();
}

void TargetApp::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(3000);
}

} // namespace qv::e2e
