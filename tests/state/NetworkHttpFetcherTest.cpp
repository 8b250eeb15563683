// The update feed's fetcher against a server of the test's own: a fair
// answer arrives whole; an endless one, a trickled one and a redirect loop
// each end in nothing, promptly, without the body being held.

#include "state/NetworkHttpFetcher.h"

#include "core/VirtualScheduler.h"
#include "support/EndlessServer.h"
#include "support/HostileServer.h"
#include "support/PeakMemory.h"

#include <QTimer>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::state;
using namespace qv::test;

namespace {

struct Fetched {
    bool finished = false;
    std::optional<QByteArray> data;
};

Fetched fetch(NetworkHttpFetcher &fetcher, const QUrl &url)
{
    VirtualScheduler scheduler;
    Fetched out;
    fetcher.get(url, [&out](std::optional<QByteArray> data) {
        out.finished = true;
        out.data = std::move(data);
    });
    scheduler.runUntil([&] { return out.finished; }, 0, 10'000);
    return out;
}

} // namespace

TEST(NetworkHttpFetcherTest, AFairAnswerArrivesWholeWhateverItsStatus)
{
    for (const QByteArray &status : {QByteArray("200 OK"), QByteArray("404 Not Found")}) {
        SCOPED_TRACE(status.toStdString());
        const QByteArray body(NetworkHttpFetcher::kMaxAnswerBytes, 'f');
        HostileServer server([&](QTcpSocket *socket, const QByteArray &) {
            socket->write("HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n");
            socket->write(body);
        });
        ASSERT_TRUE(server.listening());
        NetworkHttpFetcher fetcher(5000);
        const Fetched got = fetch(fetcher, server.url("/quorvel-site/appcast.xml"));
        ASSERT_TRUE(got.finished);
        ASSERT_TRUE(got.data.has_value());
        EXPECT_EQ(got.data->size(), body.size());
    }
}

// Each hop's path names the next, up to the last one the cap allows, which
// answers; a relative and an absolute location are both followed.
TEST(NetworkHttpFetcherTest, RedirectsWithinTheCapAreFollowedOneRequestPerHop)
{
    HostileServer *self = nullptr;
    HostileServer server([&self](QTcpSocket *socket, const QByteArray &) {
        const int hop = int(self->requests().size());
        if (hop <= NetworkHttpFetcher::kMaxRedirects) {
            const QByteArray next = hop % 2 ? self->url(QStringLiteral("/hop%1").arg(hop)).toEncoded()
                                            : QByteArray("/hop") + QByteArray::number(hop);
            socket->write("HTTP/1.1 302 Found\r\nLocation: " + next + "\r\nContent-Length: 0\r\n\r\n");
        } else {
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nfeed");
        }
    });
    self = &server;
    ASSERT_TRUE(server.listening());
    NetworkHttpFetcher fetcher(5000);
    const Fetched got = fetch(fetcher, server.url("/hop0"));
    ASSERT_TRUE(got.finished);
    EXPECT_EQ(got.data, std::optional<QByteArray>("feed"));
    ASSERT_EQ(server.requests().size(), NetworkHttpFetcher::kMaxRedirects + 1);
    EXPECT_TRUE(server.requests().last().startsWith("GET /hop5 "));
}

TEST(NetworkHttpFetcherTest, HostileAnswersGiveNothing)
{
    // The size cases get a deadline far past the test's own wait: only the
    // cap can end them in time.
    struct Case {
        const char *name;
        HostileServer::Behaviour behaviour;
        int timeoutMs;
    };
    const Case cases[] = {
        {"endless body",
         [](QTcpSocket *socket, const QByteArray &) {
             const QByteArray chunk(256 * 1024, 'x');
             socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
             socket->write(chunk);
             QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket, chunk] {
                 if (socket->bytesToWrite() < chunk.size())
                     socket->write(chunk);
             });
         },
         60'000},
        {"declared too large",
         [](QTcpSocket *socket, const QByteArray &) {
             socket->write("HTTP/1.1 200 OK\r\nContent-Length: 209715200\r\n\r\n");
             socket->write(QByteArray(2 * NetworkHttpFetcher::kMaxAnswerBytes, 'x'));
         },
         60'000},
        // Never silent for long, so only a deadline over the whole exchange ends it.
        {"trickled",
         [](QTcpSocket *socket, const QByteArray &) {
             socket->write("HTTP/1.1 200 OK\r\nContent-Length: 4000\r\n\r\n");
             auto *drip = new QTimer(socket);
             QObject::connect(drip, &QTimer::timeout, socket, [socket] { socket->write("<"); });
             drip->start(50);
         },
         400},
        {"redirect loop",
         [](QTcpSocket *socket, const QByteArray &) {
             socket->write("HTTP/1.1 302 Found\r\nLocation: /again\r\nContent-Length: 0\r\n\r\n");
         },
         5000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        HostileServer server(c.behaviour);
        ASSERT_TRUE(server.listening());
        NetworkHttpFetcher fetcher(c.timeoutMs);
        const Fetched got = fetch(fetcher, server.url("/quorvel-site/appcast.xml"));
        ASSERT_TRUE(got.finished) << "the fetch never ended";
        EXPECT_FALSE(got.data.has_value());
        if (std::string_view(c.name) == "redirect loop") {
            EXPECT_LE(server.requests().size(), NetworkHttpFetcher::kMaxRedirects + 1);
        }
    }
}

TEST(NetworkHttpFetcherTest, AnAnswerPastTheCapIsCutOffBeforeMemoryGrowsPastASmallMultipleOfTheCap)
{
    // The first fetch loads what the network layer needs only once.
    NetworkHttpFetcher fetcher(600'000);
    HostileServer fair([](QTcpSocket *socket, const QByteArray &) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n<>");
    });
    ASSERT_TRUE(fetch(fetcher, fair.url("/appcast.xml")).data);

    for (const auto &[name, head] : kEndlessAnswerHeads) {
        SCOPED_TRACE(name);
        EndlessServer server(head);
        ASSERT_TRUE(server.listening());
        Fetched got;
        const auto growth = peakGrowthBytes([&] { got = fetch(fetcher, server.url("/appcast.xml")); });
        ASSERT_TRUE(got.finished) << "the fetch never ended";
        EXPECT_FALSE(got.data.has_value());
        expectPeakWithinThreeCaps(name, growth, NetworkHttpFetcher::kMaxAnswerBytes);
    }
}
