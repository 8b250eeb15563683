#include "platform/sim/SimDesktop.h"

#include <gtest/gtest.h>

using namespace qv::sim;
using qv::platform::TypedData;

namespace {
class SimPasteboardTest : public ::testing::Test {
protected:
    qv::VirtualScheduler clock;
    SimDesktop sim{clock};
    qv::platform::Pasteboard &pb = sim.pasteboard();
};
} // namespace

TEST_F(SimPasteboardTest, ItemsKeepTheirTypesInOrderAndBytesExactly)
{
    const QByteArray binary("\x00\xff\x01rtf", 6);
    const QList<TypedData> items{
        {{"text/rtf", binary}, {"text/plain", QByteArray("h\xC3\xA9llo")}},
        {{"image/png", QByteArray("\x89PNG", 4)}},
        {},
    };
    pb.writeItems(items);
    EXPECT_EQ(pb.items(), items);
    EXPECT_EQ(pb.plainText(), QString::fromUtf8("h\xC3\xA9llo"));
    // The clipboard as a whole offers its first item's types.
    EXPECT_EQ(pb.directData(), items[0]);
    EXPECT_EQ(pb.changeCount(), 1);
}

TEST_F(SimPasteboardTest, ClipboardLevelDataWithoutItems)
{
    pb.clear();
    pb.setDirectData("text/html", "<b>x</b>");
    pb.setDirectData("text/plain", "x");
    pb.setDirectData("text/html", "<i>x</i>"); // replaced in place
    EXPECT_TRUE(pb.items().isEmpty());
    EXPECT_EQ(pb.directData(), (TypedData{{"text/html", "<i>x</i>"}, {"text/plain", "x"}}));
    EXPECT_EQ(pb.plainText(), "x");
    EXPECT_EQ(pb.changeCount(), 4);

    pb.clear();
    EXPECT_TRUE(pb.directData().isEmpty());
    EXPECT_FALSE(pb.plainText());
}

TEST_F(SimPasteboardTest, EveryChangeCountsAndEveryUseIsLogged)
{
    qint64 last = pb.changeCount();
    const auto grew = [&] {
        const qint64 now = pb.changeCount();
        const bool up = now > last;
        last = now;
        return up;
    };
    pb.clear();
    EXPECT_TRUE(grew());
    pb.writeItems({{{"text/plain", "a"}}});
    EXPECT_TRUE(grew());
    sim.userSetPasteboardText("b");
    EXPECT_TRUE(grew());
    sim.userSetPasteboardItems({{{"text/uri-list", "file:///x"}}});
    EXPECT_TRUE(grew());
    EXPECT_FALSE(pb.plainText());
    (void)pb.items();
    EXPECT_FALSE(grew());

    const auto &log = sim.log();
    EXPECT_EQ(log.countClipboard(ClipboardEvent::Kind::Clear), 1);
    EXPECT_EQ(log.countClipboard(ClipboardEvent::Kind::WriteItems), 1);
    EXPECT_EQ(log.countClipboard(ClipboardEvent::Kind::UserChange), 2);
    EXPECT_EQ(log.countClipboard(ClipboardEvent::Kind::ReadPlainText), 1);
}
