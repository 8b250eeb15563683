// A tour through every page of the application as a new user makes it: the
// real program against the development backend on the desktop session,
// driven only by pointer clicks at screen places found through the
// accessibility bus and by keys. Each page is left by its own way back. At
// each step the tour checks that the expected page shows, that the controls
// the step needs are on screen, and that no two controls overlap; it saves a
// screenshot of each page and, at the end, counts painter warnings on the
// program's error output.

#include "AppFixture.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <iostream>
#include <map>

namespace qv::e2e {
namespace {

const QString kEmail = QStringLiteral("tour@example.com");
const QString kPassword = QStringLiteral("tour-pass-9");
const QString kNewer = QStringLiteral("99.0.0");

// Roles whose elements are containers, not controls a user reads or hits.
bool isContainer(const QString &role)
{
    static const QStringList containers{QStringLiteral("filler"),      QStringLiteral("panel"),
                                        QStringLiteral("frame"),       QStringLiteral("window"),
                                        QStringLiteral("scroll pane"), QStringLiteral("viewport"),
                                        QStringLiteral("scroll bar"),  QStringLiteral("layered pane"),
                                        QStringLiteral("dialog"),      QStringLiteral("alert"),
                                        QStringLiteral("unknown"),     QStringLiteral("page tab list")};
    return containers.contains(role);
}

struct TourSize {
    const char *name;
    QSize size;
};

std::string sizeName(const ::testing::TestParamInfo<TourSize> &info) { return info.param.name; }

void PrintTo(const TourSize &size, std::ostream *os)
{
    *os << size.name << ' ' << size.size.width() << 'x' << size.size.height();
}

class Tour : public AppFixture, public ::testing::WithParamInterface<TourSize> {
protected:
    using Element = UiProbe::Element;

    // The site announces a newer version: the new-update card shows.
    Tour() : AppFixture(kEmail, kPassword) { backendArguments = {QStringLiteral("--appcast-version"), kNewer}; }

    void SetUp() override
    {
        AppFixture::SetUp();
        QDir().mkpath(QStringLiteral(QUORVEL_SCREENSHOT_DIR));
    }

    void TearDown() override
    {
        // What the screen showed when the tour stopped, for the failure.
        if (HasFailure() && ui) {
            if (running())
                shoot(QStringLiteral("failure"), ui->all());
            else
                ADD_FAILURE() << "the program ended with status " << quorvel.exitCode();
            std::cerr << "the program's last words:\n" << errors.right(2000).toStdString() << std::endl;
        }
        AppFixture::TearDown();
    }

    // ---- looking

    bool waitGone(const QString &name, const QString &role = {}, int timeoutMs = 8000)
    {
        return gone(name, role, timeoutMs) && running();
    }

    static const Element *containing(const QList<Element> &all, const QString &part)
    {
        for (const Element &e : all)
            if (e.name.contains(part))
                return &e;
        return nullptr;
    }

    static bool onScreen(const QList<Element> &all, const Element &e)
    {
        return !e.extents.isEmpty() && look::windowOf(all, e).contains(e.extents);
    }

    // ---- acting

    // Clicks the middle of a control that must already be on screen, once
    // it has come to rest (a page may still be sliding or scrolling).
    void click(const QString &name, const QString &role = kButton, int timeoutMs = 10000)
    {
        ASSERT_TRUE(waitFor(name, role, timeoutMs)) << "no " << name.toStdString() << " at " << step;
        QRect last;
        waitUntil(
            [&] {
                const auto now = ui->find(name, role);
                const bool still = now && now->extents == last;
                last = now ? now->extents : QRect();
                return still;
            },
            3000);
        const QList<Element> all = ui->all();
        const Element *e = look::named(all, name, role);
        ASSERT_TRUE(e) << name.toStdString() << " went away at " << step;
        ASSERT_TRUE(onScreen(all, *e)) << name.toStdString() << " is not on screen at " << step << ": " << describe(*e)
                                       << " in " << describe(look::windowOf(all, *e));
        ASSERT_TRUE(input::click(e->extents.center()));
    }

    // Scrolls the pointer's wheel over the window, as a user looks for a
    // control below or above the fold, until it shows whole.
    void scrollTo(const QString &name, const QString &role = {})
    {
        for (int i = 0; i < 40; ++i) {
            const QList<Element> all = ui->all();
            const Element *e = look::named(all, name, role);
            ASSERT_TRUE(e) << "no " << name.toStdString() << " at " << step;
            const QRect window = look::windowOf(all, *e);
            if (window.contains(e->extents))
                return;
            const bool below = e->extents.center().y() > window.center().y();
            ASSERT_TRUE(input::wheel(window.center(), below ? 1 : -1));
            pump(80);
        }
        FAIL() << name.toStdString() << " never came on screen at " << step;
    }

