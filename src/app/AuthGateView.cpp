#include "app/AuthGateView.h"

#include "app/AuthView.h"
#include "state/AppState.h"

#include <QVBoxLayout>

namespace qv::app {

AuthGateView::AuthGateView(state::AppState &app, AuthViewFactory makeAuthView, PageFactory makeDashboard,
                           QWidget *parent)
    : QWidget(parent), m_app(app), m_makeAuthView(std::move(makeAuthView)), m_makeDashboard(std::move(makeDashboard))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    connect(&m_app, &state::AppState::isAuthenticatedChanged, this, &AuthGateView::sync);
    sync();
}

AuthView *AuthGateView::authView() const { return qobject_cast<AuthView *>(m_page.data()); }

void AuthGateView::sync()
{
    const bool signedIn = m_app.isAuthenticated();
    if (m_page && signedIn == m_showsDashboard)
        return;
    if (m_page) {
        if (auto *auth = qobject_cast<AuthView *>(m_page.data()))
            auth->disappear();
        // Later: the change may come from inside the old page's own handler.
        m_page->hide();
        layout()->removeWidget(m_page);
        m_page->deleteLater();
    }
    m_showsDashboard = signedIn;
    QWidget *page = nullptr;
    if (signedIn)
        page = m_makeDashboard ? m_makeDashboard(this) : nullptr;
    else
        page = m_makeAuthView ? m_makeAuthView(this) : nullptr;
    if (!page)
        page = new QWidget(this);
    m_page = page;
    layout()->addWidget(page);
    page->show();
    if (auto *auth = qobject_cast<AuthView *>(page))
        auth->appear();
}

} // namespace qv::app
