#pragma once

#include "dashboard/Card.h"

#include <memory>

class QLabel;

namespace qv {
class AnimatedValue;
class QVButton;
class QVLineEdit;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::dashboard {

class SecureField;
class SettingsBindings;

// The account card: the profile name, saved trimmed while the user types;
// the account e-mail; and the password form, which opens and closes over
// 0.2 s (whatever the reduce-motion switches say) and reports the outcome of
// a change in one line. Hiding the form keeps its texts and message.
class AccountCard : public Card {
    Q_OBJECT
public:
    static constexpr double kFormMs = 200;

    AccountCard(state::AppState &appState, std::shared_ptr<SettingsBindings> bindings, QWidget *parent = nullptr);

    bool showPasswordFields() const { return m_showPasswordFields; }
    void setShowPasswordFields(bool show);
    // The "Update Password" action.
    void updatePassword();

    QVLineEdit *nameField() const { return m_name; }
    QLabel *emailLabel() const { return m_email; }
    QVButton *formButton() const { return m_formButton; }
    QWidget *passwordForm() const { return m_form; }
    SecureField *currentPasswordField() const { return m_current; }
    SecureField *newPasswordField() const { return m_new; }
    SecureField *confirmPasswordField() const { return m_confirm; }
    QVButton *updatePasswordButton() const { return m_update; }
    QLabel *statusLabel() const { return m_status; }
    QString passwordStatus() const;
    // The form's share of its full height at this moment (0 closed, 1 open).
    double formReveal() const;

private:
    void setPasswordStatus(const QString &status);
    void syncReveal();

    state::AppState &m_appState;
    std::shared_ptr<SettingsBindings> m_bindings;
    QVLineEdit *m_name;
    QLabel *m_email;
    QVButton *m_formButton;
    QWidget *m_form;
    SecureField *m_current;
    SecureField *m_new;
    SecureField *m_confirm;
    QVButton *m_update;
    QLabel *m_status;
    AnimatedValue *m_reveal;
    bool m_showPasswordFields = false;
};

} // namespace qv::dashboard