    // Types into the focused field `field` one key at a time until it holds
    // `text`, putting right a key the synthetic keyboard dropped or
    // garbled. A key that never reaches the field fails.
    void typeChecked(const QString &field, const QString &text)
    {
        for (int tries = 0; tries < 3 * text.size() + 3; ++tries) {
            const QString now = ui->text(field).value_or(QString());
            if (now == text)
                return;
            if (!text.startsWith(now)) {
                ASSERT_TRUE(input::key(QStringLiteral("BackSpace")));
            } else {
                ASSERT_TRUE(input::type(text.mid(now.size(), 1)));
            }
            waitUntil([&] { return ui->text(field).value_or(QString()) != now; }, 2000);
        }
        FAIL() << field.toStdString() << " holds \"" << ui->text(field).value_or(QString()).toStdString()
               << "\", not \"" << text.toStdString() << "\" at " << step;
    }

    void typeInto(const QString &field, const QString &text)
    {
        click(field, {});
        ASSERT_TRUE(input::key(QStringLiteral("ctrl+a")));
        ASSERT_TRUE(input::type(text));
    }

    // ---- checking

    static std::string describe(const QRect &r) { return look::describe(r); }
    static std::string describe(const Element &e)
    {
        return "\"" + e.name.toStdString() + "\" (" + e.role.toStdString() + ") " + describe(e.extents);
    }

    static bool descendsFrom(const QList<Element> &all, qsizetype index, qsizetype ancestor)
    {
        for (int i = all[index].parent; i >= 0; i = all[i].parent)
            if (i == ancestor)
                return true;
        return false;
    }

    // The controls of each window that overlap one another; with `card`,
    // only those of the card that holds the control of that name (a card
    // over the page hides what lies under it).
    static QStringList overlaps(const QList<Element> &all, const QString &card = {})
    {
        qsizetype holder = -1;
        if (!card.isEmpty())
            if (const Element *e = look::named(all, card))
                holder = e->parent;
        // What shows of each control: every widget clips its children, so a
        // list hides the rows scrolled out of it.
        QList<std::pair<const Element *, QRect>> controls;
        for (qsizetype i = 0; i < all.size(); ++i) {
            const Element &e = all[i];
            // The window-controls island floats over the full-size page in
            // the window's corner, as a title bar's buttons would: a page
            // scrolled up passes under its menu button (the dots stay left
            // of the page's card).
            if (e.name == QLatin1String("Quorvel Menu"))
                continue;
            QRect shown = e.extents;
            for (int p = e.parent; p >= 0; p = all[p].parent)
                if (!all[p].extents.isEmpty())
                    shown &= all[p].extents;
            if (!e.topLevel && e.children == 0 && !isContainer(e.role) && !shown.isEmpty()
                && look::windowOf(all, e).contains(shown) && (holder < 0 || descendsFrom(all, i, holder)))
                controls.append({&e, shown});
        }
        QStringList out;
        for (qsizetype i = 0; i < controls.size(); ++i)
            for (qsizetype j = i + 1; j < controls.size(); ++j) {
                const Element &a = *controls[i].first;
                const Element &b = *controls[j].first;
                const QRect &as = controls[i].second;
                const QRect &bs = controls[j].second;
                if (a.window != b.window)
                    continue;
                const QRect both = as.intersected(bs);
                if (both.width() > 2 && both.height() > 2 && !as.contains(bs) && !bs.contains(as))
                    out << QString::fromStdString(describe(a) + " and " + describe(b));
            }
        return out;
    }

    // One page of the tour: it shows (each of `expected` is on screen), no
    // controls overlap (of the card that holds `card`, when given), and its
    // picture is kept.
    void page(const QString &name, const QStringList &expected, const QString &card = {})
    {
        notePainterWarnings();
        step = name.toStdString();
        for (const QString &n : expected)
            ASSERT_TRUE(waitFor(n, {}, 10000)) << "no " << n.toStdString() << " on the " << step << " page";
        pump(400); // fades and slides come to rest
        const QList<Element> all = ui->all();
        for (const QString &n : expected) {
            const Element *e = look::named(all, n);
            ASSERT_TRUE(e) << n.toStdString() << " went away on the " << step << " page";
            EXPECT_TRUE(onScreen(all, *e))
                << n.toStdString() << " is not on screen on the " << step << " page: " << describe(*e);
        }
        const QStringList overlapping = overlaps(all, card);
        EXPECT_TRUE(overlapping.isEmpty()) << "overlapping on the " << step << " page:\n"
                                           << overlapping.join(QLatin1Char('\n')).toStdString();
        shoot(name, all);
    }

