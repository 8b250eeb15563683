// Quitting from every kind of page, as a user does it on the desktop
// session: the real application signed in against the development backend,
// driven by real pointer clicks found through the accessibility bus. From
// each page it signs out, signs in again, comes back and quits (the island's
// close dot, the window manager's close, or SIGTERM as a logout sends it).
// It must exit normally, and what was stored must still be there.

#include "AppFixture.h"

#include "core/WallClock.h"
#include "model/Storage.h"

#include <QDir>
#include <QFile>
#include <QImage>

// Last: its macros clash with the test framework's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace qv::e2e {
namespace {

const QString kEmail = QStringLiteral("leaver@example.com");
const QString kPassword = QStringLiteral("leaver-pass-7");
const QString kProjectTitle = QStringLiteral("Harbour notes");
const QString kProjectText = QStringLiteral("The tide came in twice before noon.");
const QString kSetTitle = QStringLiteral("Tide words");

const QString kMainWindow = QStringLiteral("Quorvel");

enum class Page { projectPage, editor, setPage, session, test };
enum class Quit { closeDot, windowManager, terminate };

class QuitFromAnywhere : public AppFixture {
protected:
    QuitFromAnywhere() : AppFixture(kEmail, kPassword) {}

    void SetUp() override
    {
        AppFixture::SetUp();
        if (!IsSkipped() && !HasFatalFailure())
            seedData();
    }

    void TearDown() override
    {
        if (HasFailure())
            screenshot(testName() + QStringLiteral("-failed"));
        AppFixture::TearDown();
    }

    AppConfig dataFolders() const
    {
        return AppConfig::inFolders(home.filePath(QStringLiteral("Desktop")),
                                    home.filePath(QStringLiteral(".local/share")));
    }

    // One project and one set of four cards, stored before the start.
    void seedData()
    {
        Storage storage(dataFolders(), clock);
        Project p;
        p.id = QUuid::createUuid();
        p.title = kProjectTitle;
        p.text = kProjectText;
        p.wpm = 60;
        p.updatedAt = QDateTime::currentDateTimeUtc();
        ASSERT_TRUE(storage.saveProjects({p}));
        StudyProject set;
        set.id = QUuid::createUuid();
        set.title = kSetTitle;
        set.grade = QStringLiteral("12");
        set.updatedAt = QDateTime::currentDateTimeUtc();
        for (const auto &[term, definition] : {std::pair{"ebb", "the tide going out"},
                                               {"flood", "the tide coming in"},
                                               {"slack", "still water between tides"},
                                               {"neap", "the smallest tide"}}) {
            StudyItem item;
            item.id = QUuid::createUuid();
            item.term = QString::fromUtf8(term);
            item.definition = QString::fromUtf8(definition);
            set.items.append(item);
        }
        ASSERT_TRUE(storage.saveStudyProjects({set}));
    }

    // The whole screen, for a person to look at afterwards.
    static void screenshot(const QString &name);
    static QString testName()
    {
        return QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    // Presses a button that may lie below the page's fold: until `next`
    // shows, clicks it and otherwise turns the wheel over the page.
    bool pressScrolling(const QString &name, const QString &next)
    {
        const auto window = mainWindow();
        if (!window)
            return false;
        const QPoint middle = window->geometry.center();
        for (int tries = 0; tries < 8 && running(); ++tries) {
            if (const auto found = ui->find(name, kButton); found && window->geometry.contains(found->extents.center()))
                input::click(found->extents.center());
            if (waitFor(next, kButton, 1500))
                return true;
            runTool(QStringLiteral("xdotool"),
                    {QStringLiteral("mousemove"), QString::number(middle.x()), QString::number(middle.y()),
                     QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("3"), QStringLiteral("5")});
        }
        return false;
    }

    // The main window: its X11 id and place on the screen.
    struct Window {
        unsigned long id = 0;
        QRect geometry;
    };
    std::optional<Window> mainWindow() const
    {
        const auto ids = runTool(QStringLiteral("xdotool"),
                                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                  QString::number(quorvel.processId()), QStringLiteral("--name"),
                                  QStringLiteral("^Quorvel$")});
        if (!ids)
            return std::nullopt;
        for (const QByteArray &line : ids->split('\n')) {
            if (line.trimmed().isEmpty())
                continue;
            const auto shell = runTool(QStringLiteral("xdotool"),
                                       {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"),
                                        QString::fromLatin1(line.trimmed())});
            if (!shell)
                continue;
            QMap<QString, int> v;
            for (const QByteArray &kv : shell->split('\n')) {
                const QList<QByteArray> parts = kv.split('=');
                if (parts.size() == 2)
                    v[QString::fromLatin1(parts[0])] = parts[1].trimmed().toInt();
            }
            const QRect r(v.value(QStringLiteral("X")), v.value(QStringLiteral("Y")), v.value(QStringLiteral("WIDTH")),
                          v.value(QStringLiteral("HEIGHT")));
            if (r.width() >= 900)
                return Window{line.trimmed().toULong(), r};
        }
        return std::nullopt;
    }

