#include "dashboard/AccountCard.h"

#include "core/Text.h"
#include "dashboard/Labels.h"
#include "dashboard/SecureField.h"
#include "dashboard/SettingsBindings.h"
#include "state/AppState.h"
#include "theme/AnimatedValue.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QPointer>
#include <QVBoxLayout>

#include <cmath>

namespace qv::dashboard {

AccountCard::AccountCard(state::AppState &appState, std::shared_ptr<SettingsBindings> bindings, QWidget *parent)
    : Card(Theme::surfaceAlt(), 16, parent), m_appState(appState), m_bindings(std::move(bindings)),
      m_reveal(new AnimatedValue(0, this))
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(12);
    column->addWidget(styledLabel(QStringLiteral("Account"), Typography::font(TextStyle::Caption, QFont::DemiBold),
                                  Theme::subtext(), this));

    m_name = new QVLineEdit(this, 12);
    m_name->setPlaceholderText(QStringLiteral("Your name"));
    m_name->setText(m_bindings->settingsName());
    column->addWidget(m_name);
    // The field keeps the text as typed; the stored name is trimmed.
    connect(m_name, &QLineEdit::textChanged, this, [this](const QString &text) { m_bindings->setSettingsName(text); });
    connect(m_bindings.get(), &SettingsBindings::settingsNameChanged, this, [this] {
        const QString &name = m_bindings->settingsName();
        if (m_name->text() != name)
            m_name->setText(name);
        m_appState.updateProfileName(text::trimmed(name));
    });

    m_email = styledLabel(appState.authEmail(), Typography::font(TextStyle::Caption, QFont::DemiBold), Theme::subtext(),
                          this);
    auto *emailRow = new QHBoxLayout;
    emailRow->setSpacing(10);
    emailRow->addWidget(m_email);
    emailRow->addStretch();
    column->addLayout(emailRow);
    connect(&appState, &state::AppState::authEmailChanged, this, [this] { m_email->setText(m_appState.authEmail()); });

    m_formButton = new QVButton(QStringLiteral("Change Password"), QVButtonVariant::secondary, true, this);
    column->addWidget(m_formButton, 0, Qt::AlignLeft);
    connect(m_formButton, &QAbstractButton::clicked, this, [this] { setShowPasswordFields(!m_showPasswordFields); });

    m_form = new QWidget(this);
    auto *form = new QVBoxLayout(m_form);
    form->setContentsMargins(0, 6, 0, 0);
    form->setSpacing(10);
    m_current = new SecureField(QStringLiteral("Current password"), m_form);
    m_new = new SecureField(QStringLiteral("New password"), m_form);
    m_confirm = new SecureField(QStringLiteral("Confirm new password"), m_form);
    form->addWidget(m_current);
    form->addWidget(m_new);
    form->addWidget(m_confirm);
    m_update = new QVButton(QStringLiteral("Update Password"), QVButtonVariant::secondary, false, m_form);
    form->addWidget(m_update, 0, Qt::AlignLeft);
    m_status = styledLabel(QString(), Typography::font(TextStyle::Caption2), Theme::subtext(), m_form);
    m_status->setWordWrap(true);
    m_status->hide();
    form->addWidget(m_status);
    column->addWidget(m_form);
    connect(m_update, &QAbstractButton::clicked, this, &AccountCard::updatePassword);

    auto *fade = new QGraphicsOpacityEffect(m_form);
    fade->setEnabled(false);
    m_form->setGraphicsEffect(fade);
    connect(m_reveal, &AnimatedValue::changed, this, &AccountCard::syncReveal);
    syncReveal();
}

QString AccountCard::passwordStatus() const { return m_status->text(); }

double AccountCard::formReveal() const { return m_reveal->value(); }

void AccountCard::setShowPasswordFields(bool show)
{
    if (show == m_showPasswordFields)
        return;
    m_showPasswordFields = show;
    m_formButton->setText(show ? QStringLiteral("Hide Change Password") : QStringLiteral("Change Password"));
    m_reveal->set(show ? 1 : 0, Animation::easeInOut(kFormMs));
    syncReveal();
}

void AccountCard::syncReveal()
{
    const double v = m_reveal->value();
    auto *fade = static_cast<QGraphicsOpacityEffect *>(m_form->graphicsEffect());
    const bool settled = !m_reveal->isAnimating();
    if (settled) {
        fade->setEnabled(false);
        m_form->setMaximumHeight(QWIDGETSIZE_MAX);
        m_form->setVisible(m_showPasswordFields);
        return;
    }
    m_form->setVisible(true);
    fade->setEnabled(true);
    fade->setOpacity(v);
    m_form->setMaximumHeight(int(std::lround(v * m_form->sizeHint().height())));
}

void AccountCard::setPasswordStatus(const QString &status)
{
    m_status->setText(status);
    m_status->setVisible(!status.isEmpty());
}

void AccountCard::updatePassword()
{
    // The one check made here; every other answer comes from the account.
    if (m_new->text() != m_confirm->text()) {
        setPasswordStatus(QStringLiteral("Passwords do not match."));
        return;
    }
    QPointer<AccountCard> self(this);
    m_appState.changePassword(m_current->text(), m_new->text(), [self](state::AccountSession::ChangePasswordResult r) {
        if (!self)
            return;
        // Back on the GUI thread, and only while the card is still there.
        QMetaObject::invokeMethod(
            self.data(),
            [self, r = std::move(r)] {
                if (!self)
                    return;
                if (const QString *message = std::get_if<QString>(&r)) {
                    self->setPasswordStatus(*message);
                    self->m_current->clear();
                    self->m_new->clear();
                    self->m_confirm->clear();
                } else {
                    self->setPasswordStatus(std::get<state::AppError>(r).message);
                }
            },
            Qt::QueuedConnection);
    });
}

} // namespace qv::dashboard
