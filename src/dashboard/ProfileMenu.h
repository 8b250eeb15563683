#pragma once

#include "dashboard/Card.h"

namespace qv {
class AnimatedValue;
class QVButton;
} // namespace qv

namespace qv::dashboard {

// The small card under the profile island with its three entries. It only
// announces the choice; the dashboard closes it and acts.
class ProfileMenu : public Card {
    Q_OBJECT
public:
    static constexpr double kFadeMs = 200;

    explicit ProfileMenu(QWidget *parent = nullptr);

    // Shows or hides the card, fading over 0.2 s when `animated`.
    void setShown(bool shown, bool animated);
    bool isShown() const { return m_shown; }

    QVButton *settingsButton() const { return m_settings; }
    QVButton *checkForUpdatesButton() const { return m_updates; }
    QVButton *signOutButton() const { return m_signOut; }

signals:
    void settingsRequested();
    void checkForUpdatesRequested();
    void signOutRequested();

private:
    void syncOpacity();

    QVButton *m_settings;
    QVButton *m_updates;
    QVButton *m_signOut;
    AnimatedValue *m_opacity;
    bool m_shown = false;
};

} // namespace qv::dashboard