    // Painter warnings printed since the last look, put down to the step
    // that was under way.
    void notePainterWarnings()
    {
        const QString since = QString::fromUtf8(errors.sliced(errorsSeen));
        errorsSeen = errors.size();
        for (const QString &line : since.split(QLatin1Char('\n')))
            if (line.contains(QLatin1String("QPainter")) || line.contains(QLatin1String("paint device"))
                || line.contains(QLatin1String("Painter not active"))) {
                ++painterWarnings[step];
                if (firstPainterWarning.isEmpty())
                    firstPainterWarning = line;
            }
    }

    void shoot(const QString &name, const QList<Element> &all)
    {
        QRect area;
        for (const Element &w : all)
            if (w.topLevel)
                area = area.united(w.extents);
        const QImage shot = input::grabScreen(area);
        const QString file = QStringLiteral(QUORVEL_SCREENSHOT_DIR "/tour-%1-%2-%3.png")
                                 .arg(QString::fromLatin1(GetParam().name))
                                 .arg(++shots, 2, 10, QLatin1Char('0'))
                                 .arg(name);
        shot.save(file);
        if (qEnvironmentVariableIsSet("QV_TOUR_DUMP")) {
            QFile dump(file.chopped(4) + QStringLiteral(".txt"));
            if (dump.open(QIODevice::WriteOnly))
                for (const Element &e : all)
                    dump.write((QString::number(e.window) + QLatin1Char(' ') + QString::fromStdString(describe(e))
                                + QStringLiteral(" children %1\n").arg(e.children))
                                   .toUtf8());
        }
    }

    // Same top edge as before: the control did not move.
    void expectStill(const QString &name, const QRect &before)
    {
        const auto now = ui->find(name);
        ASSERT_TRUE(now);
        EXPECT_EQ(now->extents.top(), before.top()) << name.toStdString() << " moved at " << step;
    }

    // ---- the tour's stretches