    // Opens `page` from the signed-in picker or workspace.
    void open(Page page)
    {
        const bool writer = page == Page::projectPage || page == Page::editor;
        if (writer) {
            // Within the main window: an open editor shows the title too.
            ASSERT_NO_FATAL_FAILURE(enterWorkspace(QStringLiteral("Quorvel"), kProjectTitle, kLabel));
            ASSERT_TRUE(press(kProjectTitle, kLabel, 10000, kMainWindow));
            ASSERT_TRUE(waitFor(QStringLiteral("EDIT PROJECT"), kButton)) << "no project page";
            if (page == Page::editor) {
                ASSERT_TRUE(press(QStringLiteral("EDIT PROJECT")));
                ASSERT_TRUE(waitFor(QStringLiteral("Save"), kButton)) << "no editor";
            }
            screenshot(testName() + QStringLiteral("-page"));
            return;
        }
        // The set's page through the library's resume card, then its own
        // Study or Quiz for the full-page session or test.
        ASSERT_NO_FATAL_FAILURE(enterWorkspace(QStringLiteral("Lexmoor"), QStringLiteral("Continue"), kButton));
        ASSERT_TRUE(press(QStringLiteral("Continue")));
        ASSERT_TRUE(waitFor(QStringLiteral("Back"), kButton)) << "no set page";
        if (page == Page::session) {
            ASSERT_TRUE(pressScrolling(QStringLiteral("Study"), QStringLiteral("I don't know"))) << "no session";
        } else if (page == Page::test) {
            ASSERT_TRUE(pressScrolling(QStringLiteral("Quiz"), QStringLiteral("Submit"))) << "no test";
        }
        screenshot(testName() + QStringLiteral("-page"));
    }

    // Leaves the page by its own way back, which lies under the window
    // controls' corner: the click must reach it.
    void leaveByItsWayBack(Page page)
    {
        switch (page) {
        case Page::projectPage:
            ASSERT_TRUE(press(QStringLiteral("Back")));
            ASSERT_TRUE(gone(QStringLiteral("EDIT PROJECT"), kButton)) << "Back did not leave the project page";
            break;
        case Page::setPage:
            ASSERT_TRUE(press(QStringLiteral("Back")));
            ASSERT_TRUE(gone(QStringLiteral("Back"), kButton)) << "Back did not leave the set page";
            break;
        case Page::session:
            ASSERT_TRUE(press(QStringLiteral("Exit")));
            ASSERT_TRUE(waitFor(QStringLiteral("Exit this session?"), kLabel, 5000)) << "Exit asked nothing";
            ASSERT_TRUE(press(QStringLiteral("Stay")));
            break;
        default:
            break;
        }
    }

    static bool xdotool(const QStringList &arguments)
    {
        return runTool(QStringLiteral("xdotool"), arguments).has_value();
    }

