#pragma once

#include "app/ConnectivityMonitor.h"

#include <QUrl>
#include <QWidget>

#include <memory>

class QLabel;

namespace qv {
class QVButton;
class QVLineEdit;
class ShimmerTitle;
namespace platform {
class Workspace;
}
namespace state {
class AppState;
}
} // namespace qv

namespace qv::app {

class CardFrame;

// The signed-out page: a centred card with the product title, e-mail and
// password fields, Sign In and Support buttons and the account message. It
// watches connectivity while it is on screen and refuses to sign in offline,
// unless the account backend is on this machine (a loopback address).
// Return in a field signs nobody in, and no field takes focus by itself.
class AuthView final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxCardWidth = 600;
    static constexpr int kSideMargin = 32;

    AuthView(state::AppState &app, platform::Workspace &workspace, QUrl supportUrl, ConnectivityFactory makeMonitor,
             QWidget *parent = nullptr);
    ~AuthView() override;

    // The rule of the Sign In button: fields count as filled when they hold
    // any character at all (spaces included).
    static bool signInEnabled(const QString &email, const QString &password, bool loading, bool connected);

    // Starts watching connectivity; the host calls it when it installs the view.
    void appear();
    // Stops watching; the host calls it when it takes the view away.
    void disappear();

    bool isConnected() const { return m_connected; }
    bool isMonitoring() const { return m_monitor != nullptr; }

    QVLineEdit *emailField() const { return m_email; }
    QVLineEdit *passwordField() const { return m_password; }
    QVButton *signInButton() const { return m_signIn; }
    QVButton *supportButton() const { return m_support; }
    QLabel *offlineNotice() const { return m_offline; }
    QLabel *messageLabel() const { return m_message; }
    ShimmerTitle *title() const { return m_title; }
    CardFrame *card() const { return m_card; }

private:
    void setConnected(bool connected);
    void refresh();
    void signIn();
    void openSupport();

    state::AppState &m_app;
    platform::Workspace &m_workspace;
    QUrl m_supportUrl;
    ConnectivityFactory m_makeMonitor;
    std::unique_ptr<ConnectivityMonitor> m_monitor;
    bool m_localBackend;
    bool m_connected = true;

    CardFrame *m_card;
    ShimmerTitle *m_title;
    QLabel *m_offline;
    QVLineEdit *m_email;
    QVLineEdit *m_password;
    QVButton *m_signIn;
    QVButton *m_support;
    QLabel *m_message;
};

} // namespace qv::app
