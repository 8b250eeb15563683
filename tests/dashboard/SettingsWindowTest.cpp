#include "DashboardTestSupport.h"

#include "dashboard/AccountCard.h"
#include "dashboard/AvatarCircle.h"
#include "dashboard/CloseDot.h"
#include "dashboard/HoverCaptureView.h"
#include "dashboard/PreferencesCard.h"
#include "dashboard/ProfileAvatarButton.h"
#include "dashboard/ProfileIslandState.h"
#include "dashboard/ProfileMenu.h"
#include "dashboard/ProfilePreviewRow.h"
#include "dashboard/SecureField.h"
#include "dashboard/SettingsBindings.h"
#include "dashboard/SettingsText.h"
#include "dashboard/SettingsWindowView.h"
#include "dashboard/SmartnessCard.h"
#include "dashboard/SupportCard.h"
#include "platform/sim/SimFileChooser.h"
#include "theme/NoticeBanner.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"
#include "theme/QVPillPicker.h"
#include "theme/QVTextEditor.h"
#include "theme/QVToggle.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>

using namespace qv;
using namespace qv::dashboard;

namespace {
const QString kToken = QStringLiteral("/auth/v1/token");
const QString kUser = QStringLiteral("/auth/v1/user");

class SettingsTest : public test::DashboardFixture {
protected:
    sim::SimFileChooser chooser;

    SettingsWindowView &openSettings()
    {
        fileChooser = &chooser;
        if (!view)
            makeView();
        view->profile().state().setShowProfileMenu(true);
        click(view->profile().menu()->settingsButton());
        settle();
        EXPECT_NE(view->settingsWindow(), nullptr);
        return *content();
    }
    SettingsWindowView *content() const
    {
        return view->settingsWindow() ? qobject_cast<SettingsWindowView *>(view->settingsWindow()->content()) : nullptr;
    }
    AccountCard &account() const { return *content()->accountCard(); }
    void typeInto(QLineEdit *field, const QString &text)
    {
        field->setFocus();
        field->selectAll();
        if (text.isEmpty())
            field->clear();
        QTest::keyClicks(field, text);
    }
    // Opens the password form and fills its three fields.
    void fillPasswords(const QString &current, const QString &fresh, const QString &confirm)
    {
        if (!account().showPasswordFields()) {
            click(account().formButton());
            settle(250);
        }
        typeInto(account().currentPasswordField(), current);
        typeInto(account().newPasswordField(), fresh);
        typeInto(account().confirmPasswordField(), confirm);
    }
    QStringList passwords() const
    {
        return {account().currentPasswordField()->text(), account().newPasswordField()->text(),
                account().confirmPasswordField()->text()};
    }
    // The sign-in check and the update the account answers with success.
    void answerPasswordUpdate()
    {
        transport->respond(
            "POST", kToken, 200,
            R"({"access_token":"A9","refresh_token":"R9","user":{"id":"u1","email":"pat@example.test"}})", 50);
        transport->respond("PUT", kUser, 200, R"({"id":"u1"})", 50);
    }
    QStringList opened()
    {
        QStringList out;
        for (const auto &c : sim.log().calls)
            if (c.what == "openUrl")
                out << c.detail;
        return out;
    }
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    static QByteArray picture(const char *format, QSize size = {64, 48})
    {
        QImage img(size, QImage::Format_RGB32);
        img.fill(QColor(40, 120, 200));
        QByteArray out;
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(img.save(&buffer, format)) << format;
        return out;
    }
};
} // namespace

