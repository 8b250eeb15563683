#include "platform/sim/SimFileChooser.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

using namespace qv;

TEST(SimFileChooserTest, ARequestWaitsForTheUsersAnswerAndAQueuedAnswerComesLaterNeverInsideTheCall)
{
    sim::SimFileChooser chooser;
    std::optional<std::optional<QString>> got;
    chooser.chooseFile({"Choose a picture", {"Images (*.png *.jpg)"}}, nullptr, [&](auto path) { got = path; });
    EXPECT_FALSE(got);
    EXPECT_EQ(chooser.waiting(), 1);
    ASSERT_EQ(chooser.requests().size(), 1);
    EXPECT_EQ(chooser.requests()[0].nameFilters, QStringList{"Images (*.png *.jpg)"});
    EXPECT_TRUE(chooser.answer(QString("/tmp/a.png")));
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, QString("/tmp/a.png"));
    EXPECT_FALSE(chooser.answer(std::nullopt));

    chooser.queueAnswer(std::nullopt);
    int calls = 0;
    chooser.chooseFile({}, nullptr, [&](auto path) {
        ++calls;
        got = path;
    });
    EXPECT_EQ(calls, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(*got, std::nullopt); // cancelled
}

TEST(SimFileChooserTest, NoAnswerReachesAnAskerThatIsGone)
{
    sim::SimFileChooser chooser;
    auto asker = std::make_unique<QObject>();
    int calls = 0;
    chooser.chooseFile({}, asker.get(), [&](auto) { ++calls; });
    asker.reset();
    EXPECT_TRUE(chooser.answer(QString("/tmp/a.pdf")));
    EXPECT_EQ(calls, 0);
}
