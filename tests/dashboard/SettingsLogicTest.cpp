#include "dashboard/AvatarChooser.h"
#include "dashboard/ProfileIslandState.h"
#include "dashboard/SettingsLinks.h"
#include "dashboard/SettingsText.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::dashboard;

TEST(Initials, SplitOnPlainSpacesOnlyTakeWholeGraphemesAndUpperCaseTheWholeResult)
{
    // A tab or a line break does not separate words; upper-casing may lengthen
    // the result; an accented letter, a flag and a family emoji are one character each.
    for (auto [name, want] : {std::pair{"blue river", "BR"},
                              {"  blue  ", "B"},
                              {"one two three", "OT"},
                              {"  one   two  three ", "OT"},
                              {"", "QV"},
                              {"     ", "QV"},
                              {"blue\triver", "B"},
                              {"blue\nriver", "B"},
                              {"ßig", "SS"},
                              {"éva", "É"},
                              {"ﬁona", "FI"},
                              {"e\u0301mile zola", "E\u0301Z"},
                              {"🇫🇷 paris", "🇫🇷P"},
                              {"👩‍👩‍👧 family 😀x", "👩‍👩‍👧F"},
                              {"😀x 🙂y", "😀🙂"}})
        EXPECT_EQ(initials(QString::fromUtf8(name)), QString::fromUtf8(want)) << name;
}

TEST(SettingsLabels, UnknownPresetsAndModesFallBackToTheirDefaults)
{
    EXPECT_EQ(presetLabel("anything else"), presetLabel("balanced"));
    EXPECT_EQ(presetLabel(""), presetLabel("balanced"));
    EXPECT_EQ(modeLabel("WPM"), modeLabel("time")); // the stored value is case-sensitive
}

TEST(SmartPreview, BlankSamplesShowNoLineAndOthersFormatTheProfile)
{
    state::SmartProfile profile;
    profile.essayType = "Argumentative";
    profile.grade = "11";
    profile.review = "heavy";
    profile.predictedMinutes = 7;
    EXPECT_FALSE(smartPreviewLine("", profile));
    EXPECT_FALSE(smartPreviewLine(" \n\t \u2028", profile));
    const auto line = smartPreviewLine("  Some text  ", profile);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->heading, "Preview: Argumentative");
    EXPECT_EQ(line->detail, QString::fromUtf8("Grade 11 • Heavy"));
    EXPECT_EQ(line->minutes, QString::fromUtf8("≈ 7m"));
}

TEST(SettingsLinks, GuidesSitUnderTheSiteAndTheMailboxMustBeOnePlainAddress)
{
    const SettingsLinks links = SettingsLinks::forSite(QUrl("https://site.example/base/"), "help@site.example");
    EXPECT_EQ(links.installGuideURL, "https://site.example/base/quorvel-site/download.html#install-walkthrough");
    EXPECT_EQ(links.permissionsGuideURL, "https://site.example/base/quorvel-site/accessibility.html");
    EXPECT_EQ(links.settingsGuideURL, "https://site.example/base/quorvel-site/support.html#support-guides");

    EXPECT_EQ(mailtoUrl("help@site.example"), QUrl("mailto:help@site.example"));
    for (const char *bad :
         {"", "help@site.example?cc=other@evil.example", "help@site.example,other@evil.example", "not an address"})
        EXPECT_FALSE(mailtoUrl(bad)) << bad;

    EXPECT_TRUE(parseAddress("https://site.example/a.html#b"));
    for (const char *bad : {"/relative/path", "http://exa mple.com/", ""})
        EXPECT_FALSE(parseAddress(bad)) << bad;
}

TEST(AvatarChooser, AcceptsPngJpegAndTiffByName)
{
    for (const char *ok : {"/a/b.png", "/a/b.PNG", "/a/b.jpg", "/a/b.jpeg", "/a/b.tif", "/a/b.tiff"})
        EXPECT_TRUE(AvatarChooser::isAcceptedPicture(QString::fromLatin1(ok))) << ok;
    for (const char *no : {"/a/b.gif", "/a/b.pdf", "/a/b", "/a/b.png.txt", "/a/b.svg"})
        EXPECT_FALSE(AvatarChooser::isAcceptedPicture(QString::fromLatin1(no))) << no;
}

TEST(ProfileIslandState, TheButtonFollowsThePointerAndStaysWhileTheMenuIsOpen)
{
    ProfileIslandState s;
    int buttonChanges = 0;
    QObject::connect(&s, &ProfileIslandState::showProfileButtonChanged, [&] { ++buttonChanges; });
    s.hoverArea(true);
    EXPECT_TRUE(s.showProfileButton());
    s.toggleMenu();
    EXPECT_TRUE(s.showProfileMenu());
    // Leaving while the menu is open keeps the button.
    s.hoverArea(false);
    EXPECT_FALSE(s.isProfileHovering());
    EXPECT_TRUE(s.showProfileButton());
    // Closing the menu hands the button back to the pointer.
    s.toggleMenu();
    EXPECT_FALSE(s.showProfileButton());
    EXPECT_EQ(buttonChanges, 2);

    s.hoverArea(true);
    s.setShowProfileMenu(true);
    s.setShowProfileMenu(false);
    EXPECT_TRUE(s.showProfileButton());
}

TEST(ProfileIslandState, LeavingTheButtonForTheMenuInsideTheAreaKeepsTheButton)
{
    // The pointer enters the area, then the button, opens the menu, moves
    // onto it (off the button, still in the area) and picks an entry.
    ProfileIslandState s;
    s.hoverArea(true);
    s.hoverButton(true);
    s.toggleMenu();
    s.hoverButton(false);
    s.setShowProfileMenu(false);
    EXPECT_TRUE(s.isProfileHovering());
    EXPECT_TRUE(s.showProfileButton());
    // Over the button alone (the area reported its exit first) it stays too.
    s.hoverArea(false);
    s.hoverButton(true);
    EXPECT_TRUE(s.showProfileButton());
    s.hoverButton(false);
    EXPECT_FALSE(s.showProfileButton());
}
