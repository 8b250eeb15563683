#include "state/TerminationFlush.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qv::state {

namespace {
int g_fds[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
} // namespace

TerminationFlush::TerminationFlush(std::function<void()> flush, QObject *parent)
    : QObject(parent), m_flush(std::move(flush))
{
    if (auto *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, [this] { m_flush(); });
}

TerminationFlush::~TerminationFlush()
{
    if (!m_installed)
        return;
    for (int sig : kSignals)
        std::signal(sig, SIG_DFL);
    delete m_notifier;
    ::close(g_fds[0]);
    ::close(g_fds[1]);
    g_fds[0] = g_fds[1] = -1;
}

bool TerminationFlush::installSignalHandlers()
{
    if (m_installed)
        return true;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_fds) != 0)
        return false;
    ::fcntl(g_fds[1], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(g_fds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationFlush::readSignal);
    struct sigaction action {};
    action.sa_handler = &TerminationFlush::onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : kSignals)
        ::sigaction(sig, &action, nullptr);
    m_installed = true;
    return true;
}

void TerminationFlush::onSignal(int signalNumber)
{
    const char byte = char(signalNumber);
    if (g_fds[1] >= 0) [[maybe_unused]]
        auto n = ::write(g_fds[1], &byte, 1);
}

void TerminationFlush::readSignal()
{
    char byte = 0;
    if (::read(g_fds[0], &byte, 1) == 1)
        handleTermination(int(byte));
}

void TerminationFlush::handleTermination(int signalNumber)
{
    m_flush();
    emit terminationRequested(signalNumber);
    // exit(), not quit(): a window that keeps itself open on close must not
    // cancel a termination.
    if (QCoreApplication::instance())
        QCoreApplication::exit(128 + signalNumber);
}

} // namespace qv::state
