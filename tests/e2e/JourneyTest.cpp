// The whole user journey on the desktop session: Quorvel signs in against
// the development backend, a writing project is made in the editor, and its
// typing panel types it into a GTK 3 text view, once straight through and
// once stopped half way and resumed from a new panel. Every step goes
// through the screen: synthetic clicks and keys, and what the accessibility
// bus shows.

#include "AppFixture.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace qv::e2e {
namespace {

const QString kEmail = QStringLiteral("journey@example.com");
const QString kPassword = QStringLiteral("journey-pass-7");
// An accent, an em dash and an emoji, in a few sentences.
const QString kText = QStringLiteral("Caf\u00E9 at nine \u2014 bring the maps. Smile \U0001F600 and go.");

class Journey : public AppFixture {
protected:
    Journey() : AppFixture(kEmail, kPassword) {}

    QString findFile(const QString &fileName) const
    {
        QDirIterator it(home.path(), {fileName}, QDir::Files, QDirIterator::Subdirectories);
        return it.hasNext() ? it.next() : QString();
    }

    QString readFile(const QString &path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QString preferences() const { return readFile(home.filePath(QStringLiteral(".config/Quorvel/preferences.json"))); }

    QJsonObject savedProject() const
    {
        const QString path = findFile(QStringLiteral("projects.json"));
        if (path.isEmpty())
            return {};
        const QJsonArray projects = QJsonDocument::fromJson(readFile(path).toUtf8()).array();
        for (const QJsonValue &v : projects)
            if (v.toObject().value(QStringLiteral("text")).toString() == kText)
                return v.toObject();
        return {};
    }

    // The id of the saved project with our text, upper-case as stored.
    QString savedProjectId() const { return savedProject().value(QStringLiteral("id")).toString(); }

    // A point inside the view, below its last line of text, and away from
    // the floating panel in the middle of the screen.
    QPoint belowTheText(const QRect &view) const { return {view.left() + 30, view.bottom() - 15}; }

    // The second launch hands over and exits; the first keeps running.
    void secondLaunchHandsOver()
    {
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(QStringLiteral(QV_QUORVEL), {});
        ASSERT_TRUE(second.waitForFinished(kStartMs))
            << "the second copy kept running for " << seconds(kStartMs).toStdString();
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0);
        const QByteArray said = second.readAllStandardError();
        EXPECT_TRUE(said.contains("Quorvel is already running")) << said.toStdString();
        EXPECT_TRUE(running());
    }

    // Signs in and saves a new project holding `text`, humanize off, at the
    // highest speed, from the editor reached by real clicks.
    void signInAndSaveProject(const QString &text)
    {
        ASSERT_NO_FATAL_FAILURE(signIn());
        ASSERT_NO_FATAL_FAILURE(enterWorkspace(QStringLiteral("Quorvel"), QStringLiteral("+ NEW PROJECT"), kButton));
        ASSERT_TRUE(press(QStringLiteral("+ NEW PROJECT")));
        ASSERT_TRUE(press(QStringLiteral("Text"), {})) << "no editor";
        // Synthetic keys lose characters outside the keymap now and then (the
        // key can arrive before the program has seen the remapping), so the
        // text goes in as an input method would put it.
        ASSERT_TRUE(ui->setText(QStringLiteral("Text"), text));
        const auto humanize = waitFor(QStringLiteral("Humanize"), {}, 3000);
        ASSERT_TRUE(humanize);
        if (humanize->checked) {
            ASSERT_TRUE(input::click(humanize->extents.center()));
        }
        ASSERT_TRUE(press(QStringLiteral("Speed"), {}));
        ASSERT_TRUE(input::key(QStringLiteral("End")));
        ASSERT_TRUE(press(QStringLiteral("Save")));
    }

    // Opens the project's typing panel from its row in the list.
    void openPanel(const QString &expectedStart)
    {
        ASSERT_TRUE(press(QStringLiteral("TYPE")));
        ASSERT_TRUE(waitFor(QStringLiteral("Typing Session"), kLabel)) << "no typing panel";
        ASSERT_TRUE(waitFor(expectedStart, kButton, 30000))
            << "the panel does not offer " << expectedStart.toStdString();
    }

    // Brings the target forward (the panel stays above it), starts the
    // job from the panel and clicks into the view.
    void startInto(TargetApp &gtk, const QString &startLabel, const QRect &view)
    {
        ASSERT_TRUE(gtk.activate());
        ASSERT_TRUE(press(startLabel));
        ASSERT_TRUE(waitFor(QStringLiteral("Waiting for Text Box"), kLabel, 30000));
        ASSERT_TRUE(input::click(belowTheText(view)));
        ASSERT_TRUE(waitFor(QStringLiteral("Typing..."), kLabel, 8000)) << "typing did not start";
    }

