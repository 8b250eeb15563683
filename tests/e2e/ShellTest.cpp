// The application's shell on the desktop session, by real clicks and keys:
// the command menu of the window-controls island and Ctrl+N, the profile
// avatar after a menu choice, the settings window moved by its background
// and at its smallest size, the project page as the window shrinks and
// grows, and the download page of automatic updates.

#include "AppFixture.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <functional>
#include <iostream>

namespace qv::e2e {
namespace {

const QString kEmail = QStringLiteral("shell@example.com");
const QString kPassword = QStringLiteral("shell-pass-3");

class Shell : public AppFixture {
protected:
    using Element = UiProbe::Element;

    Shell() : AppFixture(kEmail, kPassword) {}

    void TearDown() override
    {
        if (HasFailure())
            std::cerr << "the program's last words:\n" << errors.right(2000).toStdString() << std::endl;
        AppFixture::TearDown();
    }

    void openEditorAndClose(const std::function<void()> &open, const char *how)
    {
        open();
        ASSERT_TRUE(waitFor(QStringLiteral("Text"), {}, 10000)) << how << " opened no editor";
        ASSERT_NO_FATAL_FAILURE(clickIn(QStringLiteral("Text"), QStringLiteral("Close")));
        ASSERT_TRUE(gone(QStringLiteral("Text"), {}, 8000)) << "the editor stayed open";
    }

    // Every push button of the window that shows `mark` lies across inside
    // it, scrolled into view or not.
    void expectButtonsWhole(const QString &mark, const char *when)
    {
        const QList<Element> all = ui->all();
        const Element *m = look::named(all, mark);
        ASSERT_TRUE(m);
        const QRect window = look::windowOf(all, *m);
        int buttons = 0;
        for (const Element &e : all)
            if (e.window == m->window && e.role == kButton && !e.extents.isEmpty() && !e.topLevel) {
                ++buttons;
                EXPECT_GE(e.extents.left(), window.left()) << e.name.toStdString() << " " << when;
                EXPECT_LE(e.extents.right(), window.right()) << e.name.toStdString() << " " << when;
            }
        EXPECT_GT(buttons, 5) << when;
    }

    // Opens the island's command menu with a click and picks its entry at
    // `index` with the keys. A popup menu is no part of the program's
    // accessible windows, so its entries are found by their order.
    void chooseFromIslandMenu(int index)
    {
        const auto button = waitFor(QStringLiteral("Quorvel Menu"), kButton);
        ASSERT_TRUE(button) << "no menu button on the island";
        // The popup opens under the button: that part of the screen changes.
        const QRect under(button->extents.left(), button->extents.bottom() + 8, 120, 40);
        const QImage before = input::grabScreen(under);
        ASSERT_TRUE(input::click(button->extents.center()));
        ASSERT_TRUE(waitUntil([&] { return input::grabScreen(under) != before; }, 5000)) << "no menu opened";
        for (int i = 0; i <= index; ++i)
            ASSERT_TRUE(input::key(QStringLiteral("Down")));
        ASSERT_TRUE(input::key(QStringLiteral("Return")));
    }

    void openProfileMenu()
    {
        const QRect window = look::mainWindow(ui->all());
        ASSERT_TRUE(input::moveTo({window.right() - 80, window.top() + 60}));
        ASSERT_TRUE(press(QStringLiteral("Profile"), kButton, 5000)) << "no profile button";
        ASSERT_TRUE(waitFor(QStringLiteral("Sign Out"), kButton, 5000)) << "no profile menu";
    }

    void resizeMain(QSize size)
    {
        ASSERT_TRUE(input::resizeWindowOf(quorvel.processId(), size));
        ASSERT_TRUE(waitUntil([&] { return look::mainWindow(ui->all()).size() == size; }, 5000))
            << "the window did not take " << size.width() << "x" << size.height();
    }

