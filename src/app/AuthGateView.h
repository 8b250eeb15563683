#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

namespace qv::state {
class AppState;
}

namespace qv::app {

class AuthView;

// Shows the signed-in page while the user is signed in and the sign-in view
// otherwise, following AppState::isAuthenticated at once. Each switch builds
// the page anew, so a sign-in view shown again starts with empty fields and
// a new connectivity monitor.
class AuthGateView final : public QWidget {
    Q_OBJECT
public:
    using AuthViewFactory = std::function<AuthView *(QWidget *parent)>;
    using PageFactory = std::function<QWidget *(QWidget *parent)>;

    // Without a dashboard factory the signed-in page is empty: the shell's
    // background and window controls show through.
    AuthGateView(state::AppState &app, AuthViewFactory makeAuthView, PageFactory makeDashboard,
                 QWidget *parent = nullptr);

    QWidget *page() const { return m_page; }
    AuthView *authView() const;
    bool showsDashboard() const { return m_showsDashboard; }

private:
    void sync();

    state::AppState &m_app;
    AuthViewFactory m_makeAuthView;
    PageFactory m_makeDashboard;
    QPointer<QWidget> m_page;
    bool m_showsDashboard = false;
};

} // namespace qv::app