    // What the panel's status shows and what the view holds, for failures.
    std::string situation(TargetApp &gtk)
    {
        QString status = QStringLiteral("(none)");
        for (const char *s : {"Ready", "Waiting for Text Box", "Typing...", "Paused", "Editing...",
                              "Finalizing (Exact Match)", "Done", "Stopped"})
            if (ui->find(QString::fromUtf8(s), kLabel))
                status = QString::fromUtf8(s);
        const auto text = gtk.dump(QStringLiteral("view"));
        return ("status " + status + ", view \"" + text.value_or(QStringLiteral("?")) + "\"").toStdString();
    }

    // Waits for "Done", noting every change of status or text on the way.
    bool waitForDone(TargetApp &gtk, int timeoutMs, std::string &log)
    {
        log.clear();
        QElapsedTimer clock;
        clock.start();
        std::string last;
        return waitUntil(
            [&] {
                const std::string now = situation(gtk);
                if (now != last) {
                    log += std::to_string(clock.elapsed()) + " ms: " + now + "\n";
                    last = now;
                }
                return now.rfind("status Done", 0) == 0;
            },
            timeoutMs);
    }
};

TEST_F(Journey, SignInWriteAProjectAndTypeItTwiceOnceResumed)
{
    TargetApp gtk(TargetApp::Kind::Gtk);
    QString why;
    ASSERT_TRUE(gtk.start(&why)) << why.toStdString();
    ASSERT_TRUE(gtk.set(QStringLiteral("view"), QString()));
    const QRect view = gtk.geometry(QStringLiteral("view"));
    ASSERT_FALSE(view.isEmpty());

    startQuorvel(QProcess::ForwardedChannels);
    // Past the splash, the sign-in view; then the writer workspace, chosen
    // on the picker when it asks, and a new project.
    ASSERT_NO_FATAL_FAILURE(signInAndSaveProject(kText));
    ASSERT_TRUE(waitUntil([&] { return !savedProjectId().isEmpty(); }, 30000))
        << "the project was not saved: " << readFile(findFile(QStringLiteral("projects.json"))).toStdString();
    const QString id = savedProjectId();
    EXPECT_FALSE(savedProject().value(QStringLiteral("humanize")).toBool());
    EXPECT_EQ(savedProject().value(QStringLiteral("wpm")).toInt(), 250);

    // First run, straight through.
    openPanel(QStringLiteral("Start Typing"));
    startInto(gtk, QStringLiteral("Start Typing"), view);
    std::string log;
    ASSERT_TRUE(waitForDone(gtk, 50000, log)) << "the run did not finish:\n" << log;
    EXPECT_EQ(gtk.dump(QStringLiteral("view")), kText) << log;
    ASSERT_TRUE(press(QStringLiteral("Exit")));
    EXPECT_TRUE(waitUntil([&] { return !ui->find(QStringLiteral("Typing Session"), kLabel); }, 30000));
    EXPECT_TRUE(waitUntil([&] { return !preferences().contains(id); }, 30000)) << "the resume position was kept";

    // Second run into an emptied view, stopped half way.
    ASSERT_TRUE(gtk.set(QStringLiteral("view"), QString()));
    openPanel(QStringLiteral("Start Typing"));
    startInto(gtk, QStringLiteral("Start Typing"), view);
    ASSERT_TRUE(waitUntil(
        [&] {
            const auto typed = gtk.dump(QStringLiteral("view"));
            return typed && typed->size() >= kText.size() / 2;
        },
        30000));
    ASSERT_TRUE(press(QStringLiteral("Stop")));
    ASSERT_TRUE(press(QStringLiteral("Stop"), kButton, 30000, QStringLiteral("Stop typing?"))) << "no stop confirmation";
    EXPECT_TRUE(waitUntil([&] { return !ui->find(QStringLiteral("Typing Session"), kLabel); }, 30000));
    EXPECT_TRUE(waitUntil([&] { return preferences().contains(id); }, 30000)) << "no resume position";
    // The position is kept once the stopped run's keys have landed; the view
    // then holds still.
    std::optional<QString> partial;
    ASSERT_TRUE(waitUntil(
        [&] {
            const auto now = gtk.dump(QStringLiteral("view"));
            const bool still = now && partial && *now == *partial;
            partial = now;
            return still;
        },
        30000));
    EXPECT_LT(partial->size(), kText.size());

    // A new panel offers to resume; a click below the last line puts the
    // caret at the end, and the rest follows.
    openPanel(QStringLiteral("Resume Typing"));
    startInto(gtk, QStringLiteral("Resume Typing"), view);
    ASSERT_TRUE(waitForDone(gtk, 50000, log)) << "the resumed run did not finish:\n" << log;
    EXPECT_EQ(gtk.dump(QStringLiteral("view")), kText) << log;
    ASSERT_TRUE(press(QStringLiteral("Exit")));
    EXPECT_TRUE(waitUntil([&] { return !preferences().contains(id); }, 30000)) << "the resume position was kept";

    const QString projects = readFile(findFile(QStringLiteral("projects.json")));
    EXPECT_TRUE(projects.contains(id));
    EXPECT_EQ(savedProjectId(), id);
}

// A one-line box in a Qt dialog whose default button Return would press: a
// text with line breaks goes in with a space for each, the dialog stays open,
// and the panel says what was left out.
TEST_F(Journey, AQtDialogsOneLineBoxGetsNoReturnAndThePanelSaysWhatWasLeftOut)
{
    const QString text = QStringLiteral("Dear Ann,\nthe maps are ready.\n\nSee you at nine.");
    TargetApp qt(TargetApp::Kind::Qt);
    QString why;
    ASSERT_TRUE(qt.start(&why)) << why.toStdString();
    ASSERT_EQ(qt.command(QStringLiteral("dialog")), QStringLiteral("ok"));
    const QRect edit = qt.geometry(QStringLiteral("dialog"));
    ASSERT_FALSE(edit.isEmpty());

    startQuorvel(QProcess::ForwardedChannels);
    ASSERT_NO_FATAL_FAILURE(signInAndSaveProject(text));
    ASSERT_TRUE(waitUntil([&] { return !findFile(QStringLiteral("projects.json")).isEmpty(); }, 30000));

    openPanel(QStringLiteral("Start Typing"));
    ASSERT_EQ(qt.command(QStringLiteral("focus dialog")), QStringLiteral("ok"));
    ASSERT_TRUE(press(QStringLiteral("Start Typing")));
    ASSERT_TRUE(waitFor(QStringLiteral("Waiting for Text Box"), kLabel, 30000));
    ASSERT_TRUE(input::click(edit.center()));
    ASSERT_TRUE(waitFor(QStringLiteral("Typing..."), kLabel, 8000)) << "typing did not start";
    ASSERT_TRUE(waitFor(QStringLiteral("Done"), kLabel, 60000))
        << "the run did not finish; the box holds \"" << qt.dump(QStringLiteral("dialog")).value_or("?").toStdString()
        << '"';
    EXPECT_EQ(qt.dump(QStringLiteral("dialog")), QStringLiteral("Dear Ann, the maps are ready. See you at nine."));
    EXPECT_EQ(qt.command(QStringLiteral("dialogstate")), QStringLiteral("dialogstate 1 0"))
        << "Return reached the dialog";
    EXPECT_TRUE(waitFor(QStringLiteral("Left out 3 line breaks (the text box has one line). "
                                       "Line breaks were typed as spaces."),
                        kLabel, 30000))
        << "the panel does not say what was left out";
}

// Two copies would each save over the other's library: a second launch
// hands over to the running one and exits, which keeps running.
TEST_F(Journey, ASecondLaunchHandsOverToTheRunningCopyAndExits)
{
    startQuorvel(QProcess::ForwardedChannels);
    ASSERT_TRUE(waitFor(QStringLiteral("Email"), {}, 20000)) << "no sign-in view";

    ASSERT_NO_FATAL_FAILURE(secondLaunchHandsOver());
    // The running copy comes to the front on the hand-over; its tree is read
    // again once it has settled.
    EXPECT_TRUE(waitFor(QStringLiteral("Email"), {}, 30000));
}

// The data folder falls back when a regular file holds its name on the
// desktop; the copy that keeps the library there is guarded all the same,
// and so is one that can take no lock at all.
class SingleCopy : public Journey {
protected:
    // Puts a regular file where each of `paths` (under the home) would be.
    void blockWithFiles(const QStringList &paths)
    {
        for (const QString &path : paths) {
            ASSERT_TRUE(QDir().mkpath(QFileInfo(home.filePath(path)).path()));
            QFile file(home.filePath(path));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
            file.write("not a folder\n");
        }
    }
};

TEST_F(SingleCopy, WithTheDataFolderFallenBackASecondLaunchHandsOver)
{
    blockWithFiles({QStringLiteral("Desktop/QuorvelData")});
    startQuorvel();
    // The lock stands in the folder the library is kept in.
    const QString lock = home.filePath(QStringLiteral(".local/share/QuorvelData/quorvel.lock"));
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(lock) || !running(); }, 15000)) << errors.toStdString();
    ASSERT_TRUE(running()) << errors.toStdString();
    secondLaunchHandsOver();
    EXPECT_TRUE(QFileInfo(home.filePath(QStringLiteral("Desktop/QuorvelData"))).isFile());
}

TEST_F(SingleCopy, WithoutAnyLockASecondLaunchStillHandsOver)
{
    // Neither data folder nor the configuration folder takes a file.
    blockWithFiles({QStringLiteral("Desktop/QuorvelData"), QStringLiteral(".local/share/QuorvelData"),
                    QStringLiteral(".config/Quorvel")});
    startQuorvel();
    ASSERT_TRUE(waitUntil([&] { return errors.contains("runs without a lock") || !running(); }, 15000))
        << errors.toStdString();
    ASSERT_TRUE(running()) << errors.toStdString();
    secondLaunchHandsOver();
}

} // namespace
} // namespace qv::e2e
