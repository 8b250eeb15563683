#include "TargetApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <unistd.h>

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

QString seconds(qint64 ms) { return QStringLiteral("%1 s").arg(double(ms) / 1000, 0, 'f', 1); }

void noteSlowStart(const QString &program, qint64 elapsedMs)
{
    if (elapsedMs >= 3000 || qEnvironmentVariableIsSet("QUORVEL_E2E_VERBOSE"))
        std::fprintf(stderr, "%s started in %s\n", qPrintable(program), qPrintable(seconds(elapsedMs)));
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

TargetApp::TargetApp(Kind kind) : m_kind(kind)
{
    // A page with no command for a while is told to ask again, so that no
    // request stays open long enough for the browser to give up on it.
    m_idle.setSingleShot(true);
    m_idle.setInterval(20000);
    QObject::connect(&m_idle, &QTimer::timeout, [this] { answerHeld({}); });
}

TargetApp::~TargetApp() { kill(); }

bool TargetApp::start(QString *why)
{
    if (m_kind == Kind::Chromium)
        return startChromium(why);
    const QString program = QString::fromUtf8(m_kind == Kind::Gtk ? QV_GTK_TARGET : QV_QT_TARGET);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("NO_AT_BRIDGE"));
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    env.insert(QStringLiteral("GDK_BACKEND"), QStringLiteral("x11"));
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    m_process.start(program, {});
    if (!m_process.waitForStarted(kStartMs)) {
        if (why)
            *why = QStringLiteral("cannot start %1 (%2 after %3)")
                       .arg(program, m_process.errorString(), seconds(clock.elapsed()));
        return false;
    }
    // The window is up and mapped when the program says so.
    const auto line = nextLine(kStartMs);
    if (!line || !line->startsWith(QLatin1String("ready "))) {
        if (why)
            *why = startFailure(program, QStringLiteral("printed no ready line"), clock.elapsed());
        return false;
    }
    m_pid = line->section(QLatin1Char(' '), 1).toLongLong();
    noteSlowStart(program, clock.elapsed());
    return m_pid > 0;
}

QString TargetApp::startFailure(const QString &program, const QString &what, qint64 elapsedMs) const
{
    if (m_process.state() == QProcess::NotRunning)
        return QStringLiteral("%1 %2: it exited after %3 with code %4")
            .arg(program, what, seconds(elapsedMs))
            .arg(m_process.exitCode());
    return QStringLiteral("%1 %2 within %3").arg(program, what, seconds(elapsedMs));
}

std::optional<QString> TargetApp::nextLine(int timeoutMs)
{
    std::optional<QString> out;
    waitUntil(
        [&] {
            if (m_kind != Kind::Chromium)
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
    if (m_kind == Kind::Chromium) {
        if (m_held)
            answerHeld(line.toUtf8());
        else
            m_queued = line.toUtf8();
    } else {
        m_process.write(line.toUtf8() + '\n');
        m_process.waitForBytesWritten(1000);
    }
    return nextLine(timeoutMs).value_or(QString());
}

std::optional<QString> TargetApp::dump(const QString &which)
{
    if (m_kind == Kind::Chromium) {
        const QString answer = command(QStringLiteral("dump ") + which);
        if (!answer.startsWith(QLatin1String("text ")))
            return std::nullopt;
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray("[") + answer.mid(5).toUtf8() + "]");
        if (!doc.isArray() || !doc.array().at(0).isString())
            return std::nullopt;
        return doc.array().at(0).toString();
    }
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

std::optional<std::pair<qint64, qint64>> TargetApp::selection(const QString &which)
{
    const QStringList parts = command(QStringLiteral("sel ") + which).split(QLatin1Char(' '));
    if (parts.size() != 3 || parts[0] != QLatin1String("sel") || parts[1].toLongLong() < 0)
        return std::nullopt;
    return std::pair{parts[1].toLongLong(), parts[2].toLongLong()};
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

std::optional<QByteArray> runTool(const QString &program, const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    bool finished = false;
    QObject::connect(&process, &QProcess::finished, [&] { finished = true; });
    process.start(program, arguments);
    waitUntil([&] { return finished || process.state() == QProcess::NotRunning; }, timeoutMs);
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
        kSettleMs);
    if (!ids || ids->trimmed().isEmpty())
        return false;
    const QString window = QString::fromUtf8(ids->trimmed().split('\n').last());
    return runTool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), window})
        .has_value();
}