    // A tap on the window's background moves nothing, even as the pointer
    // goes on; a drag moves the window with it.
    void expectOnlyADragMovesTheWindow()
    {
        const auto before = mainWindow();
        ASSERT_TRUE(before);
        const QPoint background = before->geometry.bottomLeft() + QPoint(200, -60);
        const QString x = QString::number(background.x()), y = QString::number(background.y());
        ASSERT_TRUE(xdotool({QStringLiteral("mousemove"), x, y, QStringLiteral("click"), QStringLiteral("1")}));
        for (int step = 1; step <= 4; ++step)
            xdotool({QStringLiteral("mousemove_relative"), QStringLiteral("--"), QStringLiteral("30"),
                     QStringLiteral("-20")});
        pump(500);
        const auto tapped = mainWindow();
        ASSERT_TRUE(tapped);
        EXPECT_EQ(tapped->geometry, before->geometry) << "a tap started a window move";

        // Paced as a hand moves, so a busy machine still sees the drag before
        // the release.
        ASSERT_TRUE(xdotool({QStringLiteral("mousemove"), x, y, QStringLiteral("mousedown"), QStringLiteral("1")}));
        pump(100);
        for (int step = 1; step <= 4; ++step) {
            xdotool({QStringLiteral("mousemove_relative"), QStringLiteral("--"), QStringLiteral("15"),
                     QStringLiteral("-10")});
            pump(80);
        }
        pump(300);
        ASSERT_TRUE(xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
        pump(500);
        const auto dragged = mainWindow();
        ASSERT_TRUE(dragged);
        // Whether the window manager carries out a synthetic drag varies with
        // its timing here, so only what must never happen is checked: the
        // window keeps its size and does not go on following the pointer.
        EXPECT_EQ(dragged->geometry.size(), before->geometry.size());
        // And it stays where it was dropped.
        xdotool(
            {QStringLiteral("mousemove_relative"), QStringLiteral("--"), QStringLiteral("80"), QStringLiteral("80")});
        pump(300);
        const auto dropped = mainWindow();
        ASSERT_TRUE(dropped);
        EXPECT_EQ(dropped->geometry, dragged->geometry);
    }

    // Chooses an entry of the profile menu.
    void chooseFromProfileMenu(const QString &entry)
    {
        const auto window = mainWindow();
        ASSERT_TRUE(window) << "no main window";
        // The profile button shows while the pointer is in the top-right corner.
        const QPoint corner = window->geometry.topRight() + QPoint(-60, 40);
        std::optional<UiProbe::Found> profile;
        ASSERT_TRUE(waitUntil(
            [&] {
                runTool(QStringLiteral("xdotool"),
                        {QStringLiteral("mousemove"), QString::number(corner.x()), QString::number(corner.y())});
                profile = ui->find(QStringLiteral("Profile"), kButton);
                return profile.has_value() || !running();
            },
            5000));
        ASSERT_TRUE(profile) << "no profile button";
        ASSERT_TRUE(input::click(profile->extents.center()));
        ASSERT_TRUE(press(entry, {}, 5000)) << "no profile menu";
    }

    void signOut()
    {
        ASSERT_NO_FATAL_FAILURE(chooseFromProfileMenu(QStringLiteral("Sign Out")));
        ASSERT_TRUE(waitFor(QStringLiteral("Email"), {}, 10000)) << "not signed out";
    }

    // What the window manager sends when the user closes a window.
    static bool closeThroughWindowManager(unsigned long window)
    {
        Display *display = XOpenDisplay(nullptr);
        if (!display)
            return false;
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "_NET_CLOSE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = CurrentTime;
        event.xclient.data.l[1] = 2; // asked by the user's own tools
        const bool sent = XSendEvent(display, DefaultRootWindow(display), False,
                                     SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XFlush(display);
        XCloseDisplay(display);
        return sent;
    }

    void quit(Quit how)
    {
        switch (how) {
        case Quit::closeDot: {
            const auto window = mainWindow();
            ASSERT_TRUE(window);
            const auto dot = waitFor(QStringLiteral("Close"), kButton, 5000, QStringLiteral("Quorvel"));
            ASSERT_TRUE(dot);
            ASSERT_TRUE(QRect(window->geometry.topLeft(), QSize(80, 50)).contains(dot->extents.center()))
                << "the close dot is not in the main window's corner";
            ASSERT_TRUE(input::click(dot->extents.center()));
            break;
        }
        case Quit::windowManager: {
            const auto window = mainWindow();
            ASSERT_TRUE(window);
            ASSERT_TRUE(closeThroughWindowManager(window->id));
            break;
        }
        case Quit::terminate:
            quorvel.terminate();
            break;
        }
        ASSERT_TRUE(waitUntil([&] { return !running(); }, 15000)) << "still running";
        EXPECT_EQ(quorvel.exitStatus(), QProcess::NormalExit) << errors.toStdString();
        // SIGTERM ends through the orderly quit with the signal's own code.
        EXPECT_EQ(quorvel.exitCode(), how == Quit::terminate ? 128 + 15 : 0) << errors.toStdString();
    }

    // The stored data is all there, and the session was written out.
    void expectNothingLost()
    {
        Storage storage(dataFolders(), clock);
        const QList<Project> projects = storage.loadProjects();
        ASSERT_EQ(projects.size(), 1);
        EXPECT_EQ(projects[0].title, kProjectTitle);
        EXPECT_EQ(projects[0].text, kProjectText);
        const QList<StudyProject> sets = storage.loadStudyProjects();
        ASSERT_EQ(sets.size(), 1);
        EXPECT_EQ(sets[0].title, kSetTitle);
        EXPECT_EQ(sets[0].items.size(), 4);
        QFile prefs(home.filePath(QStringLiteral(".config/Quorvel/preferences.json")));
        ASSERT_TRUE(prefs.open(QIODevice::ReadOnly));
        EXPECT_TRUE(prefs.readAll().contains("qv_session")) << "the signed-in session was not written out";
        EXPECT_EQ(errors.count("QPainter"), 0) << errors.toStdString();
    }

    // Visits the page, signs out from it, comes back and quits.
    void run(Page page, Quit how)
    {
        startQuorvel();
        ASSERT_NO_FATAL_FAILURE(signIn());
        ASSERT_NO_FATAL_FAILURE(open(page));
        ASSERT_NO_FATAL_FAILURE(leaveByItsWayBack(page));
        if (page == Page::projectPage || page == Page::setPage) {
            ASSERT_NO_FATAL_FAILURE(open(page));
        }
        ASSERT_NO_FATAL_FAILURE(signOut());
        ASSERT_TRUE(running()) << "signing out ended the application: " << errors.toStdString();
        ASSERT_NO_FATAL_FAILURE(signIn());
        ASSERT_NO_FATAL_FAILURE(open(page));
        if (page == Page::projectPage) {
            // The deletion's confirmation, in the application's dark look
            // with its whole title; cancelled, the project stays.
            ASSERT_TRUE(press(QStringLiteral("DELETE PROJECT")));
            ASSERT_TRUE(waitFor(QStringLiteral("Are you sure you want to delete this project?"), kLabel, 5000))
                << "no confirmation";
            pump(300);
            screenshot(testName() + QStringLiteral("-confirm"));
            ASSERT_TRUE(press(QStringLiteral("Cancel")));
            ASSERT_TRUE(gone(QStringLiteral("Cancel"), kButton));
            // With the project's typing panel open too.
            ASSERT_TRUE(press(QStringLiteral("TYPE PROJECT")));
            ASSERT_TRUE(waitFor(QStringLiteral("Typing Session"), kLabel)) << "no typing panel";
            screenshot(testName() + QStringLiteral("-panel"));
        }
        if (page == Page::setPage && how == Quit::terminate) {
            ASSERT_NO_FATAL_FAILURE(expectOnlyADragMovesTheWindow());
        }
        if (page == Page::setPage && how == Quit::closeDot) {
            // With the settings window open too, in the dark look.
            ASSERT_NO_FATAL_FAILURE(chooseFromProfileMenu(QStringLiteral("Settings")));
            ASSERT_TRUE(waitFor(QStringLiteral("Change Password"), kButton, 5000)) << "no settings window";
            pump(500);
            screenshot(testName() + QStringLiteral("-settings"));
        }
        pump(700); // past the preferences' short delay before writing
        ASSERT_NO_FATAL_FAILURE(quit(how));
        expectNothingLost();
    }

    SystemWallClock clock;
};

// Read from the X server itself: this test process draws offscreen.
void QuitFromAnywhere::screenshot(const QString &name)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return;
    const ::Window root = DefaultRootWindow(display);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, root, &attributes);
    if (XImage *image = XGetImage(display, root, 0, 0, unsigned(attributes.width), unsigned(attributes.height),
                                  AllPlanes, ZPixmap)) {
        QImage shot(attributes.width, attributes.height, QImage::Format_RGB32);
        for (int y = 0; y < attributes.height; ++y)
            for (int x = 0; x < attributes.width; ++x)
                shot.setPixel(x, y, QRgb(XGetPixel(image, x, y)) | 0xff000000u);
        XDestroyImage(image);
        const QString dir = QStringLiteral(QUORVEL_SCREENSHOT_DIR);
        QDir().mkpath(dir);
        shot.save(dir + QStringLiteral("/quit-") + name + QStringLiteral(".png"));
    }
    XCloseDisplay(display);
}

TEST_F(QuitFromAnywhere, ProjectPageThenTheWindowManagersClose) { run(Page::projectPage, Quit::windowManager); }
TEST_F(QuitFromAnywhere, EditorOpenThenTheCloseDot) { run(Page::editor, Quit::closeDot); }
TEST_F(QuitFromAnywhere, SetPageThenSigterm) { run(Page::setPage, Quit::terminate); }
TEST_F(QuitFromAnywhere, SessionThenTheWindowManagersClose) { run(Page::session, Quit::windowManager); }
TEST_F(QuitFromAnywhere, TestThenSigterm) { run(Page::test, Quit::terminate); }
TEST_F(QuitFromAnywhere, SetPageThenTheCloseDot) { run(Page::setPage, Quit::closeDot); }

} // namespace
} // namespace qv::e2e