TEST_F(SettingsTest, TheWindowIsMadeOnceHiddenOnCloseAndBroughtBackAsLeft)
{
    makeApp();
    app->updateProfileName("Ann Lee");
    SettingsWindowView &first = openSettings();
    QPointer<CustomWindow> window = view->settingsWindow();
    EXPECT_EQ(account().nameField()->text(), "Ann Lee");

    // Leave some state behind, then close from the whole padded dot.
    fillPasswords("old", "one", "two");
    click(account().updatePasswordButton());
    first.smartnessCard()->sampleEditor()->setPlainText("A sample essay about rivers.");
    click(first.closeButton(), {1, 1});
    settle();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(view->closeSettingsTrigger(), 1);

    // The name changed meanwhile; Settings brings back the same window.
    app->updateProfileName("Ann Marie");
    openSettings();
    EXPECT_EQ(view->settingsWindow(), window.data());
    EXPECT_EQ(content(), &first);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(account().nameField()->text(), "Ann Marie");
    EXPECT_TRUE(account().showPasswordFields());
    EXPECT_EQ(account().currentPasswordField()->text(), "old");
    EXPECT_EQ(account().passwordStatus(), "Passwords do not match.");
    EXPECT_EQ(first.smartnessCard()->sampleEditor()->toPlainText(), "A sample essay about rivers.");
    EXPECT_EQ(openWindows().size(), 1);

    // A close from the window manager hides it too.
    window->close();
    settle();
    EXPECT_TRUE(window);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(view->closeSettingsTrigger(), 2);
}

TEST_F(SettingsTest, AWindowLeftOpenAfterSignOutKeepsWorkingAndGoesWhenClosed)
{
    SettingsWindowView &settings = openSettings();
    QPointer<CustomWindow> window = view->settingsWindow();
    std::weak_ptr<SettingsBindings> bindings = view->settingsBindings();
    view.reset();
    ASSERT_TRUE(window && window->isVisible());
    settings.smartnessCard()->sampleEditor()->setPlainText("Still here.");
    EXPECT_EQ(bindings.lock()->smartSampleText(), "Still here.");
    typeInto(settings.accountCard()->nameField(), "Bo");
    EXPECT_EQ(app->profileName(), "Bo");
    click(settings.closeButton());
    settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
}

TEST_F(SettingsTest, TheNameIsSavedTrimmedWhileTheFieldKeepsWhatWasTypedAndTheSupportButtonsOpenTheirAddresses)
{
    SettingsWindowView &settings = openSettings();
    typeInto(account().nameField(), "  Ann  ");
    EXPECT_EQ(account().nameField()->text(), "  Ann  ");
    EXPECT_EQ(app->profileName(), "Ann");
    EXPECT_EQ(settings.profileRow()->nameLabel()->text(), "Ann");
    EXPECT_EQ(view->settingsBindings()->settingsName(), "  Ann  ");

    account().nameField()->clear();
    EXPECT_EQ(app->profileName(), "");
    EXPECT_EQ(settings.profileRow()->nameLabel()->text(), "Your Profile");
    EXPECT_EQ(settings.profileRow()->avatar()->initialsText(), "QV");

    EXPECT_EQ(settings.supportCard()->addressLabel()->text(), "help@quorvel.example");
    click(settings.supportCard()->contactButton());
    click(settings.supportCard()->installButton());
    click(settings.supportCard()->permissionsButton());
    for (int i = 0; i < 3; ++i)
        click(settings.preferencesCard()->tutorialButton(i));
    const QString guides = "http://127.0.0.1:54321/quorvel-site/support.html#support-guides";
    EXPECT_EQ(opened(),
              (QStringList{"mailto:help@quorvel.example",
                           "http://127.0.0.1:54321/quorvel-site/download.html#install-walkthrough",
                           "http://127.0.0.1:54321/quorvel-site/accessibility.html", guides, guides, guides}));
}

TEST_F(SettingsTest, EveryPreferenceIsStoredWithItsType)
{
    SettingsWindowView &settings = openSettings();
    PreferencesCard *card = settings.preferencesCard();
    EXPECT_TRUE(card->toggle(2)->isChecked()); // a missing key counts as on
    for (int i = 0; i < 3; ++i)
        card->toggle(i)->click();
    EXPECT_EQ((QList<bool>{app->autoUpdateEnabled(), app->reduceMotionEnabled(), app->showSmartBrief()}),
              (QList<bool>{true, true, false}));
    EXPECT_EQ((QList<std::optional<bool>>{prefs.boolValue("qv_autoUpdateEnabled"), prefs.boolValue("qv_reduce_motion"),
                                          prefs.boolValue("qv_show_smart_brief")}),
              (QList<std::optional<bool>>{true, true, false}));

    SmartnessCard *smart = settings.smartnessCard();
    smart->presetPicker()->pill(1)->click();
    smart->modePicker()->pill(1)->click();
    EXPECT_EQ(prefs.stringValue("qv_default_preset"), "timed");
    EXPECT_EQ(prefs.stringValue("qv_default_mode"), "time");
    EXPECT_EQ(app->defaultMode(), "time");
    EXPECT_EQ(view->settingsBindings()->smartPreset(), "timed");
    EXPECT_EQ(view->settingsBindings()->defaultMode(), "time");

    const QString png = writeFile("me.png", picture("PNG"));
    chooser.queueAnswer(png);
    click(settings.profileRow()->updateProfileButton());
    settle();
    EXPECT_EQ(prefs.dataValue("qv_profile_image"), picture("PNG"));
}