void TargetApp::kill()
{
    if (m_server) {
        m_idle.stop();
        if (m_held)
            m_held->abort();
        m_server->close();
    }
    if (m_process.state() == QProcess::NotRunning)
        return;
    // The browser leads a process group of its own: its helpers go with it.
    if (m_kind == Kind::Chromium && m_process.processId() > 0)
        ::kill(-pid_t(m_process.processId()), SIGKILL);
    m_process.kill();
    m_process.waitForFinished(3000);
}

bool TargetApp::startChromium(QString *why)
{
    const auto fail = [&](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    m_server = new QTcpServer(&m_process);
    if (!m_server->listen(QHostAddress::LocalHost, 0))
        return fail(QStringLiteral("no loopback port for the page: ") + m_server->errorString());
    QObject::connect(m_server, &QTcpServer::newConnection, [this] {
        while (QTcpSocket *socket = m_server->nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] { serveRequest(socket); });
        }
    });
    const QString page = QUrl::fromLocalFile(QStringLiteral(QV_CHROMIUM_PAGE)).toString()
                         + QStringLiteral("?port=%1").arg(m_server->serverPort());
    const QStringList arguments{QStringLiteral("--no-sandbox"), QStringLiteral("--force-renderer-accessibility"),
                                QStringLiteral("--user-data-dir=") + m_dir.filePath(QStringLiteral("chromium")),
                                QStringLiteral("--no-first-run"), QStringLiteral("--no-default-browser-check"),
                                QStringLiteral("--disable-background-networking"),
                                QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
                                QStringLiteral("--disable-gpu"), QStringLiteral("--password-store=basic"),
                                QStringLiteral("--disable-features=Translate,MediaRouter"),
                                // Nothing but the loopback server resolves: the browser never reaches the network.
                                QStringLiteral("--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1"),
                                QStringLiteral("--window-position=40,40"), QStringLiteral("--window-size=700,640"),
                                QStringLiteral("--app=") + page};
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("NO_AT_BRIDGE"));
    m_process.setProcessEnvironment(env);
    m_process.setChildProcessModifier([] { ::setsid(); });
    m_process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    // The browser's own chatter on its error stream is not the test's.
    m_process.setStandardErrorFile(m_dir.filePath(QStringLiteral("chromium.log")));
    QElapsedTimer clock;
    clock.start();
    m_process.start(QStringLiteral("chromium"), arguments);
    if (!m_process.waitForStarted(kStartMs))
        return fail(QStringLiteral("cannot start chromium (run scripts/setup)"));
    // The page asks for its first command once it has loaded.
    const auto line = nextLine(kStartMs);
    if (line != QLatin1String("ready"))
        return fail(startFailure(QStringLiteral("chromium"), QStringLiteral("did not load the page"), clock.elapsed())
                    + QStringLiteral("; its log: ") + m_dir.filePath(QStringLiteral("chromium.log")));
    m_pid = m_process.processId();
    noteSlowStart(QStringLiteral("chromium"), clock.elapsed());
    return m_pid > 0;
}

// One HTTP request from the page: its body is the answer to the last
// command (or "ready"/"idle"); the reply is held until there is a command.
void TargetApp::serveRequest(QTcpSocket *socket)
{
    const QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    const qsizetype headerEnd = request.indexOf("\r\n\r\n");
    qsizetype length = 0;
    for (const QByteArray &header : request.left(std::max<qsizetype>(headerEnd, 0)).split('\n')) {
        const QByteArray h = header.trimmed().toLower();
        if (h.startsWith("content-length:"))
            length = h.mid(15).trimmed().toLongLong();
    }
    if (headerEnd < 0 || request.size() < headerEnd + 4 + length) {
        socket->setProperty("request", request);
        return;
    }
    socket->setProperty("request", QVariant());
    if (!request.startsWith("POST ")) {
        socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    answerHeld({});
    m_held = socket;
    const QByteArray body = request.mid(headerEnd + 4, length);
    if (body != "idle")
        m_buffer += body + '\n';
    if (m_queued) {
        answerHeld(*std::exchange(m_queued, std::nullopt));
        return;
    }
    m_idle.start();
}

void TargetApp::answerHeld(const QByteArray &body)
{
    m_idle.stop();
    if (!m_held)
        return;
    m_held->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=utf-8\r\n"
                  "Access-Control-Allow-Origin: *\r\nCache-Control: no-store\r\nConnection: close\r\n"
                  "Content-Length: "
                  + QByteArray::number(body.size()) + "\r\n\r\n" + body);
    m_held->disconnectFromHost();
    m_held = nullptr;
}

} // namespace qv::e2e
