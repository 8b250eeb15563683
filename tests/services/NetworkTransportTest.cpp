// The real transport against a hostile server of the test's own on a free
// loopback port: answers too large, trickled, and redirected elsewhere.

#include "services/NetworkTransport.h"

#include "core/VirtualScheduler.h"
#include "support/CoroTest.h"
#include "support/EndlessServer.h"
#include "support/HostileServer.h"
#include "support/PeakMemory.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace qv;
using namespace qv::test;

namespace {

struct NetworkTransportTest : ::testing::Test {
    VirtualScheduler scheduler;
    NetworkTransport transport;

    HttpOutcome send(const QUrl &url, std::chrono::milliseconds timeout = std::chrono::milliseconds(5000),
                     QByteArray body = R"({"email":"pat@example.test","password":"secret"})")
    {
        HttpRequest request;
        request.method = "POST";
        request.url = url;
        request.headers = {{"Content-Type", "application/json"},
                           {"apikey", "anon-key"},
                           {"Authorization", "Bearer TOKEN"}};
        request.body = std::move(body);
        request.timeout = timeout;
        auto outcome = runTask(scheduler, transport.send(std::move(request)));
        if (!outcome)
            return TransportFailure{TransportFailure::Reason::Network, "did not finish"};
        return std::move(*outcome);
    }

    // Waits on the sockets alone, the virtual clock standing still.
    void waitFor(const std::function<bool()> &done) { scheduler.runUntil(done, 0, 5000); }
};

QString failureOf(const HttpOutcome &outcome)
{
    const auto *failure = std::get_if<TransportFailure>(&outcome);
    return failure ? failure->message : QStringLiteral("<an answer>");
}

} // namespace

TEST_F(NetworkTransportTest, AnAnswerPastTheCapFailsWithoutBeingHeld)
{
    // An endless error body, and one that says its size up front.
    for (const bool declared : {false, true}) {
        SCOPED_TRACE(declared ? "declared length" : "endless");
        HostileServer server([declared](QTcpSocket *socket, const QByteArray &) {
            const QByteArray chunk(256 * 1024, 'x');
            socket->write(declared ? "HTTP/1.1 400 Bad Request\r\nContent-Length: 209715200\r\n\r\n"
                                   : "HTTP/1.1 400 Bad Request\r\nConnection: close\r\n\r\n");
            socket->write(chunk);
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket, chunk] {
                if (socket->bytesToWrite() < chunk.size())
                    socket->write(chunk);
            });
        });
        ASSERT_TRUE(server.listening());
        const HttpOutcome outcome = send(server.url("/auth/v1/token"));
        EXPECT_EQ(failureOf(outcome), NetworkTransport::tooLargeMessage());
        waitFor([&] { return server.closedByClient() == 1; });
        EXPECT_EQ(server.closedByClient(), 1) << "the connection was not dropped";
    }

    // Just under the cap is an ordinary answer.
    const QByteArray body(NetworkTransport::kMaxAnswerBytes, 'y');
    HostileServer fair([&body](QTcpSocket *socket, const QByteArray &) {
        socket->write("HTTP/1.1 400 Bad Request\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n");
        socket->write(body);
    });
    const HttpOutcome outcome = send(fair.url("/auth/v1/token"));
    ASSERT_TRUE(std::holds_alternative<HttpResponse>(outcome)) << failureOf(outcome).toStdString();
    EXPECT_EQ(std::get<HttpResponse>(outcome).body.size(), body.size());
}

TEST_F(NetworkTransportTest, AnAnswerPastTheCapIsCutOffBeforeMemoryGrowsPastASmallMultipleOfTheCap)
{
    // The first exchange loads what the network layer needs only once.
    HostileServer fair([](QTcpSocket *socket, const QByteArray &) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n{}");
    });
    ASSERT_TRUE(std::holds_alternative<HttpResponse>(send(fair.url("/rest/v1/profiles"))));

    for (const auto &[name, head] : kEndlessAnswerHeads) {
        SCOPED_TRACE(name);
        EndlessServer server(head);
        ASSERT_TRUE(server.listening());
        // Far past the test's own wait: only the cap can end it in time.
        HttpOutcome outcome = HttpResponse{};
        const auto growth = peakGrowthBytes(
            [&] { outcome = send(server.url("/rest/v1/profiles"), std::chrono::minutes(10)); });
        EXPECT_EQ(failureOf(outcome), NetworkTransport::tooLargeMessage());
        expectPeakWithinThreeCaps(name, growth, NetworkTransport::kMaxAnswerBytes);
    }
}

TEST_F(NetworkTransportTest, TheTimeoutBoundsTheWholeExchangeNotOnlyASilence)
{
    // One byte every 50 ms: never silent for long, done only after 20 s.
    HostileServer server([](QTcpSocket *socket, const QByteArray &) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 400\r\n\r\n");
        auto *drip = new QTimer(socket);
        QObject::connect(drip, &QTimer::timeout, socket, [socket] { socket->write(" "); });
        drip->start(50);
    });
    ASSERT_TRUE(server.listening());
    const HttpOutcome outcome = send(server.url("/rest/v1/profiles"), std::chrono::milliseconds(400));
    const auto *failure = std::get_if<TransportFailure>(&outcome);
    ASSERT_TRUE(failure) << "the trickled answer was waited for";
    EXPECT_EQ(failure->reason, TransportFailure::Reason::TimedOut);
    EXPECT_EQ(failure->message, HttpTransport::timedOutMessage());
}

TEST_F(NetworkTransportTest, RedirectsAreFollowedWithinTheOriginOnly)
{
    HostileServer elsewhere([](QTcpSocket *socket, const QByteArray &) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n{}");
    });
    ASSERT_TRUE(elsewhere.listening());
    QString location;
    int status = 307;
    HostileServer server([&](QTcpSocket *socket, const QByteArray &head) {
        if (head.startsWith("POST /moved"))
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n{}");
        else
            socket->write(QStringLiteral("HTTP/1.1 %1 Moved\r\nLocation: %2\r\nContent-Length: 0\r\n\r\n")
                              .arg(status)
                              .arg(location)
                              .toUtf8());
    });
    ASSERT_TRUE(server.listening());

    // Another port, another host name for the same machine, another scheme:
    // each another origin, and nothing reaches it.
    const QUrl other = elsewhere.url("/steal");
    QUrl byName = other;
    byName.setHost("localhost");
    QUrl secure = server.url("/moved");
    secure.setScheme("https");
    for (const auto &[code, target] :
         {std::pair{307, other.toString()}, std::pair{308, other.toString()}, std::pair{302, other.toString()},
          std::pair{307, byName.toString()}, std::pair{308, secure.toString()}}) {
        SCOPED_TRACE(target.toStdString() + " " + std::to_string(code));
        status = code;
        location = target;
        EXPECT_EQ(failureOf(send(server.url("/auth/v1/token"))), NetworkTransport::redirectRefusedMessage());
    }
    EXPECT_TRUE(elsewhere.requests().isEmpty()) << elsewhere.requests().first().toStdString();

    // Within the origin the request goes on, body and headers with it.
    status = 307;
    location = server.url("/moved").toString();
    const HttpOutcome outcome = send(server.url("/auth/v1/token"));
    ASSERT_TRUE(std::holds_alternative<HttpResponse>(outcome)) << failureOf(outcome).toStdString();
    EXPECT_EQ(std::get<HttpResponse>(outcome).status, 200);
    EXPECT_TRUE(server.requests().last().contains("secret"));
}