    void signInPastARefusal()
    {
        ASSERT_TRUE(waitFor(QStringLiteral("Email"), {}, 20000)) << "no sign-in view";
        ASSERT_NO_FATAL_FAILURE(resizeWindow());
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("sign-in"),
                                     {QStringLiteral("Email"), QStringLiteral("Password"), QStringLiteral("Sign In")}));
        ASSERT_NO_FATAL_FAILURE(typeInto(QStringLiteral("Email"), kEmail));
        ASSERT_NO_FATAL_FAILURE(typeInto(QStringLiteral("Password"), QStringLiteral("not-the-password")));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Sign In")));
        ASSERT_TRUE(
            waitUntil([&] { return containing(ui->all(), QStringLiteral("Invalid login credentials")); }, 10000))
            << "a wrong password shows no message";
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("sign-in-refused"), {QStringLiteral("Sign In")}));
        // Synthetic keys drop a character now and then; the right password
        // goes in as an input method would put it.
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Password"), {}));
        ASSERT_TRUE(ui->setText(QStringLiteral("Password"), kPassword));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Sign In")));
        ASSERT_TRUE(waitFor(QStringLiteral("Choose Your Space"), {}, 20000)) << "not signed in";
        // The check at launch found the newer version: its card waits on
        // the dashboard and goes with "Do Later".
        ASSERT_NO_FATAL_FAILURE(laterUpdate(QStringLiteral("new-update-at-launch")));
    }

    void laterUpdate(const QString &pageName)
    {
        ASSERT_TRUE(waitFor(QStringLiteral("NEW UPDATE"), {}, 10000)) << "no new-update card at " << step;
        ASSERT_TRUE(containing(ui->all(), kNewer)) << "the card does not name " << kNewer.toStdString();
        ASSERT_NO_FATAL_FAILURE(page(pageName, {QStringLiteral("Do Later")}, QStringLiteral("NEW UPDATE")));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Do Later")));
        ASSERT_TRUE(waitGone(QStringLiteral("NEW UPDATE"))) << "Do Later left the card open";
    }

    // The window at the size of this run; the window manager places it.
    void resizeWindow()
    {
        const QSize size = GetParam().size;
        ASSERT_TRUE(input::resizeWindowOf(quorvel.processId(), size));
        ASSERT_TRUE(waitUntil(
            [&] {
                const QRect w = look::mainWindow(ui->all());
                return w.size() == size;
            },
            5000))
            << "the window did not take the size " << size.width() << "x" << size.height() << ": "
            << describe(look::mainWindow(ui->all()));
    }

    // Chooses a workspace on the picker or the switch bar and waits out the
    // welcome overlay.
    void openWorkspace(const QString &mode, const QString &shows)
    {
        ASSERT_NO_FATAL_FAILURE(click(mode));
        ASSERT_TRUE(waitFor(shows, {}, 12000)) << "the " << mode.toStdString() << " workspace did not open";
        ASSERT_TRUE(waitUntil([&] { return !ui->find(QStringLiteral("Choose Your Space")); }, 3000));
        pump(800);
    }

    void writer()
    {
        ASSERT_NO_FATAL_FAILURE(
            page(QStringLiteral("picker"), {QStringLiteral("Choose Your Space"), QStringLiteral("Quorvel"),
                                            QStringLiteral("Lexmoor"), QStringLiteral("Trivane")}));
        ASSERT_NO_FATAL_FAILURE(openWorkspace(QStringLiteral("Quorvel"), QStringLiteral("+ NEW PROJECT")));
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("writer-empty"), {QStringLiteral("+ NEW PROJECT")}));

        // A new project in the editor.
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("+ NEW PROJECT")));
        ASSERT_TRUE(waitFor(QStringLiteral("Text"), {})) << "no editor";
        ASSERT_TRUE(ui->setText(QStringLiteral("Text"), QStringLiteral("The tour writes a line. Then one more.")));
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("editor"), {QStringLiteral("Text"), QStringLiteral("Save")}));
        if (once()) {
            ASSERT_NO_FATAL_FAILURE(pdfChooser());
        }
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Save")));
        ASSERT_TRUE(waitGone(QStringLiteral("Text"))) << "the editor stayed open";
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("writer-list"), {QStringLiteral("TYPE"), QStringLiteral("DEL")}));

        // The project page, and back.
        {
            const auto type = waitFor(QStringLiteral("TYPE"), kButton);
            ASSERT_TRUE(type);
            // The row opens from anywhere outside its buttons: its left part.
            const QList<Element> all = ui->all();
            const QRect window = look::mainWindow(all);
            ASSERT_TRUE(input::click({window.left() + window.width() / 4, type->extents.center().y()}));
        }
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("project"), {QStringLiteral("Back"), QStringLiteral("TYPE PROJECT"),
                                                                 QStringLiteral("EDIT PROJECT")}));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Back")));
        ASSERT_TRUE(waitFor(QStringLiteral("+ NEW PROJECT"), kButton, 5000)) << "Back left the project page open";

        // The typing panel, closed by its own control.
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("TYPE")));
        ASSERT_TRUE(waitFor(QStringLiteral("Typing Session"), kLabel)) << "no typing panel";
        ASSERT_NO_FATAL_FAILURE(
            page(QStringLiteral("typing-panel"), {QStringLiteral("Typing Session"), QStringLiteral("Start Typing")}));
        ASSERT_NO_FATAL_FAILURE(clickIn(QStringLiteral("Typing Session"), QStringLiteral("Close")));
        ASSERT_TRUE(waitGone(QStringLiteral("Typing Session"), kLabel)) << "the typing panel stayed open";
    }

    // Steps that prove one behaviour run in the default size only.
    static bool once() { return std::string(GetParam().name) == "Default"; }

    // The AI Outline tab's chooser opens in the home folder, refuses a file
    // that is not a PDF with a message and stays open, then takes a PDF.
    void pdfChooser()
    {
        for (const char *name : {"notes.txt", "brief.pdf"}) {
            QFile file(home.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("%PDF-1.4\n");
        }
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("AI Outline")));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Upload PDF")));
        const QString dialog = QStringLiteral("Choose a PDF");
        const QString fileName = QStringLiteral("File name:");
        const QString field = QStringLiteral("text");
        ASSERT_TRUE(waitFor(fileName, field, 10000, dialog)) << "no file chooser";
        // A name without a folder: found only if the chooser opened at home.
        ASSERT_TRUE(ui->setText(fileName, QStringLiteral("notes.txt"), field));
        // Return in the name field chooses the typed name (the Open button
        // stays disabled for a name the listing hides).
        ASSERT_TRUE(input::key(QStringLiteral("Return")));
        ASSERT_TRUE(waitFor(QStringLiteral("Only PDF files can be chosen."), {}, 5000))
            << "a text file was not refused";
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("pdf-refused"), {QStringLiteral("OK")},
                                     QStringLiteral("Only PDF files can be chosen.")));
        ASSERT_TRUE(press(QStringLiteral("OK"), kButton, 5000));
        ASSERT_TRUE(waitGone(QStringLiteral("Only PDF files can be chosen.")));
        ASSERT_TRUE(ui->find(fileName, field, dialog)) << "the chooser closed on a refused file";
        const auto nameField = ui->find(fileName, field, dialog);
        ASSERT_TRUE(nameField && input::click(nameField->extents.center()));
        ASSERT_TRUE(ui->setText(fileName, QStringLiteral("brief.pdf"), field));
        ASSERT_TRUE(input::key(QStringLiteral("Return")));
        ASSERT_TRUE(waitFor(QStringLiteral("PDF selected: brief.pdf"), {}, 5000)) << "the PDF was not taken";
        ASSERT_TRUE(waitGone(fileName, field));
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("editor-outline"), {QStringLiteral("PDF selected: brief.pdf")}));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("New Essay")));
        ASSERT_TRUE(waitFor(QStringLiteral("Save"), kButton, 5000));
    }

    // Clicks the control named `name` in the window that shows `windowMark`.
    void clickIn(const QString &windowMark, const QString &name)
    {
        const QList<Element> all = ui->all();
        const Element *mark = look::named(all, windowMark);
        ASSERT_TRUE(mark) << "no " << windowMark.toStdString();
        for (const Element &e : all)
            if (e.window == mark->window && e.name == name && e.children == 0) {
                ASSERT_TRUE(onScreen(all, e)) << describe(e) << " is not on screen";
                ASSERT_TRUE(input::click(e.extents.center()));
                return;
            }
        FAIL() << "no " << name.toStdString() << " in the window of " << windowMark.toStdString();
    }

    // Clicks the control named `name` on the card that holds `mark`.
    void clickInCard(const QString &mark, const QString &name)
    {
        const QList<Element> all = ui->all();
        const Element *m = look::named(all, mark);
        ASSERT_TRUE(m) << "no " << mark.toStdString();
        for (qsizetype i = 0; i < all.size(); ++i)
            if (all[i].name == name && descendsFrom(all, i, m->parent)) {
                ASSERT_TRUE(onScreen(all, all[i])) << describe(all[i]) << " is not on screen";
                ASSERT_TRUE(input::click(all[i].extents.center()));
                return;
            }
        FAIL() << "no " << name.toStdString() << " on the card of " << mark.toStdString();
    }

    void openProfileMenu()
    {
        // The profile button shows while the pointer is in the top-right corner.
        const QRect window = look::mainWindow(ui->all());
        ASSERT_TRUE(input::moveTo({window.right() - 80, window.top() + 60}));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Profile")));
        ASSERT_TRUE(waitFor(QStringLiteral("Sign Out"), kButton, 5000)) << "no profile menu";
    }

    void profileAndSettings()
    {
        ASSERT_NO_FATAL_FAILURE(openProfileMenu());
        ASSERT_NO_FATAL_FAILURE(
            page(QStringLiteral("profile-menu"),
                 {QStringLiteral("Settings"), QStringLiteral("Check for Updates"), QStringLiteral("Sign Out")}));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Settings")));
        ASSERT_TRUE(waitFor(QStringLiteral("SETTINGS"), kLabel)) << "no settings window";
        const struct {
            const char *card;
            const char *control;
        } cards[] = {{"Account", "Change Password"},
                     {"Smartness", "Clear"},
                     {"Preferences", "Tutorial"},
                     {"Support", "Contact Support"}};
        for (const auto &c : cards) {
            ASSERT_NO_FATAL_FAILURE(scrollTo(QString::fromLatin1(c.control)));
            ASSERT_NO_FATAL_FAILURE(scrollTo(QString::fromLatin1(c.card)));
            ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("settings-") + QString::fromLatin1(c.card).toLower(),
                                         {QString::fromLatin1(c.card), QString::fromLatin1(c.control)}));
        }
        ASSERT_NO_FATAL_FAILURE(scrollTo(QStringLiteral("SETTINGS")));
        ASSERT_NO_FATAL_FAILURE(clickIn(QStringLiteral("SETTINGS"), QStringLiteral("Close")));
        ASSERT_TRUE(waitGone(QStringLiteral("SETTINGS"), kLabel)) << "the settings window stayed open";

        // The update check answers with the new-update card again, and
        // "Do Later" puts it away.
        ASSERT_NO_FATAL_FAILURE(openProfileMenu());
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Check for Updates")));
        ASSERT_NO_FATAL_FAILURE(laterUpdate(QStringLiteral("new-update")));
    }

    void studyLibrary()
    {
        ASSERT_NO_FATAL_FAILURE(openWorkspace(QStringLiteral("Lexmoor"), QStringLiteral("Create Set")));
        ASSERT_NO_FATAL_FAILURE(
            page(QStringLiteral("library-empty"), {QStringLiteral("Create Set"), QStringLiteral("No study sets yet")}));

        // A set made by paste.
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Create Set")));
        ASSERT_TRUE(waitFor(QStringLiteral("New Study Set"), kLabel)) << "no set window";
        ASSERT_NO_FATAL_FAILURE(typeInto(QStringLiteral("Set title"), QStringLiteral("Capitals")));
        // Three cards by hand, then more pasted after them.
        const QStringList manual[] = {{QStringLiteral("Spain"), QStringLiteral("Madrid")},
                                      {QStringLiteral("Italy"), QStringLiteral("Rome")},
                                      {QStringLiteral("Egypt"), QStringLiteral("Cairo")}};
        for (const QStringList &card : manual) {
            ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Term"), {}));
            ASSERT_TRUE(ui->setText(QStringLiteral("Term"), card[0]));
            ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Definition"), {}));
            ASSERT_TRUE(ui->setText(QStringLiteral("Definition"), card[1]));
            ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Add")));
            ASSERT_TRUE(waitFor(card[0], kLabel, 5000)) << "the card " << card[0].toStdString() << " was not listed";
        }
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("set-window-manual"),
                                     {QStringLiteral("Spain"), QStringLiteral("Egypt"), QStringLiteral("Create Set")}));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Paste")));
        ASSERT_TRUE(waitFor(QStringLiteral("Pasted cards")));
        ASSERT_TRUE(ui->setText(QStringLiteral("Pasted cards"),
                                QStringLiteral("France\tParis\nJapan\tTokyo\nPeru\tLima\nKenya\tNairobi")));
        ASSERT_NO_FATAL_FAILURE(
            page(QStringLiteral("set-window"), {QStringLiteral("Pasted cards"), QStringLiteral("Create Set")}));
        ASSERT_NO_FATAL_FAILURE(clickIn(QStringLiteral("New Study Set"), QStringLiteral("Create Set")));
        ASSERT_TRUE(waitGone(QStringLiteral("New Study Set"), kLabel)) << "the set window stayed open";
    }

    void setPage()
    {
        // The window's save opens the set's page on its flashcards.
        // Three cards by hand and four pasted.
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("set-page"),
                                     {QStringLiteral("Back"), QStringLiteral("Flashcards"), QStringLiteral("Learn"),
                                      QStringLiteral("Test"), QStringLiteral("7 Cards")}));
        ASSERT_NO_FATAL_FAILURE(scrollTo(QStringLiteral("Show Definition"), kButton));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Show Definition")));
        ASSERT_TRUE(waitFor(QStringLiteral("Show Term"), kButton, 3000));
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("flashcards"), {QStringLiteral("Show Term")}));

        // The set menu floats: nothing under it moves.
        ASSERT_NO_FATAL_FAILURE(scrollTo(QString::fromUtf8("\u22EF"), kButton));
        const auto learnBefore = ui->find(QStringLiteral("Learn"), kButton);
        ASSERT_TRUE(learnBefore);
        ASSERT_NO_FATAL_FAILURE(click(QString::fromUtf8("\u22EF")));
        ASSERT_TRUE(waitFor(QStringLiteral("Delete Set"), kButton, 3000)) << "the set menu did not open";
        ASSERT_NO_FATAL_FAILURE(
            page(QStringLiteral("set-menu"), {QStringLiteral("Edit Set"), QStringLiteral("Delete Set")}));
        expectStill(QStringLiteral("Learn"), learnBefore->extents);
        ASSERT_NO_FATAL_FAILURE(click(QString::fromUtf8("\u22EF")));
        ASSERT_TRUE(waitGone(QStringLiteral("Delete Set"), kButton, 3000));

        // Learn: the session shows, a wrong answer shows what comes next.
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Learn")));
        ASSERT_NO_FATAL_FAILURE(answerWrong(QStringLiteral("learn")));
        if (once()) {
            ASSERT_NO_FATAL_FAILURE(retypeThroughADisabledNext());
        }
        ASSERT_NO_FATAL_FAILURE(scrollTo(QStringLiteral("Review"), kButton));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Review")));
        ASSERT_TRUE(waitFor(QStringLiteral("I don't know"), kButton, 5000));
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("review"), {QStringLiteral("I don't know")}));

        // The test, answered and submitted.
        ASSERT_NO_FATAL_FAILURE(scrollTo(QStringLiteral("Test"), kButton));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Test")));
        ASSERT_TRUE(waitFor(QStringLiteral("Submit"), kButton, 5000)) << "no test";
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("test"), {QStringLiteral("Quiz")}));
        for (const char *answer : {"Paris", "Tokyo", "Lima", "Nairobi"}) {
            const QString a = QString::fromLatin1(answer);
            if (!ui->find(a))
                continue;
            ASSERT_NO_FATAL_FAILURE(scrollTo(a));
            ASSERT_TRUE(input::click(ui->find(a)->extents.center()));
        }
        ASSERT_NO_FATAL_FAILURE(scrollTo(QStringLiteral("Submit"), kButton));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Submit")));
        ASSERT_TRUE(waitFor(QStringLiteral("Retake Quiz"), kButton, 5000)) << "the test was not submitted";
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("test-submitted"), {QStringLiteral("Retake Quiz")}));

        // Back to the library.
        ASSERT_NO_FATAL_FAILURE(scrollTo(QStringLiteral("Back"), kButton));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Back")));
        ASSERT_TRUE(waitFor(QStringLiteral("Create Set"), kButton, 5000)) << "Back left the set page open";
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("library"), {QStringLiteral("Capitals"), QStringLiteral("Study"),
                                                                 QStringLiteral("Quiz"), QStringLiteral("Delete")}));
    }

    // Gives a wrong written answer (or a wrong choice) and checks that what
    // the user must do next is on screen.
    void answerWrong(const QString &name)
    {
        ASSERT_TRUE(waitFor(QStringLiteral("I don't know"), kButton, 5000)) << "no session";
        ASSERT_NO_FATAL_FAILURE(page(name, {QStringLiteral("I don't know")}));
        const bool written = ui->find(QStringLiteral("Answer")).has_value();
        if (written) {
            ASSERT_NO_FATAL_FAILURE(typeInto(QStringLiteral("Answer"), QStringLiteral("Atlantis")));
            ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Check")));
        } else {
            ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("I don't know")));
        }
        ASSERT_TRUE(waitFor(QStringLiteral("I was correct"), kButton, 5000)) << "no verdict after a wrong answer";
        QStringList next{QStringLiteral("I was correct"), QStringLiteral("I don't know")};
        // A written answer is typed again before going on.
        if (written)
            next << QStringLiteral("Retype answer");
        else
            next << QStringLiteral("Next");
        ASSERT_NO_FATAL_FAILURE(page(name + QStringLiteral("-wrong"), next));
    }

    // A missed written answer must be typed again before "Next" is enabled. A
    // click on the disabled "Next" halfway leaves the keyboard focus in the
    // retype field: the keys typed after it land there.
    void retypeThroughADisabledNext()
    {
        const QString retype = QStringLiteral("Retype answer");
        // Choice questions are let go until a written one is missed.
        for (int question = 0; question < 12 && !ui->find(retype); ++question) {
            if (ui->find(QStringLiteral("Answer"))) {
                ASSERT_NO_FATAL_FAILURE(typeInto(QStringLiteral("Answer"), QStringLiteral("Atlantis")));
                ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Check")));
            } else if (ui->find(QStringLiteral("I was correct"), kButton)) {
                ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Next")));
            } else {
                ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("I don't know")));
            }
            waitUntil([&] { return ui->find(retype) || ui->find(QStringLiteral("I was correct"), kButton); }, 3000);
        }
        ASSERT_TRUE(ui->find(retype)) << "no written question was missed";
        const QList<Element> shown = ui->all();
        const Element *verdict = containing(shown, QStringLiteral("Correct: "));
        ASSERT_TRUE(verdict);
        const QString correct = verdict->name.mid(verdict->name.indexOf(QStringLiteral("Correct: ")) + 9);
        ASSERT_GE(correct.size(), 2) << correct.toStdString();
        const QString first = correct.left(correct.size() / 2);

        ASSERT_NO_FATAL_FAILURE(click(retype, {}));
        ASSERT_NO_FATAL_FAILURE(typeChecked(retype, first));
        const auto next = ui->find(QStringLiteral("Next"), kButton);
        ASSERT_TRUE(next);
        ASSERT_FALSE(next->enabled);
        ASSERT_TRUE(input::click(next->extents.center()));
        // Had the click taken the focus, these keys would go nowhere.
        ASSERT_NO_FATAL_FAILURE(typeChecked(retype, correct));
        ASSERT_TRUE(waitUntil([&] { return ui->find(QStringLiteral("Next"), kButton)->enabled; }, 3000));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Next")));
        ASSERT_TRUE(waitGone(retype)) << "Next did not move on after the retype";
    }

    void fullPageStudyAndDeletion()
    {
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Study")));
        ASSERT_TRUE(waitFor(QStringLiteral("I don't know"), kButton, 5000)) << "no full-page session";
        ASSERT_NO_FATAL_FAILURE(answerWrong(QStringLiteral("study-full-page")));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Exit")));
        // Leaving with answers given asks first.
        ASSERT_TRUE(waitUntil(
            [&] { return ui->find(QStringLiteral("Exit this session?")) || ui->find(QStringLiteral("Learn")); }, 5000));
        if (ui->find(QStringLiteral("Exit this session?"))) {
            ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("study-exit-question"), {QStringLiteral("Stay")},
                                         QStringLiteral("Exit this session?")));
            ASSERT_NO_FATAL_FAILURE(clickInCard(QStringLiteral("Exit this session?"), QStringLiteral("Exit")));
        }
        ASSERT_TRUE(waitFor(QStringLiteral("Learn"), kButton, 5000)) << "Exit left the session open";
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Back")));
        ASSERT_TRUE(waitFor(QStringLiteral("Create Set"), kButton, 5000));

        // The full-page test, left by its Exit.
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Quiz")));
        ASSERT_TRUE(waitFor(QStringLiteral("Submit"), kButton, 5000)) << "no full-page test";
        ASSERT_NO_FATAL_FAILURE(
            page(QStringLiteral("test-full-page"), {QStringLiteral("Exit"), QStringLiteral("Quiz")}));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Exit")));
        ASSERT_TRUE(waitFor(QStringLiteral("Learn"), kButton, 5000)) << "Exit left the test open";
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Back")));
        ASSERT_TRUE(waitFor(QStringLiteral("Create Set"), kButton, 5000));

        // Deleted, then undone from the banner.
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Delete")));
        ASSERT_TRUE(waitFor(QStringLiteral("Delete Study Set?"), {}, 5000)) << "no delete question";
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("delete-question"), {QStringLiteral("Cancel")}));
        ASSERT_NO_FATAL_FAILURE(clickIn(QStringLiteral("Delete Study Set?"), QStringLiteral("Delete")));
        ASSERT_TRUE(waitFor(QStringLiteral("Undo"), kButton, 5000)) << "no undo banner";
        ASSERT_NO_FATAL_FAILURE(
            page(QStringLiteral("undo-banner"), {QStringLiteral("Undo"), QStringLiteral("No study sets yet")}));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Undo")));
        ASSERT_TRUE(waitFor(QStringLiteral("Capitals"), {}, 5000)) << "Undo did not bring the set back";
        ASSERT_TRUE(waitGone(QStringLiteral("Undo"), kButton, 3000));
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("library-undone"), {QStringLiteral("Capitals")}));
    }

    void trivaneAndSignOut()
    {
        ASSERT_NO_FATAL_FAILURE(scrollTo(QStringLiteral("Trivane"), kButton));
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Trivane")));
        ASSERT_TRUE(waitFor(QStringLiteral("COMING SOON"), {}, 10000)) << "no coming-soon card";
        ASSERT_NO_FATAL_FAILURE(
            page(QStringLiteral("trivane"), {QStringLiteral("COMING SOON")}, QStringLiteral("COMING SOON")));
        // The card goes with a click beside it.
        const QRect window = look::mainWindow(ui->all());
        ASSERT_TRUE(input::click({window.left() + 40, window.bottom() - 40}));
        ASSERT_TRUE(waitGone(QStringLiteral("COMING SOON")));

        ASSERT_NO_FATAL_FAILURE(openProfileMenu());
        ASSERT_NO_FATAL_FAILURE(click(QStringLiteral("Sign Out")));
        ASSERT_TRUE(waitFor(QStringLiteral("Email"), {}, 10000)) << "sign out did not show the sign-in view";
        ASSERT_NO_FATAL_FAILURE(page(QStringLiteral("signed-out"), {QStringLiteral("Sign In")}));
    }

    qsizetype errorsSeen = 0;
    std::string step = "start";
    int shots = 0;
    std::map<std::string, int> painterWarnings;
    QString firstPainterWarning;
};

