// What counts as connected, and the monitor's life.
#include "app/NetworkConnectivityMonitor.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace qv::app;
using R = QNetworkInformation::Reachability;

TEST(ConnectivityRule, OnlyADisconnectionCountsAsOffline)
{
    EXPECT_FALSE(NetworkConnectivityMonitor::isConnected(R::Disconnected));
    // A LAN without internet must still reach a backend on it.
    for (R r : {R::Local, R::Site, R::Online, R::Unknown})
        EXPECT_TRUE(NetworkConnectivityMonitor::isConnected(r)) << int(r);
    EXPECT_TRUE(NetworkConnectivityMonitor::isConnected(std::nullopt)) << "no backend: let the sign-in try";
}

TEST(ConnectivityMonitorTest, ReportsOnceAfterStartAndNothingAfterCancel)
{
    std::vector<bool> reports;
    {
        NetworkConnectivityMonitor monitor;
        monitor.start([&](bool connected) { reports.push_back(connected); });
        EXPECT_TRUE(reports.empty()) << "never from inside start()";
        QCoreApplication::sendPostedEvents();
        ASSERT_EQ(reports.size(), 1u);

        monitor.start([&](bool connected) { reports.push_back(connected); });
        monitor.cancel();
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(reports.size(), 1u);

        // A monitor that goes before its first report reports nothing.
        monitor.start([&](bool connected) { reports.push_back(connected); });
    }
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(reports.size(), 1u);
}