TEST_F(SettingsTest, PasswordsThatDoNotMatchAreRefusedWithoutAnAccountCall)
{
    makeSignedInApp();
    openSettings();
    fillPasswords("old", "Secret1", "secret1");
    const int before = int(transport->requests().size());
    click(account().updatePasswordButton());
    settle(1000);
    EXPECT_EQ(account().passwordStatus(), "Passwords do not match.");
    EXPECT_EQ(transport->requests().size(), before);

    typeInto(account().confirmPasswordField(), "Secret1 ");
    click(account().updatePasswordButton());
    EXPECT_EQ(account().passwordStatus(), "Passwords do not match.");
    EXPECT_EQ(account().newPasswordField()->text(), "Secret1");

    // Three empty fields match, so the account answers.
    fillPasswords("", "", "");
    click(account().updatePasswordButton());
    settle();
    EXPECT_EQ(account().passwordStatus(), "Enter current and new password.");
    EXPECT_EQ(transport->requests().size(), before);
}

TEST_F(SettingsTest, SuccessClearsTheFieldsFailureKeepsThemAndAnAnswerForAWindowThatHasGoneIsDropped)
{
    makeSignedInApp();
    openSettings();
    fillPasswords("wrong", "new-pass", "new-pass");
    transport->respond("POST", kToken, 400,
                       R"({"error":"invalid_grant","error_description":"Invalid login credentials"})", 50);
    click(account().updatePasswordButton());
    settle(200);
    EXPECT_EQ(account().passwordStatus(), "Invalid login credentials");
    EXPECT_EQ(passwords(), (QStringList{"wrong", "new-pass", "new-pass"}));

    typeInto(account().currentPasswordField(), "right");
    answerPasswordUpdate();
    click(account().updatePasswordButton());
    // The previous message stays until the answer comes.
    EXPECT_EQ(account().passwordStatus(), "Invalid login credentials");
    settle(300);
    EXPECT_EQ(account().passwordStatus(), "Password updated.");
    EXPECT_EQ(passwords(), (QStringList{"", "", ""}));

    // An answer for a window that has gone is dropped.
    fillPasswords("right", "x", "x");
    answerPasswordUpdate();
    account().updatePassword();
    delete view->settingsWindow();
    settle(300); // must not touch the deleted card
}

TEST_F(SettingsTest, ThePasswordFormAnimatesEvenWithReduceMotion)
{
    makeApp();
    app->setReduceMotionEnabled(true);
    openSettings();
    EXPECT_FALSE(account().passwordForm()->isVisible());
    click(account().formButton());
    EXPECT_EQ(account().formButton()->text(), "Hide Change Password");
    settle(100);
    EXPECT_GT(account().formReveal(), 0.05);
    EXPECT_LT(account().formReveal(), 0.95);
    EXPECT_TRUE(account().passwordForm()->isVisible());
    settle(150);
    EXPECT_DOUBLE_EQ(account().formReveal(), 1.0);
    click(account().formButton());
    EXPECT_EQ(account().formButton()->text(), "Change Password");
    settle(250);
    EXPECT_FALSE(account().passwordForm()->isVisible());
}