    // A project made in the editor; its title is the first line's words,
    // as the editor suggests it.
    void makeProject(const QString &title)
    {
        ASSERT_TRUE(press(QStringLiteral("+ NEW PROJECT")));
        ASSERT_TRUE(waitFor(QStringLiteral("Text"), {}, 10000)) << "no editor";
        ASSERT_TRUE(ui->setText(QStringLiteral("Text"),
                                title + QStringLiteral("\n") + QStringLiteral("A line to type. ").repeated(40)));
        ASSERT_TRUE(waitUntil([&] { return windowShowing(QStringLiteral("Text")).isValid() && ui->find(title); }, 5000))
            << "the editor did not take the title " << title.toStdString();
        ASSERT_TRUE(press(QStringLiteral("Save")));
        ASSERT_TRUE(gone(QStringLiteral("Text"), {}, 8000)) << "the editor stayed open";
        ASSERT_TRUE(waitFor(title, {}, 5000)) << "no row for " << title.toStdString();
    }

    // The project page of `title`, opened from its row, checked whole.
    void checkProjectPage(const QString &title, const char *when)
    {
        const QList<Element> all = ui->all();
        const QRect window = look::mainWindow(all);
        const Element *t = look::named(all, title, kLabel);
        const Element *updated = nullptr;
        for (const Element &e : all)
            if (e.name.startsWith(QStringLiteral("Updated ")))
                updated = &e;
        const Element *preview = look::named(all, QStringLiteral("Preview"), kLabel);
        const Element *back = look::named(all, QStringLiteral("Back"), kButton);
        ASSERT_TRUE(t && updated && preview && back) << when;
        for (const char *name : {"Back", "TYPE PROJECT", "EDIT PROJECT", "DELETE PROJECT"}) {
            const Element *b = look::named(all, QString::fromLatin1(name), kButton);
            ASSERT_TRUE(b) << name << " " << when;
            EXPECT_TRUE(window.contains(b->extents)) << name << " " << look::describe(b->extents) << " " << when;
        }
        EXPECT_LE(t->extents.right(), window.right()) << when;
        // A title on one line is one line high: no band above or below.
        if (t->extents.width() < window.width() / 2) {
            EXPECT_LE(t->extents.height(), 2 * updated->extents.height() + 8) << when;
        }
        // The info card is as tall as its content: 16 of padding and 18 of
        // spacing around it, no band inside.
        EXPECT_LE(t->extents.top() - back->extents.bottom(), 18 + 16 + 4) << when;
        EXPECT_LE(preview->extents.top() - updated->extents.bottom(), 16 + 18 + 4) << when;
    }
};

TEST_F(Shell, CommandMenuCtrlNAvatarSettingsWindowAndProjectPageByRealClicks)
{
    ASSERT_NO_FATAL_FAILURE(startQuorvel());
    ASSERT_NO_FATAL_FAILURE(signIn());
    ASSERT_NO_FATAL_FAILURE(enterWorkspace(QStringLiteral("Quorvel"), QStringLiteral("+ NEW PROJECT"), kButton));

    // The command menu on the island, and Ctrl+N through the application's
    // own wiring.
    ASSERT_NO_FATAL_FAILURE(
        openEditorAndClose([&] { ASSERT_NO_FATAL_FAILURE(chooseFromIslandMenu(0)); }, "the menu's New Project"));
    ASSERT_NO_FATAL_FAILURE(openEditorAndClose(
        [&] {
            const QRect window = look::mainWindow(ui->all());
            ASSERT_TRUE(input::click({window.left() + 40, window.bottom() - 40})); // the window has the keys
            ASSERT_TRUE(input::key(QStringLiteral("ctrl+n")));
        },
        "Ctrl+N"));
    ASSERT_NO_FATAL_FAILURE(chooseFromIslandMenu(1));
    ASSERT_TRUE(waitFor(QStringLiteral("NO UPDATES"), {}, 10000)) << "the menu's check showed no answer";
    ASSERT_TRUE(press(QStringLiteral("Return to Dashboard")));
    ASSERT_TRUE(gone(QStringLiteral("NO UPDATES"), {}));

    // The avatar stays while the pointer stays in the corner after a menu
    // entry is chosen, and opens the menu again.
    ASSERT_NO_FATAL_FAILURE(openProfileMenu());
    ASSERT_TRUE(press(QStringLiteral("Check for Updates"), kButton, 3000));
    ASSERT_TRUE(waitFor(QStringLiteral("NO UPDATES"), {}, 10000));
    // The avatar would fade out within 0.2 s.
    ASSERT_FALSE(waitUntil([&] { return !ui->find(QStringLiteral("Profile"), kButton); }, 800))
        << "the avatar hid with the pointer in its corner";
    ASSERT_TRUE(press(QStringLiteral("Profile"), kButton, 3000));
    ASSERT_TRUE(waitFor(QStringLiteral("Sign Out"), kButton, 5000)) << "the avatar did not open the menu again";
    ASSERT_TRUE(press(QStringLiteral("Profile"), kButton, 3000));
    ASSERT_TRUE(press(QStringLiteral("Return to Dashboard")));
    ASSERT_TRUE(gone(QStringLiteral("NO UPDATES"), {}));

    // The settings window moves by its header's background and by the gap
    // beside its cards.
    ASSERT_NO_FATAL_FAILURE(openProfileMenu());
    ASSERT_TRUE(press(QStringLiteral("Settings"), kButton));
    ASSERT_TRUE(waitFor(QStringLiteral("SETTINGS"), kLabel, 10000)) << "no settings window";
    ASSERT_NO_FATAL_FAILURE(atRest(QStringLiteral("SETTINGS")));
    QRect settings = windowShowing(QStringLiteral("SETTINGS"));
    const auto title = ui->find(QStringLiteral("SETTINGS"), kLabel);
    ASSERT_TRUE(title);
    const struct {
        const char *where;
        QPoint from;
        QPoint by;
    } drags[] = {
        {"header",
         {settings.left() + (title->extents.left() - settings.left()) / 2, title->extents.center().y()},
         {90, 60}},
        {"panel margin", {settings.left() + 10, settings.center().y()}, {-50, -30}},
    };
    for (const auto &d : drags) {
        const QRect before = windowShowing(QStringLiteral("SETTINGS"));
        const QPoint from = d.from + (before.topLeft() - settings.topLeft());
        ASSERT_TRUE(input::drag(from, from + d.by));
        // The window manager takes the move over once the pointer has
        // travelled, so the window follows most of the way, not every pixel.
        QRect after;
        EXPECT_TRUE(waitUntil(
            [&] {
                const QRect now = windowShowing(QStringLiteral("SETTINGS"));
                const bool settled = now == after && now.topLeft() != before.topLeft();
                after = now;
                return settled;
            },
            5000))
            << "a drag on the " << d.where << " did not move the window";
        const QPoint moved = after.topLeft() - before.topLeft();
        EXPECT_GE(QPoint::dotProduct(moved, d.by), QPoint::dotProduct(d.by, d.by) / 2)
            << d.where << ": " << look::describe(before) << " to " << look::describe(after);
        EXPECT_LE(moved.manhattanLength(), d.by.manhattanLength() + 6) << d.where;
        EXPECT_EQ(after.size(), before.size()) << d.where;
    }

    // At its smallest size every button lies whole inside it.
    ASSERT_TRUE(input::resizeActiveWindow({560, 640}));
    ASSERT_TRUE(waitUntil([&] { return windowShowing(QStringLiteral("SETTINGS")).size() == QSize(560, 640); }, 5000))
        << look::describe(windowShowing(QStringLiteral("SETTINGS")));
    ASSERT_NO_FATAL_FAILURE(atRest(QStringLiteral("Update Profile")));
    ASSERT_NO_FATAL_FAILURE(expectButtonsWhole(QStringLiteral("SETTINGS"), "at 560x640"));
    ASSERT_NO_FATAL_FAILURE(clickIn(QStringLiteral("SETTINGS"), QStringLiteral("Close")));
    ASSERT_TRUE(gone(QStringLiteral("SETTINGS"), kLabel)) << "the settings window stayed open";

    // The project page: a long title, then a smaller window and a larger
    // one; a one-line title after it.
    const QString longTitle = QStringLiteral("Incomprehensibilities counterrevolutionaries electroencephalographically "
                                             "uncharacteristically institutionalisation internationalization");
    const QString shortTitle = QStringLiteral("Short title");
    ASSERT_NO_FATAL_FAILURE(makeProject(longTitle));
    ASSERT_NO_FATAL_FAILURE(makeProject(shortTitle));
    ASSERT_NO_FATAL_FAILURE(resizeMain({1180, 760}));
    for (const QString &t : {longTitle, shortTitle}) {
        const auto row = waitFor(t, {}, 5000);
        ASSERT_TRUE(row);
        ASSERT_TRUE(input::click(row->extents.center()));
        ASSERT_TRUE(waitFor(QStringLiteral("DELETE PROJECT"), kButton, 5000)) << "no project page";
        ASSERT_NO_FATAL_FAILURE(atRest(QStringLiteral("DELETE PROJECT")));
        ASSERT_NO_FATAL_FAILURE(checkProjectPage(t, "at 1180x760"));
        ASSERT_NO_FATAL_FAILURE(resizeMain({980, 640}));
        ASSERT_NO_FATAL_FAILURE(atRest(QStringLiteral("DELETE PROJECT")));
        ASSERT_NO_FATAL_FAILURE(checkProjectPage(t, "at 980x640"));
        ASSERT_NO_FATAL_FAILURE(resizeMain({1180, 760}));
        ASSERT_NO_FATAL_FAILURE(atRest(QStringLiteral("DELETE PROJECT")));
        ASSERT_NO_FATAL_FAILURE(checkProjectPage(t, "at 1180x760 again"));
        ASSERT_TRUE(press(QStringLiteral("Back")));
        ASSERT_TRUE(waitFor(QStringLiteral("+ NEW PROJECT"), kButton, 5000));
    }
}

// The site announces a newer version.
class NewerVersion : public Shell {
protected:
    NewerVersion() { backendArguments = {QStringLiteral("--appcast-version"), QStringLiteral("99.0.0")}; }
};

// With automatic updates on and a newer version announced, the launch
// check, the dashboard's check and a second sign-in open the download page
// once between them.
TEST_F(NewerVersion, TheDownloadPageOpensOncePerRun)
{
    // A stand-in for the desktop's opener, which notes each address.
    const QString bin = home.filePath(QStringLiteral("bin"));
    const QString opened = home.filePath(QStringLiteral("opened.txt"));
    ASSERT_TRUE(QDir().mkpath(bin));
    QFile opener(bin + QStringLiteral("/xdg-open"));
    ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
    opener.write(QStringLiteral("#!/bin/sh\necho \"$1\" >> '%1'\n").arg(opened).toUtf8());
    opener.close();
    opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner);
    env.insert(QStringLiteral("PATH"), bin + QLatin1Char(':') + env.value(QStringLiteral("PATH")));
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral(".config/Quorvel"))));
    QFile prefs(home.filePath(QStringLiteral(".config/Quorvel/preferences.json")));
    ASSERT_TRUE(prefs.open(QIODevice::WriteOnly));
    prefs.write(R"({"qv_autoUpdateEnabled": true})");
    prefs.close();

    const auto openings = [&] {
        QFile f(opened);
        return f.open(QIODevice::ReadOnly) ? f.readAll().count('\n') : 0;
    };
    ASSERT_NO_FATAL_FAILURE(startQuorvel());
    ASSERT_TRUE(waitUntil([&] { return openings() >= 1; }, 15000)) << "the launch check opened nothing";
    for (int signIns = 0; signIns < 2; ++signIns) {
        ASSERT_NO_FATAL_FAILURE(signIn());
        ASSERT_TRUE(waitFor(QStringLiteral("Choose Your Space"), {}, 15000)) << "no dashboard";
        // The dashboard's own check answers at once from the local site.
        EXPECT_FALSE(waitUntil([&] { return openings() > 1; }, 1500)) << "opened again at sign-in " << signIns + 1;
        ASSERT_NO_FATAL_FAILURE(openProfileMenu());
        ASSERT_TRUE(press(QStringLiteral("Sign Out"), kButton));
    }
    EXPECT_EQ(openings(), 1);
    EXPECT_FALSE(ui->find(QStringLiteral("NEW UPDATE"))) << "automatic updates show no card";
}

} // namespace
} // namespace qv::e2e
