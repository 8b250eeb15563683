// Signing in through the sign-in view against the local development
// backend, over real loopback sockets.
#include "ShellTestSupport.h"

#include "app/AppShellView.h"
#include "app/AuthGateView.h"
#include "app/AuthView.h"
#include "state/LoopbackBackend.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"

#include <QLabel>

using namespace qv;
using namespace qv::app;
using namespace qv::test;

namespace {

class SignInBackendTest : public ShellTest {
protected:
    std::unique_ptr<devbackend::DevBackend> backend;

    void SetUp() override
    {
        std::string error;
        backend = startLoopbackBackend(loopbackOptions("demo@quorvel.test", "quorvel-demo"), error);
        ASSERT_TRUE(backend) << error;
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        if (backend)
            backend->stop();
    }
    // The real client transport against the backend; the clock stands still
    // while the sockets work.
    AuthGateView *signInPage()
    {
        auto env = environment();
        env.stateEnvironment.backendUrl = QUrl(QString::fromStdString(backend->baseUrl()));
        env.stateEnvironment.backendTransport = nullptr;
        env.stateEnvironment.backendAnonKey = state::AppStateEnvironment::defaultBackendAnonKey();
        start(env);
        quorvel->show();
        scheduler.advance(3400 + 350);
        return qobject_cast<AuthGateView *>(quorvel->shell()->gate());
    }
    bool waitFor(const std::function<bool()> &done) { return waitOnSockets(scheduler, done); }
};

} // namespace

TEST_F(SignInBackendTest, AWrongPasswordShowsTheMessageThenTheRightOneOpensTheSignedInPage)
{
    AuthGateView *gate = signInPage();
    ASSERT_NE(gate, nullptr);
    AuthView *view = gate->authView();
    ASSERT_NE(view, nullptr);

    view->emailField()->setText("demo@quorvel.test");
    view->passwordField()->setText("not it");
    ASSERT_TRUE(view->signInButton()->isEnabled());
    view->signInButton()->click();
    ASSERT_TRUE(waitFor([&] { return !appState().isAuthLoading() && !appState().authMessage().isEmpty(); }))
        << appState().isAuthLoading() << " " << appState().authMessage().toStdString();
    EXPECT_TRUE(view->messageLabel()->isVisible());
    EXPECT_TRUE(view->messageLabel()->text().contains("Invalid login credentials"));
    EXPECT_EQ(view->passwordField()->text(), "not it");

    view->passwordField()->setText("quorvel-demo");
    view->signInButton()->click();
    ASSERT_TRUE(waitFor([&] { return appState().isAuthenticated(); }));
    EXPECT_TRUE(gate->showsDashboard());
    EXPECT_EQ(gate->authView(), nullptr);
    EXPECT_EQ(appState().authEmail(), "demo@quorvel.test");
    EXPECT_EQ(connectivity.running(), 0);
}
