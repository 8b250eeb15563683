#pragma once

#include "app/ConnectivityMonitor.h"

#include <QMetaObject>
#include <QNetworkInformation>
#include <QObject>

#include <optional>

namespace qv::app {

// Connectivity from Qt's network information backend (NetworkManager on most
// desktops). Only a reported disconnection counts as offline: a machine on a
// LAN without internet must still reach a backend on the local network, and
// without a backend we cannot know, so we let the sign-in try.
class NetworkConnectivityMonitor final : public QObject, public ConnectivityMonitor {
    Q_OBJECT
public:
    NetworkConnectivityMonitor();
    ~NetworkConnectivityMonitor() override;

    // The rule: what one reachability report means; no value means no backend.
    static bool isConnected(std::optional<QNetworkInformation::Reachability> reachability);

    void start(Report report) override;
    void cancel() override;

private:
    Report m_report;
    QMetaObject::Connection m_connection;
    bool m_running = false;
};

} // namespace qv::app