TEST_F(SettingsTest, ThePreviewFollowsTheSampleAndThePreset)
{
    SettingsWindowView &settings = openSettings();
    SmartnessCard *smart = settings.smartnessCard();
    EXPECT_EQ(smart->previewTexts(), QStringList{smartPreviewHint()});

    QString sample;
    for (int i = 0; i < 60; ++i)
        sample += "The river carries the town's history, and every spring it floods the lower fields. ";
    smart->sampleEditor()->setPlainText(sample);
    auto expected = [&] {
        const auto line = smartPreviewLine(sample, app->smartDefaults(sample));
        return QStringList{line->heading, line->detail, line->minutes};
    };
    const QStringList balanced = expected();
    EXPECT_EQ(smart->previewTexts(), balanced);

    smart->presetPicker()->pill(1)->click(); // "Timed exam"
    EXPECT_EQ(smart->previewTexts(), expected());
    EXPECT_NE(smart->previewTexts()[2], balanced[2]);

    click(smart->clearButton());
    EXPECT_EQ(smart->sampleEditor()->toPlainText(), "");
    EXPECT_EQ(view->settingsBindings()->smartSampleText(), "");
    EXPECT_EQ(smart->previewTexts(), QStringList{smartPreviewHint()});
}

TEST_F(SettingsTest, ThePictureIsStoredAsReadAndUndecodableBytesShowTheInitials)
{
    makeApp();
    app->updateProfileName("blue river");
    SettingsWindowView &settings = openSettings();
    AvatarCircle *avatar = settings.profileRow()->avatar();
    EXPECT_FALSE(avatar->showsPicture());

    const QByteArray tiff = picture("TIFF", {1600, 1200});
    chooser.queueAnswer(writeFile("big.tiff", tiff));
    click(settings.profileRow()->updateProfileButton());
    settle();
    ASSERT_EQ(chooser.requests().size(), 1);
    EXPECT_TRUE(chooser.requests()[0].nameFilters.join(' ').contains("*.tiff"));
    EXPECT_EQ(app->profileImageData(), tiff); // whole, not scaled down
    EXPECT_TRUE(avatar->showsPicture());
    EXPECT_TRUE(view->profile().button()->avatar()->showsPicture());

    // Bytes that are no image are kept all the same; the initials show.
    chooser.queueAnswer(writeFile("broken.png", "not a picture at all"));
    click(settings.profileRow()->updateProfileButton());
    settle();
    EXPECT_EQ(app->profileImageData(), QByteArray("not a picture at all"));
    EXPECT_FALSE(avatar->showsPicture());
    EXPECT_FALSE(view->profile().button()->avatar()->showsPicture());
    EXPECT_EQ(avatar->initialsText(), "BR");
    EXPECT_EQ(view->profile().button()->avatar()->initialsText(), "BR");

    // Another kind of file, a cancel and a missing file change nothing.
    chooser.queueAnswer(writeFile("anim.gif", picture("PNG")));
    chooser.queueAnswer(std::nullopt);
    chooser.queueAnswer(dir.filePath("gone.png"));
    for (int i = 0; i < 3; ++i) {
        click(settings.profileRow()->updateProfileButton());
        settle();
    }
    EXPECT_EQ(app->profileImageData(), QByteArray("not a picture at all"));
}

TEST_F(SettingsTest, APreferenceThatCannotBeWrittenIsSaidInTheWindowAndTheValueStays)
{
    SettingsWindowView &settings = openSettings();
    NoticeBanner *notice = settings.saveNotice();
    EXPECT_FALSE(notice->isVisible());
    settings.preferencesCard()->toggle(1)->click();
    // What the file store announces when its write fails.
    emit prefs.saveFailed(QStringLiteral("No space left on device (/cfg/Quorvel/preferences.json)"));
    settle();
    ASSERT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->text(), "Could not save your settings: No space left on device (/cfg/Quorvel/preferences.json). "
                              "The change is kept while Quorvel stays open and is written with the next save that "
                              "succeeds.");
    EXPECT_EQ(prefs.boolValue("qv_reduce_motion"), true);
    EXPECT_TRUE(app->reduceMotionEnabled());
    click(notice->dismissButton());
    EXPECT_FALSE(notice->isVisible());
}

