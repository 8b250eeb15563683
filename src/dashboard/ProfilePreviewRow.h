#pragma once

#include "dashboard/Card.h"

class QLabel;

namespace qv {
class QVButton;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::dashboard {

class AvatarCircle;

// The settings window's profile row: the 46-point avatar, the display name
// (or "Your Profile") over the account e-mail, and "Update Profile".
class ProfilePreviewRow : public Card {
    Q_OBJECT
public:
    explicit ProfilePreviewRow(state::AppState &appState, QWidget *parent = nullptr);

    AvatarCircle *avatar() const { return m_avatar; }
    QLabel *nameLabel() const { return m_name; }
    QLabel *emailLabel() const { return m_email; }
    QVButton *updateProfileButton() const { return m_update; }

signals:
    void updateProfileRequested();

private:
    void sync();

    state::AppState &m_appState;
    AvatarCircle *m_avatar;
    QLabel *m_name;
    QLabel *m_email;
    QVButton *m_update;
};

} // namespace qv::dashboard
