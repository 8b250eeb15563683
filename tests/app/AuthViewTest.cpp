// The sign-in view: texts, the Sign In button's rules, loading, failures,
// connectivity, keyboard and layout.
#include "ShellTestSupport.h"

#include "app/AppShellView.h"
#include "app/AuthGateView.h"
#include "app/AuthView.h"
#include "app/CardFrame.h"
#include "app/MainWindow.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"
#include "theme/ShimmerTitle.h"
#include "theme/Theme.h"

#include <QLabel>
#include <QLayout>
#include <QTest>

using namespace qv;
using namespace qv::app;
using namespace qv::test;

namespace {

class AuthViewTest : public ShellTest {
protected:
    AuthView *view = nullptr;

    // The application past its splash, showing the sign-in view, with an
    // account backend elsewhere on the network unless told otherwise.
    void signInPage(const QUrl &backend = QUrl("https://accounts.example.test"))
    {
        auto env = environment();
        env.stateEnvironment.backendUrl = backend;
        start(std::move(env));
        quorvel->show();
        scheduler.advance(3400 + 350);
        auto *gate = qobject_cast<AuthGateView *>(quorvel->shell()->gate());
        ASSERT_NE(gate, nullptr);
        view = gate->authView();
        ASSERT_NE(view, nullptr);
    }
    void fill(const QString &email, const QString &password)
    {
        view->emailField()->setText(email);
        view->passwordField()->setText(password);
    }
    QStringList visibleTexts() const
    {
        QStringList out;
        for (QLabel *l : view->card()->findChildren<QLabel *>())
            if (l->isVisible())
                out << l->text();
        return out;
    }
};

} // namespace

