#include "app/NetworkConnectivityMonitor.h"

#include <QPointer>

namespace qv::app {

NetworkConnectivityMonitor::NetworkConnectivityMonitor() = default;

NetworkConnectivityMonitor::~NetworkConnectivityMonitor() { cancel(); }

bool NetworkConnectivityMonitor::isConnected(std::optional<QNetworkInformation::Reachability> reachability)
{
    return !reachability || *reachability != QNetworkInformation::Reachability::Disconnected;
}

void NetworkConnectivityMonitor::start(Report report)
{
    cancel();
    m_report = std::move(report);
    m_running = true;

    // The backend is loaded once per process; later loads return at once.
    QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    QNetworkInformation *info = QNetworkInformation::instance();
    if (info) {
        m_connection = connect(info, &QNetworkInformation::reachabilityChanged, this,
                               [this](QNetworkInformation::Reachability r) {
                                   if (m_running && m_report)
                                       m_report(isConnected(r));
                               });
    }
    // The first report arrives like every later one: after start() returned.
    QPointer<NetworkConnectivityMonitor> self(this);
    QMetaObject::invokeMethod(
        this,
        [self] {
            if (!self || !self->m_running || !self->m_report)
                return;
            QNetworkInformation *now = QNetworkInformation::instance();
            self->m_report(isConnected(now ? std::optional(now->reachability()) : std::nullopt));
        },
        Qt::QueuedConnection);
}

void NetworkConnectivityMonitor::cancel()
{
    m_running = false;
    m_report = nullptr;
    if (m_connection)
        disconnect(m_connection);
    m_connection = {};
}

} // namespace qv::app
