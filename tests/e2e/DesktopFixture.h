#pragma once

// What every test on the desktop session starts from: the Linux backend on
// the real clock (skipped outside the session), and the target programs
// with their own view of their text and of the clipboard.

#include "TargetApp.h"

#include "core/QtScheduler.h"
#include "core/Text.h"
#include "platform/linux/AtspiAccessibility.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/X11Workspace.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace qv::e2e {

inline const char *kindName(TargetApp::Kind kind)
{
    switch (kind) {
    case TargetApp::Kind::Gtk:
        return "Gtk";
    case TargetApp::Kind::Qt:
        return "Qt";
    case TargetApp::Kind::Chromium:
        return "Chromium";
    }
    return "?";
}

// Names the cases of a suite run once per toolkit.
inline std::string toolkitName(const ::testing::TestParamInfo<TargetApp::Kind> &info) { return kindName(info.param); }

class DesktopFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs the desktop session: scripts/desktop-session run -- ctest -L e2e";
        platform = std::make_unique<linuxdesktop::LinuxPlatform>(scheduler);
        if (!platform->atspi().isAvailable() || !platform->permissions().accessibilityReady())
            GTEST_SKIP() << "the accessibility bus is not enabled";
    }

    std::unique_ptr<TargetApp> startTarget(TargetApp::Kind kind)
    {
        auto target = std::make_unique<TargetApp>(kind);
        QString why;
        EXPECT_TRUE(target->start(&why)) << why.toStdString();
        return target;
    }

    bool bringToFront(TargetApp &target)
    {
        return target.activate()
               && waitUntil([&] { return platform->x11Workspace().frontmostPid() == target.pid(); }, kSettleMs);
    }

    // The target's own text once it has stopped changing towards `expected`.
    static std::optional<QString> settledDump(TargetApp &target, const QString &which, const QString &expected)
    {
        std::optional<QString> text;
        waitUntil(
            [&] {
                text = target.dump(which);
                return text == expected;
            },
            3000);
        return text;
    }

    // The clipboard's bytes of one type as the target program reads them.
    static QByteArray clipOf(TargetApp &app, const QString &type)
    {
        const QString hex = app.command(QStringLiteral("readclip ") + type).section(QLatin1Char(' '), 2);
        return hex == QLatin1String("-") ? QByteArray() : QByteArray::fromHex(hex.toLatin1());
    }

    // Every type the GTK target's "clip" command put on the clipboard, as
    // that program reads it back.
    static void expectTargetsClipboard(TargetApp &app)
    {
        EXPECT_EQ(clipOf(app, QStringLiteral("text/html")), QByteArray("<b>clip</b> html"));
        EXPECT_EQ(clipOf(app, QStringLiteral("application/x-quorvel-test")), QByteArray("custom\001bytes"));
        EXPECT_EQ(clipOf(app, QStringLiteral("UTF8_STRING")), QByteArray("clip text ✓"));
    }

    platform::Accessibility &ax() { return platform->accessibility(); }

    bool writeRange(const platform::Element &e, platform::TextRange range)
    {
        return runReal(ax().writeAndConfirm(e, platform::Attribute::SelectedTextRange, QVariant::fromValue(range)))
            .value_or(false);
    }

    // Types a text grapheme by grapheme through the backend's keyboard, the
    // way a run does.
    void typeKeys(const QString &text, double gapMs = 4)
    {
        auto &keyboard = platform->keyboard();
        auto job = [&]() -> QCoro::Task<> {
            co_await keyboard.prepare(text);
            for (const QString &g : text::graphemes(text)) {
                co_await keyboard.typeGrapheme(g);
                co_await scheduler.sleep(gapMs);
            }
            keyboard.finish();
        };
        ASSERT_TRUE(runReal(job(), 60000));
    }

    QtScheduler scheduler;
    std::unique_ptr<linuxdesktop::LinuxPlatform> platform;
};

} // namespace qv::e2e
