#include "platform/linux/Toolkit.h"

#include <gtest/gtest.h>

namespace qv::linuxdesktop {
namespace {

TEST(Toolkit, RecognisesTheNamesApplicationsReport)
{
    EXPECT_EQ(toolkits::fromName(QStringLiteral("GTK")), Toolkit::Gtk);
    EXPECT_EQ(toolkits::fromName(QStringLiteral("gtk")), Toolkit::Gtk);
    EXPECT_EQ(toolkits::fromName(QStringLiteral("Qt")), Toolkit::Qt);
    EXPECT_EQ(toolkits::fromName(QStringLiteral("Chromium")), Toolkit::Chromium);
    EXPECT_EQ(toolkits::fromName(QStringLiteral("Gecko")), Toolkit::Gecko);
    EXPECT_EQ(toolkits::fromName(QStringLiteral("")), Toolkit::Unknown);
    EXPECT_EQ(toolkits::fromName(QStringLiteral("VCL")), Toolkit::Unknown);
}

TEST(Toolkit, BackspaceCountsFollowTheToolkit)
{
    const QString family = QStringLiteral("👨‍👩‍👧"); // one grapheme, five code points
    const QString flag = QStringLiteral("🇫🇷");                   // one grapheme, two code points
    const QString combined = QStringLiteral("e\u0301");
    const QString skin = QStringLiteral("👍🏽");
    EXPECT_EQ(toolkits::backspacePresses(family, Toolkit::Gtk), 1);
    EXPECT_EQ(toolkits::backspacePresses(family, Toolkit::Qt), 5);
    EXPECT_EQ(toolkits::backspacePresses(flag, Toolkit::Gtk), 1);
    EXPECT_EQ(toolkits::backspacePresses(flag, Toolkit::Qt), 2);
    EXPECT_EQ(toolkits::backspacePresses(combined, Toolkit::Qt), 2);
    EXPECT_EQ(toolkits::backspacePresses(skin + QStringLiteral("ab"), Toolkit::Qt), 4);
    EXPECT_EQ(toolkits::backspacePresses(skin + QStringLiteral("ab"), Toolkit::Chromium), 3);
    EXPECT_EQ(toolkits::backspacePresses(family, Toolkit::Unknown), 1);
    EXPECT_EQ(toolkits::backspacePresses(QString(), Toolkit::Qt), 0);
}

TEST(Toolkit, ArrowsCrossOneGraphemeEverywhere)
{
    EXPECT_EQ(toolkits::arrowPresses(QStringLiteral("a👨‍👩‍👧🇫🇷e\u0301")), 4);
    EXPECT_EQ(toolkits::arrowPresses(QString()), 0);
}

} // namespace
} // namespace qv::linuxdesktop