TEST_P(Tour, EveryPageByRealClicksAndLeftByItsOwnWayBack)
{
    ASSERT_NO_FATAL_FAILURE(startQuorvel());
    ASSERT_NO_FATAL_FAILURE(signInPastARefusal());
    ASSERT_NO_FATAL_FAILURE(writer());
    ASSERT_NO_FATAL_FAILURE(profileAndSettings());
    ASSERT_NO_FATAL_FAILURE(studyLibrary());
    ASSERT_NO_FATAL_FAILURE(setPage());
    ASSERT_NO_FATAL_FAILURE(fullPageStudyAndDeletion());
    ASSERT_NO_FATAL_FAILURE(trivaneAndSignOut());

    // Nothing painted twice at once along the whole way.
    ASSERT_TRUE(running()) << "the program ended during the tour";
    notePainterWarnings();
    std::string where;
    int total = 0;
    for (const auto &[during, count] : painterWarnings) {
        where += "  " + std::to_string(count) + " after the " + during + " page\n";
        total += count;
    }
    EXPECT_EQ(total, 0) << "painter warnings, the first: " << firstPainterWarning.toStdString() << "\n" << where;
}

INSTANTIATE_TEST_SUITE_P(Sizes, Tour,
                         ::testing::Values(TourSize{"Default", {1180, 760}}, TourSize{"Minimum", {980, 640}}),
                         sizeName);

} // namespace
} // namespace qv::e2e