TEST_F(AuthViewTest, FieldsAreNamedAndMaskedStartWithoutFocusAndTabGoesEmailThenPassword)
{
    signInPage();
    for (auto [field, name, echo] : {std::tuple{view->emailField(), "Email", QLineEdit::Normal},
                                     std::tuple{view->passwordField(), "Password", QLineEdit::Password}}) {
        EXPECT_EQ(field->placeholderText(), name);
        EXPECT_EQ(field->accessibleName(), name);
        EXPECT_EQ(field->echoMode(), echo);
    }
    EXPECT_TRUE(view->supportButton()->isEnabled());
    EXPECT_FALSE(view->messageLabel()->isVisible());

    MainWindow *w = quorvel->mainWindow();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    EXPECT_FALSE(view->emailField()->hasFocus());
    EXPECT_FALSE(view->passwordField()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(view->emailField()->hasFocus());
    QTest::keyClick(view->emailField(), Qt::Key_Tab);
    EXPECT_TRUE(view->passwordField()->hasFocus());
}

TEST(AuthViewRule, SignInNeedsBothFieldsNotLoadingAndOnline)
{
    // Spaces are characters: the fields count as filled.
    for (auto [email, password, loading, online, want] : {std::tuple{"", "", false, true, false},
                                                          {"a@b.c", "", false, true, false},
                                                          {"", "secret", false, true, false},
                                                          {"a@b.c", "secret", true, true, false},
                                                          {"a@b.c", "secret", false, false, false},
                                                          {"a@b.c", "secret", false, true, true},
                                                          {"   ", " ", false, true, true}})
        EXPECT_EQ(AuthView::signInEnabled(email, password, loading, online), want) << email << "/" << password;
}

TEST_F(AuthViewTest, TheButtonFollowsTheFieldsAndSendsThemUntrimmed)
{
    signInPage();
    fill("pat@example.test", "");
    EXPECT_FALSE(view->signInButton()->isEnabled());
    fill("   ", "x");
    ASSERT_TRUE(view->signInButton()->isEnabled());

    transport->respond("POST", kToken, 400, R"({"error":"invalid_grant"})");
    QTest::mouseClick(view->signInButton(), Qt::LeftButton, {}, view->signInButton()->faceRect().center().toPoint());
    scheduler.advance(10);
    ASSERT_EQ(transport->requests().size(), 1);
    EXPECT_TRUE(transport->requests().front().body.contains(R"("email":"   ")"))
        << transport->requests().front().body.toStdString();
    EXPECT_TRUE(transport->requests().front().body.contains(R"("password":"x")"));
}

TEST_F(AuthViewTest, WhileSigningInTheButtonSpinsAndAFailureKeepsTheFields)
{
    signInPage();
    transport->respond("POST", kToken, 400,
                       R"({"error":"invalid_grant","error_description":"Invalid login credentials"})", 1000);
    fill("pat@example.test", "wrong");
    view->signInButton()->click();
    scheduler.advance(100);
    ASSERT_TRUE(appState().isAuthLoading());
    EXPECT_TRUE(view->signInButton()->isBusy());
    EXPECT_FALSE(view->signInButton()->isEnabled());
    EXPECT_TRUE(view->emailField()->isEnabled());
    EXPECT_FALSE(view->emailField()->isReadOnly());
    view->signInButton()->click(); // a disabled button sends nothing more
    scheduler.advance(10);
    EXPECT_EQ(transport->requests().size(), 1);

    scheduler.advance(1000);
    EXPECT_FALSE(appState().isAuthLoading());
    EXPECT_FALSE(view->signInButton()->isBusy());
    EXPECT_TRUE(view->signInButton()->isEnabled());
    EXPECT_TRUE(view->messageLabel()->isVisible());
    EXPECT_EQ(view->messageLabel()->text(), appState().authMessage());
    EXPECT_FALSE(view->messageLabel()->text().isEmpty());
    EXPECT_EQ(view->emailField()->text(), "pat@example.test");
    EXPECT_EQ(view->passwordField()->text(), "wrong");
    EXPECT_FALSE(appState().isAuthenticated());
}

TEST_F(AuthViewTest, OfflineShowsTheNoticeAndRefusesToSignInAndReturnNeverSignsIn)
{
    signInPage();
    EXPECT_EQ(connectivity.running(), 1);
    fill("pat@example.test", "secret");
    ASSERT_TRUE(view->signInButton()->isEnabled());

    connectivity.set(false);
    EXPECT_TRUE(view->offlineNotice()->isVisible());
    EXPECT_EQ(view->offlineNotice()->text(), "Network not connected");
    EXPECT_EQ(view->offlineNotice()->palette().color(QPalette::WindowText), Theme::danger());
    EXPECT_EQ(visibleTexts().indexOf("Network not connected"), 2) << "below the notice text";
    EXPECT_FALSE(view->signInButton()->isEnabled());
    view->signInButton()->click();
    scheduler.advance(10);
    EXPECT_TRUE(transport->requests().isEmpty());

    connectivity.set(true);
    EXPECT_FALSE(view->offlineNotice()->isVisible());
    EXPECT_TRUE(view->signInButton()->isEnabled());

    // Return in a field signs nobody in; Support opens the support page.
    view->passwordField()->setFocus();
    QTest::keyClick(view->passwordField(), Qt::Key_Return);
    QTest::keyClick(view->emailField(), Qt::Key_Enter);
    scheduler.advance(10);
    EXPECT_TRUE(transport->requests().isEmpty());
    EXPECT_FALSE(appState().isAuthLoading());

    view->supportButton()->click();
    EXPECT_EQ(sim.log().callsNamed("openUrl"), QStringList{"https://quorvel.example/quorvel-site/support.html"});
}

// A backend on this machine answers without any network: the reachability
// notice must never keep the user from signing in to it.
TEST_F(AuthViewTest, ALoopbackBackendIsNeverBlockedByTheReachabilityNotice)
{
    for (const char *local : {"http://127.0.0.1:54999", "http://localhost:8080", "http://[::1]:3000"}) {
        SCOPED_TRACE(local);
        signInPage(QUrl(QString::fromLatin1(local)));
        fill("pat@example.test", "secret");
        connectivity.set(false);
        EXPECT_FALSE(view->offlineNotice()->isVisible());
        ASSERT_TRUE(view->signInButton()->isEnabled());
        transport->clear();
        transport->respond("POST", kToken, 400, R"({"error":"invalid_grant"})");
        view->signInButton()->click();
        scheduler.advance(10);
        EXPECT_EQ(transport->requests().size(), 1);
        quorvel.reset();
    }
}

TEST_F(AuthViewTest, TheCardIsAtMost600WideWith32ToEachSide)
{
    start();
    QWidget host;
    host.resize(1180, 760);
    auto *auth = new AuthView(appState(), sim.workspace(), QUrl(), nullptr, &host);
    auth->setGeometry(host.rect());
    host.show();
    EXPECT_EQ(auth->card()->width(), 600);
    EXPECT_NEAR(auth->card()->geometry().center().x(), 590, 1);

    auth->setGeometry(0, 0, 500, 760);
    QCoreApplication::sendPostedEvents();
    auth->layout()->activate();
    EXPECT_EQ(auth->card()->width(), 500 - 64);
    EXPECT_EQ(auth->card()->x(), 32);
    // Its natural height, in the middle.
    EXPECT_EQ(auth->card()->height(), auth->card()->heightForWidth(436));
    EXPECT_NEAR(auth->card()->geometry().center().y(), 380, 2);
    // Without a support address the button does nothing.
    auth->supportButton()->click();
    EXPECT_TRUE(sim.log().callsNamed("openUrl").isEmpty());
}

// Pictures to look at, not checks.
TEST_F(AuthViewTest, ScreenshotOfTheSignInView)
{
    signInPage();
    scheduler.advance(6000); // the title's sweep has settled
    const QImage shot = grabImage(*quorvel->mainWindow());
    shot.save(screenshotDir() + "/shell-sign-in.png");
    // A smaller copy for the README.
    shot.scaledToWidth(720, Qt::SmoothTransformation).save(screenshotDir() + "/shell-sign-in-small.png");
    fill("pat@example.test", "secret");
    connectivity.set(false);
    grabImage(*quorvel->mainWindow()).save(screenshotDir() + "/shell-sign-in-offline.png");
}

TEST_F(AuthViewTest, AProxyPageOrBareJsonReadsAsASentenceWrappedInsideTheCard)
{
    signInPage();
    const QByteArray bodies[] = {
        "<html><head><title>502 Bad Gateway</title></head><body><center><h1>502 Bad Gateway</h1></center><hr>"
        "<center>nginx</center></body></html>",
        R"({"code":503,"details":"upstream_connect_error_or_disconnect_reset_before_headers_reset_reason_overflow"})",
    };
    for (const QByteArray &body : bodies) {
        transport->respond("POST", kToken, body.startsWith('<') ? 502 : 503, body);
        fill("pat@example.test", "pw");
        view->signInButton()->click();
        scheduler.advance(100);
        QCoreApplication::processEvents();
        QLabel *message = view->messageLabel();
        ASSERT_TRUE(message->isVisible());
        const QString text = message->text();
        EXPECT_TRUE(text.contains("(status 50")) << text.toStdString();
        EXPECT_FALSE(text.contains('<') || text.contains('{')) << text.toStdString();
        // Inside the card's padding, on as many lines as it needs.
        const QRect inCard(message->mapTo(view->card(), QPoint()), message->size());
        EXPECT_LE(inCard.right(), view->card()->width() - 28);
        EXPECT_GE(inCard.left(), 28);
        EXPECT_GE(message->height(), message->heightForWidth(message->width()));
    }
}