TEST_F(SettingsTest, TheWindowOpensAt640By740CentredWithA560By640Minimum)
{
    openSettings();
    CustomWindow *window = view->settingsWindow();
    EXPECT_EQ(window->size(), QSize(640, 740));
    EXPECT_EQ(window->minimumSize(), QSize(560, 640));
    const QRect area = window->screen()->availableGeometry();
    EXPECT_LE((window->geometry().center() - area.center()).manhattanLength(), 2)
        << window->geometry().center().x() << "," << window->geometry().center().y();
}

TEST_F(SettingsTest, AtItsMinimumEveryButtonAndThePreviewLineShowWhole)
{
    SettingsWindowView &settings = openSettings();
    settings.smartnessCard()->sampleEditor()->setPlainText(
        "Rivers shape the towns that grow beside them. In this essay I argue that the river is the town's memory.");
    CustomWindow *window = view->settingsWindow();
    for (const QSize size : {QSize(640, 740), QSize(560, 640)}) {
        window->resize(size);
        settle();
        ASSERT_EQ(window->size(), size);
        QWidget *viewport = settings.scrollArea()->viewport();
        const auto whole = [&](QWidget *w, const QString &what) {
            const QRect r(w->mapTo(viewport, QPoint()), w->size());
            EXPECT_GE(r.left(), 0) << what.toStdString() << " at " << size.width();
            EXPECT_LE(r.right(), viewport->width() - 1) << what.toStdString() << " at " << size.width();
            EXPECT_GE(w->width(), w->sizeHint().width()) << what.toStdString() << " at " << size.width();
        };
        for (QAbstractButton *b : settings.findChildren<QAbstractButton *>())
            if (b->isVisibleTo(&settings) && !b->text().isEmpty())
                whole(b, b->text());
        for (QLabel *l : settings.smartnessCard()->findChildren<QLabel *>())
            if (l->isVisibleTo(&settings) && !l->text().isEmpty())
                whole(l, l->text());
        EXPECT_TRUE(settings.smartnessCard()->previewTexts().last().startsWith(QString::fromUtf8("\u2248")));
    }
}

TEST_F(SettingsTest, PressesOnTheBackgroundReachTheWindowFrameAndPressesOnControlsStayTheirs)
{
    SettingsWindowView &settings = openSettings();
    CustomWindow *window = view->settingsWindow();
    // What reaches the window itself is what the frame turns into a move.
    struct PressSpy : QObject {
        int presses = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::MouseButtonPress)
                ++presses;
            return false;
        }
    } spy;
    window->installEventFilter(&spy);
    const QWidget *panel = settings.panel();
    const QRect account(settings.accountCard()->mapTo(panel, QPoint()), settings.accountCard()->size());
    const QRect smartness(settings.smartnessCard()->mapTo(panel, QPoint()), settings.smartnessCard()->size());
    const struct {
        const char *what;
        QWidget *on;
        QPoint at;
        bool moves;
    } presses[] = {
        {"header background", settings.headerRow(), {settings.headerRow()->width() / 4, 4}, true},
        {"panel margin", settings.panel(), {6, settings.panel()->height() / 2}, true},
        {"gap between cards", settings.panel(), {account.center().x(), (account.bottom() + smartness.top()) / 2}, true},
        {"card background", settings.smartnessCard(), {4, 4}, true},
        {"a button", settings.smartnessCard()->clearButton(), {5, 5}, false},
        {"the close control", settings.closeButton(), {2, 2}, false},
    };
    for (const auto &p : presses) {
        spy.presses = 0;
        QTest::mousePress(p.on, Qt::LeftButton, {}, p.at);
        QTest::mouseRelease(p.on, Qt::LeftButton, {}, p.at);
        EXPECT_EQ(spy.presses > 0, p.moves) << p.what;
    }
}

TEST_F(SettingsTest, TheScrollBarStaysClearOfTheRoundedCorners)
{
    SettingsWindowView &settings = openSettings();
    CustomWindow *window = view->settingsWindow();
    window->resize(560, 640);
    settle();
    QScrollBar *bar = settings.scrollArea()->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible()) << "the content is taller than the smallest window";
    const QRect r(bar->mapTo(window, QPoint()), bar->size());
    EXPECT_GE(r.top(), SettingsWindowView::kWindowCornerRadius);
    EXPECT_LE(r.bottom(), window->height() - 1 - SettingsWindowView::kWindowCornerRadius);
}
