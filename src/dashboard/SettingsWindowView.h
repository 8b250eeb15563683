#pragma once

#include "dashboard/SettingsLinks.h"

#include <QWidget>

#include <functional>
#include <memory>

class QScrollArea;

namespace qv {
class NoticeBanner;
namespace platform {
class FileChooser;
class Workspace;
} // namespace platform
namespace state {
class AppState;
}
} // namespace qv

namespace qv::dashboard {

class AccountCard;
class AvatarChooser;
class Card;
class CloseDot;
class PreferencesCard;
class ProfilePreviewRow;
class SettingsBindings;
class SmartnessCard;
class SupportCard;

// The content of the settings window: a scrolling rounded panel with the
// header and its close control, the profile row, and the account,
// smartness, preferences and support cards. Every control writes through at
// once; there is no apply step. The state it keeps (password texts, the last
// message, the open form, focus) lives as long as the view.
class SettingsWindowView : public QWidget {
    Q_OBJECT
public:
    // The window that hosts it: its corner radius, smallest and first size.
    static constexpr int kWindowCornerRadius = 22;
    static constexpr QSize kMinimumWindowSize{560, 640};
    static constexpr QSize kWindowSize{640, 740};

    struct Services {
        platform::Workspace *workspace = nullptr;
        platform::FileChooser *fileChooser = nullptr;
    };

    SettingsWindowView(state::AppState &appState, std::shared_ptr<SettingsBindings> bindings, SettingsLinks links,
                       Services services, std::function<void()> onClose, QWidget *parent = nullptr);
    ~SettingsWindowView() override;

    // The close control's action.
    void closeWindow();
    // "Update Profile": asks for a picture.
    void chooseProfilePicture();

    const std::shared_ptr<SettingsBindings> &bindings() const { return m_bindings; }
    const SettingsLinks &links() const { return m_links; }
    CloseDot *closeButton() const { return m_close; }
    ProfilePreviewRow *profileRow() const { return m_profile; }
    NoticeBanner *saveNotice() const { return m_saveNotice; }
    AccountCard *accountCard() const { return m_account; }
    SmartnessCard *smartnessCard() const { return m_smartness; }
    PreferencesCard *preferencesCard() const { return m_preferences; }
    SupportCard *supportCard() const { return m_support; }
    QScrollArea *scrollArea() const { return m_scroll; }
    Card *panel() const { return m_panel; }
    QWidget *headerRow() const { return m_headerRow; }

private:
    state::AppState &m_appState;
    std::shared_ptr<SettingsBindings> m_bindings;
    SettingsLinks m_links;
    std::function<void()> m_onClose;
    std::unique_ptr<AvatarChooser> m_avatarChooser;
    QScrollArea *m_scroll;
    Card *m_panel;
    QWidget *m_headerRow;
    CloseDot *m_close;
    ProfilePreviewRow *m_profile;
    NoticeBanner *m_saveNotice;
    AccountCard *m_account;
    SmartnessCard *m_smartness;
    PreferencesCard *m_preferences;
    SupportCard *m_support;
};

} // namespace qv::dashboard
