#include "platform/Accessibility.h"
#include "platform/linux/AtspiRoles.h"
#include "platform/linux/ClipboardFormats.h"
#include "platform/linux/FrontmostDebounce.h"
#include "platform/linux/UnresponsiveApps.h"

#include <atspi/atspi-constants.h>

#include <gtest/gtest.h>

namespace qv::linuxdesktop {
namespace {

constexpr qint64 kMs = 1'000'000;

TEST(UnresponsiveApps, BacksOffForTenSecondsPerApplication)
{
    UnresponsiveApps apps;
    EXPECT_FALSE(apps.isBackedOff(42, 0));
    apps.mark(42, 1'000 * kMs);
    EXPECT_TRUE(apps.isBackedOff(42, 1'000 * kMs));
    EXPECT_TRUE(apps.isBackedOff(42, 10'999 * kMs));
    EXPECT_FALSE(apps.isBackedOff(42, 11'000 * kMs)) << "asked again after ten seconds";
    EXPECT_FALSE(apps.isBackedOff(43, 2'000 * kMs)) << "other applications are not affected";
    apps.mark(42, 20'000 * kMs);
    apps.forget(42);
    EXPECT_FALSE(apps.isBackedOff(42, 20'001 * kMs));
}

TEST(FrontmostDebounce, KeepsThePreviousApplicationThroughAShortGap)
{
    FrontmostDebounce d;
    EXPECT_EQ(d.observe(0, 0), 0) << "nothing known yet";
    EXPECT_EQ(d.observe(100, 10 * kMs), 100);
    EXPECT_EQ(d.observe(0, 20 * kMs), 100);
    EXPECT_EQ(d.observe(0, 310 * kMs), 100);
    EXPECT_EQ(d.observe(200, 315 * kMs), 200) << "a new application counts at once";
    EXPECT_EQ(d.observe(0, 400 * kMs), 200);
    EXPECT_EQ(d.observe(0, 700 * kMs), 0) << "a long gap means nothing is in front";
    EXPECT_EQ(d.observe(0, 710 * kMs), 0);
}

TEST(ClipboardFormats, MetaTargetsAreNeitherSavedNorRestored)
{
    for (const char *meta : {"TARGETS", "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS", "DELETE", "x-special/TARGETS"})
        EXPECT_TRUE(clipboard::isMetaTarget(QString::fromLatin1(meta))) << meta;
    for (const char *data :
         {"text/plain", "text/html", "UTF8_STRING", "image/png", "application/x-qt-image", "targets"})
        EXPECT_FALSE(clipboard::isMetaTarget(QString::fromLatin1(data))) << data;
}

// What a snapshot asks another owner for: each type it writes back, once,
// from the target that gives it best.
TEST(ClipboardFormats, ASnapshotReadsEachTypeItRestoresOnceFromItsBestTarget)
{
    using clipboard::TypeSource;
    struct Case {
        const char *what;
        QList<QByteArray> targets;
        QList<TypeSource> types;
    };
    const QList<Case> cases = {
        {"a text editor's copy",
         {"TIMESTAMP", "TARGETS", "MULTIPLE", "SAVE_TARGETS", "UTF8_STRING", "COMPOUND_TEXT", "TEXT", "STRING",
          "text/plain;charset=utf-8", "text/plain"},
         {{"text/plain", "UTF8_STRING"}, {"COMPOUND_TEXT", "COMPOUND_TEXT"},
          {"text/plain;charset=utf-8", "text/plain;charset=utf-8"}}},
        {"a word processor's copy, its own formats in its order",
         {"application/x-openoffice-embed-source-xml;windows_formatname=\"Star Embed Source (XML)\"", "text/rtf",
          "text/html", "STRING", "UTF8_STRING", "image/png", "PIXMAP", "TARGETS"},
         {{"application/x-openoffice-embed-source-xml;windows_formatname=\"Star Embed Source (XML)\"",
           "application/x-openoffice-embed-source-xml;windows_formatname=\"Star Embed Source (XML)\""},
          {"text/rtf", "text/rtf"},
          {"text/html", "text/html"},
          {"text/plain", "UTF8_STRING"},
          {"image/png", "image/png"}}},
        {"only Latin-1 text", {"TEXT", "STRING"}, {{"text/plain", "STRING"}}},
        {"listed twice", {"text/html", "text/html", "x-special/TARGETS"}, {{"text/html", "text/html"}}},
        {"nothing to keep", {"TARGETS", "TIMESTAMP", "BITMAP"}, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(clipboard::restorableTypes(c.targets), c.types) << c.what;

    EXPECT_EQ(clipboard::decoded({"text/plain", "STRING"}, QByteArray("caf\xe9")), QString::fromUtf8("café").toUtf8());
    EXPECT_EQ(clipboard::decoded({"text/plain", "UTF8_STRING"}, QByteArray("caf\xc3\xa9")),
              QByteArray("caf\xc3\xa9"));
    EXPECT_EQ(clipboard::plainTextTargets().first(), QByteArray("UTF8_STRING"));
    EXPECT_EQ(clipboard::plainTextTargets().last(), QByteArray("text/plain;charset=utf-8"));
}

TEST(AtspiRoles, MapsBusRolesToOurVocabulary)
{
    using namespace platform::Roles;
    EXPECT_EQ(roles::roleFor(ATSPI_ROLE_TEXT, false, QStringLiteral("text")), TextField);
    EXPECT_EQ(roles::roleFor(ATSPI_ROLE_TEXT, true, QStringLiteral("text")), TextArea);
    EXPECT_EQ(roles::roleFor(ATSPI_ROLE_ENTRY, false, QStringLiteral("entry")), TextField);
    EXPECT_EQ(roles::roleFor(ATSPI_ROLE_PASSWORD_TEXT, false, QStringLiteral("password text")), SecureTextField);
    EXPECT_EQ(roles::roleFor(ATSPI_ROLE_DOCUMENT_WEB, true, QStringLiteral("document web")), WebArea);
    EXPECT_EQ(roles::roleFor(ATSPI_ROLE_TERMINAL, true, QStringLiteral("terminal")), Terminal);
    EXPECT_EQ(roles::roleFor(ATSPI_ROLE_FRAME, false, QStringLiteral("frame")), Window);
    EXPECT_EQ(roles::roleFor(ATSPI_ROLE_PUSH_BUTTON, false, QStringLiteral("push button")), Button);
    // Roles we have no word for keep the bus's own name.
    EXPECT_EQ(roles::roleFor(ATSPI_ROLE_SCROLL_PANE, false, QStringLiteral("scroll pane")),
              QStringLiteral("scroll pane"));
    EXPECT_EQ(roles::roleFor(ATSPI_ROLE_INVALID, false, QString()), Unknown);
    // Text that does not say how many lines it has is no text field.
    EXPECT_EQ(roles::roleFor(ATSPI_ROLE_TEXT, std::nullopt, QStringLiteral("text")), TextView);
}

// One line means no Return and no Tab: only what the bus plainly says, or
// what an entry's role and Qt's marks imply, counts as one line.
TEST(AtspiRoles, LineKindOfTextBoxes)
{
    struct Case {
        const char *box;
        int role;
        bool multi, single, editable;
        Toolkit toolkit;
        std::optional<bool> lines;
    };
    const Case cases[] = {
        {"GTK text view", ATSPI_ROLE_TEXT, true, false, true, Toolkit::Gtk, true},
        {"GTK entry", ATSPI_ROLE_TEXT, false, true, true, Toolkit::Gtk, false},
        {"browser text area", ATSPI_ROLE_ENTRY, true, false, true, Toolkit::Chromium, true},
        {"browser input", ATSPI_ROLE_ENTRY, false, true, true, Toolkit::Gecko, false},
        {"entry without a mark", ATSPI_ROLE_ENTRY, false, false, true, Toolkit::Unknown, false},
        {"password box without a mark", ATSPI_ROLE_PASSWORD_TEXT, false, false, true, Toolkit::Unknown, false},
        {"Qt plain text edit", ATSPI_ROLE_TEXT, true, false, true, Toolkit::Qt, true},
        {"Qt line edit", ATSPI_ROLE_TEXT, false, false, true, Toolkit::Qt, false},
        {"Qt read-only text", ATSPI_ROLE_TEXT, false, false, false, Toolkit::Qt, std::nullopt},
        {"unmarked text elsewhere", ATSPI_ROLE_TEXT, false, false, true, Toolkit::Unknown, std::nullopt},
        {"editable section", ATSPI_ROLE_SECTION, false, false, true, Toolkit::Qt, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(roles::lineKind(c.role, c.multi, c.single, c.editable, c.toolkit), c.lines) << c.box;
}

} // namespace
} // namespace qv::linuxdesktop
