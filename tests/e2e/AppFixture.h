#pragma once

// The fixture of the tests that run the application itself: a home of its
// own, the development backend with one account on a free port, the
// application started against both and its controls found on the
// accessibility bus.

#include "AppProcess.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace qv::e2e {

class AppFixture : public ::testing::Test {
protected:
    AppFixture(QString email, QString password) : m_email(std::move(email)), m_password(std::move(password)) {}

    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs the desktop session: scripts/desktop-session run -- ctest -L e2e";
        ASSERT_TRUE(home.isValid());
        env = appEnvironment(home);
        QString why;
        ASSERT_TRUE(startLocalBackend(backend, env, m_email, m_password, &why, backendArguments)) << why.toStdString();
    }

    void TearDown() override
    {
        stopProcess(quorvel);
        backend.stop();
    }

    // Its standard error is gathered in `errors` unless forwarded.
    void startQuorvel(QProcess::ProcessChannelMode channels = QProcess::SeparateChannels)
    {
        if (channels == QProcess::SeparateChannels)
            QObject::connect(&quorvel, &QProcess::readyReadStandardError,
                             [this] { errors += quorvel.readAllStandardError(); });
        QString why;
        ASSERT_TRUE(startApp(quorvel, env, channels, &why)) << why.toStdString();
        ui = std::make_unique<UiProbe>(quorvel.processId());
        ASSERT_TRUE(waitForAppWindow(quorvel, *ui, &why)) << why.toStdString() << "\n" << errors.toStdString();
    }

    bool running() const { return quorvel.state() != QProcess::NotRunning; }

    std::optional<UiProbe::Found> waitFor(const QString &name, const QString &role = {}, int timeoutMs = 10000,
                                          const QString &within = {})
    {
        return waitForShown(*ui, quorvel, name, role, timeoutMs, within);
    }

    bool gone(const QString &name, const QString &role, int timeoutMs = 5000)
    {
        return waitUntil([&] { return !ui->find(name, role); }, timeoutMs);
    }

    using Element = UiProbe::Element;

    // The window that shows `mark`, as it is on screen now.
    QRect windowShowing(const QString &mark)
    {
        const QList<Element> all = ui->all();
        const Element *e = look::named(all, mark);
        return e ? look::windowOf(all, *e) : QRect();
    }

    // Clicks the control named `name` in the window that shows `mark`.
    void clickIn(const QString &mark, const QString &name)
    {
        const QList<Element> all = ui->all();
        const Element *m = look::named(all, mark);
        ASSERT_TRUE(m) << "no " << mark.toStdString();
        for (const Element &e : all)
            if (e.window == m->window && e.name == name && e.children == 0) {
                ASSERT_TRUE(look::windowOf(all, e).contains(e.extents)) << name.toStdString() << " is not on screen";
                ASSERT_TRUE(input::click(e.extents.center()));
                return;
            }
        FAIL() << "no " << name.toStdString() << " in the window of " << mark.toStdString();
    }

    // Waits until `name` stands still (a page may still be settling).
    void atRest(const QString &name)
    {
        QRect last;
        ASSERT_TRUE(waitUntil(
            [&] {
                const auto now = ui->find(name);
                const bool still = now && now->extents == last;
                last = now ? now->extents : QRect();
                return still;
            },
            5000))
            << name.toStdString() << " never came to rest";
    }

    bool press(const QString &name, const QString &role = kButton, int timeoutMs = 10000, const QString &within = {})
    {
        return clickShown(*ui, quorvel, name, role, timeoutMs, within);
    }

    // Synthetic keys may drop a character while the view is still settling,
    // so a rejected sign-in is tried again.
    void signIn()
    {
        bool signedIn = false;
        for (int attempt = 0; attempt < 3 && !signedIn; ++attempt) {
            ASSERT_TRUE(press(QStringLiteral("Email"), {}, 20000)) << "no sign-in view";
            ASSERT_TRUE(input::key(QStringLiteral("ctrl+a")));
            ASSERT_TRUE(input::type(m_email));
            ASSERT_TRUE(press(QStringLiteral("Password"), {}));
            ASSERT_TRUE(input::key(QStringLiteral("ctrl+a")));
            ASSERT_TRUE(input::type(m_password));
            ASSERT_TRUE(press(QStringLiteral("Sign In")));
            signedIn = gone(QStringLiteral("Sign In"), kButton, 8000);
        }
        ASSERT_TRUE(signedIn) << "could not sign in";
    }

    // Picks a workspace on the picker whenever it asks, until `shown` shows
    // in the main window.
    void enterWorkspace(const QString &pickerButton, const QString &shown, const QString &role)
    {
        bool there = false;
        waitUntil(
            [&] {
                if (ui->find(shown, role, QStringLiteral("Quorvel"))) {
                    there = true;
                    return true;
                }
                if (const auto choice = ui->find(pickerButton, kButton))
                    input::click(choice->extents.center());
                return !running();
            },
            25000);
        ASSERT_TRUE(there) << "no " << shown.toStdString() << " after choosing " << pickerButton.toStdString();
    }

    QTemporaryDir home;
    // Options of the development backend, set before SetUp.
    QStringList backendArguments;
    QProcessEnvironment env;
    LocalBackendProcess backend;
    QProcess quorvel;
    QByteArray errors;
    std::unique_ptr<UiProbe> ui;

private:
    QString m_email;
    QString m_password;
};

} // namespace qv::e2e
