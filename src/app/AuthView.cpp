#include "app/AuthView.h"

#include "app/CardFrame.h"
#include "platform/Workspace.h"
#include "services/BackendSettings.h"
#include "services/SupabaseClient.h"
#include "state/AppState.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"
#include "theme/ShimmerTitle.h"
#include "theme/StyledLabel.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace qv::app {

AuthView::AuthView(state::AppState &app, platform::Workspace &workspace, QUrl supportUrl,
                   ConnectivityFactory makeMonitor, QWidget *parent)
    : QWidget(parent), m_app(app), m_workspace(workspace), m_supportUrl(std::move(supportUrl)),
      m_makeMonitor(std::move(makeMonitor)), m_localBackend(isLoopbackHost(app.supabase().url()))
{
    m_card = new CardFrame(CardFrame::Style{24, 20, 12}, this);
    auto *column = new QVBoxLayout(m_card);
    column->setContentsMargins(28, 20, 28, 20);
    column->setSpacing(14);

    m_title = new ShimmerTitle(QStringLiteral("Quorvel"), 56, m_card);
    column->addSpacing(6);
    column->addWidget(m_title);
    column->addWidget(wordWrapped(styledLabel(QStringLiteral("Sign in to continue"), TextStyle::Title3, QFont::DemiBold,
                                              Theme::subtext(), m_card),
                                  Qt::AlignHCenter));
    column->addWidget(
        wordWrapped(styledLabel(QStringLiteral("Use with your own work or content you have permission to present."),
                                TextStyle::Caption, std::nullopt, Theme::subtext(), m_card),
                    Qt::AlignHCenter));
    m_offline = wordWrapped(styledLabel(QStringLiteral("Network not connected"), TextStyle::Caption, std::nullopt,
                                        Theme::danger(), m_card),
                            Qt::AlignHCenter);
    column->addWidget(m_offline);

    m_email = new QVLineEdit(m_card, 12);
    m_email->setPlaceholderText(QStringLiteral("Email"));
    m_email->setAccessibleName(QStringLiteral("Email"));
    // No correction or capitalisation of an address.
    m_email->setInputMethodHints(Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase | Qt::ImhEmailCharactersOnly);
    column->addWidget(m_email);

    m_password = new QVLineEdit(m_card, 12);
    m_password->setPlaceholderText(QStringLiteral("Password"));
    m_password->setAccessibleName(QStringLiteral("Password"));
    m_password->setEchoMode(QLineEdit::Password);
    column->addWidget(m_password);

    m_signIn = new QVButton(QStringLiteral("Sign In"), QVButtonVariant::primary, false, m_card);
    column->addWidget(m_signIn, 0, Qt::AlignHCenter);
    m_support = new QVButton(QStringLiteral("Support"), QVButtonVariant::secondary, false, m_card);
    column->addWidget(m_support, 0, Qt::AlignHCenter);

    m_message = wordWrapped(styledLabel({}, TextStyle::Caption, std::nullopt, Theme::subtext(), m_card),
                            Qt::AlignHCenter);
    // A long message wraps inside the card; it never widens it.
    m_message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    column->addWidget(m_message);

    m_card->setMaximumWidth(kMaxCardWidth);
    m_card->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    // The card at its natural height in the middle, as wide as it may be
    // with 32 pixels to each side.
    auto *row = new QHBoxLayout;
    row->setContentsMargins(kSideMargin, 0, kSideMargin, 0);
    row->addStretch(1);
    row->addWidget(m_card, 1000);
    row->addStretch(1);
    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(0, 28, 0, 28);
    page->addStretch(1);
    page->addLayout(row);
    page->addStretch(1);

    // Key-view order: e-mail, then password.
    setTabOrder(m_email, m_password);

    connect(m_email, &QLineEdit::textChanged, this, &AuthView::refresh);
    connect(m_password, &QLineEdit::textChanged, this, &AuthView::refresh);
    connect(&m_app, &state::AppState::isAuthLoadingChanged, this, &AuthView::refresh);
    connect(&m_app, &state::AppState::authMessageChanged, this, &AuthView::refresh);
    connect(m_signIn, &QAbstractButton::clicked, this, &AuthView::signIn);
    connect(m_support, &QAbstractButton::clicked, this, &AuthView::openSupport);
    refresh();
}

AuthView::~AuthView() { disappear(); }

void AuthView::disappear()
{
    if (m_monitor)
        m_monitor->cancel();
    m_monitor.reset();
}

bool AuthView::signInEnabled(const QString &email, const QString &password, bool loading, bool connected)
{
    return !email.isEmpty() && !password.isEmpty() && !loading && connected;
}

void AuthView::appear()
{
    if (m_monitor || !m_makeMonitor)
        return;
    m_monitor = m_makeMonitor();
    if (!m_monitor)
        return;
    QPointer<AuthView> self(this);
    m_monitor->start([self](bool connected) {
        if (self)
            self->setConnected(connected);
    });
}

void AuthView::setConnected(bool connected)
{
    // A backend on this machine answers without a network path.
    connected = connected || m_localBackend;
    if (m_connected == connected)
        return;
    m_connected = connected;
    refresh();
}

void AuthView::refresh()
{
    const bool loading = m_app.isAuthLoading();
    m_offline->setVisible(!m_connected);
    m_signIn->setBusy(loading);
    m_signIn->setEnabled(signInEnabled(m_email->text(), m_password->text(), loading, m_connected));
    const QString message = m_app.authMessage();
    m_message->setText(message);
    m_message->setVisible(!message.isEmpty());
}

void AuthView::signIn()
{
    // Exactly as typed: no trimming, no change of case.
    if (signInEnabled(m_email->text(), m_password->text(), m_app.isAuthLoading(), m_connected))
        m_app.signIn(m_email->text(), m_password->text());
}

void AuthView::openSupport()
{
    if (m_supportUrl.isValid() && !m_supportUrl.isRelative())
        m_workspace.openUrl(m_supportUrl);
}

} // namespace qv::app
