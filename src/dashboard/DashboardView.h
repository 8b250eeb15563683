#pragma once

#include "dashboard/DashboardEnvironment.h"
#include "dashboard/DashboardMode.h"
#include "model/Project.h"
#include "theme/AnimatedValue.h"
#include "theme/CustomWindow.h"

#include <QMessageBox>
#include <QPointer>
#include <QStackedWidget>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>
#include <optional>

class QScrollArea;

namespace qv {
class ComingSoonView;
class NoticeBanner;
class QVBackground;
class ShimmerTitle;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::dashboard {

class Card;
class DashboardSwitchBar;
class HoverCaptureView;
class ModePickerView;
class OverlayHost;
class ProfileAvatarButton;
class ProfileIslandState;
class ProfileMenu;
class SettingsBindings;
class ScrimLayer;
class UndoBanner;
class LayerFade;
class WorkspaceFade;
class UndoOffer;
class UpdatePromptCard;
class WelcomeOverlayView;
class WorkspaceSwitch;
class WriterWorkspace;

// The signed-in page: the workspace picker, the workspaces behind their
// welcome overlay, the writer list with its project pages, and the layers
// over them (coming-soon card, update cards, undo banner, permissions card).
// A profile island in the top-right corner reveals the avatar button when
// the pointer comes near; the button opens the profile menu (settings, update
// check, sign-out). It opens the project editor, the typing panel and the
// settings window in windows of their own.
// One is made at every sign-in and destroyed at sign-out; its filters and
// choices are not kept.
class DashboardView : public QWidget {
    Q_OBJECT
public:
    // Stacking order of the layers that need one; the rest keep the order in
    // which they are laid.
    static constexpr int kProfileMenuZ = 30;
    static constexpr int kProfileIslandZ = 40;
    static constexpr int kPermissionsZ = 200;

    DashboardView(state::AppState &appState, DashboardEnvironment environment,
                  DashboardFactories factories = DashboardFactories::standIns(), QWidget *parent = nullptr);
    ~DashboardView() override;

    // Runs what the page does when it is put on screen: the picker is
    // offered, one update check without a forced prompt, the permission
    // flags read again. Whoever installs the page calls it once.
    void appear();

    // ---- operations
    void openProjectWindow(const std::optional<Project> &project);
    void openTypingWindow(const Project &project);
    // The "New Project" command.
    void openNewProject() { openProjectWindow(std::nullopt); }
    void handleModeSwitch(DashboardMode mode, bool isInitial);
    // Asks "Delete Project?" for a project (by its stored version).
    void requestDelete(const QUuid &projectId);
    void undoDelete();
    // Opens the settings window, or brings the one made earlier to the front.
    void openSettingsWindow();
    // The profile menu's entries; each closes the menu first.
    void chooseSettings();
    void chooseCheckForUpdates();
    void chooseSignOut();

    // ---- state, for the application and for tests
    WorkspaceSwitch &workspaceSwitch() const { return *m_switch; }
    WriterWorkspace *writerWorkspace() const { return m_writer; }
    UndoOffer &undoOffer() const { return *m_undo; }
    const std::optional<Project> &pendingDelete() const { return m_pendingDelete; }
    const std::optional<Project> &draftProject() const { return m_draftProject; }
    bool showPermissionsGate() const { return m_showPermissionsGate; }
    void setShowPermissionsGate(bool show);
    CustomWindow *projectWindow() const { return m_projectWindow; }
    CustomWindow *typingWindow() const { return m_typingWindow; }
    QMessageBox *deleteAlert() const { return m_deleteAlert; }

    // The defaults read when the page was made (the settings window edits them).
    const QString &defaultGrade() const;
    const QString &defaultReview() const;
    const QString &smartPreset() const;
    const QString &defaultMode() const;
    const std::shared_ptr<SettingsBindings> &settingsBindings() const { return m_bindings; }
    ProfileIslandState &profileIsland() const { return *m_islandState; }
    CustomWindow *settingsWindow() const { return m_settingsWindow; }
    int closeSettingsTrigger() const { return m_closeSettingsTrigger; }

    // ---- pieces, for tests and screenshots
    OverlayHost *overlayHost() const { return m_host; }
    ModePickerView *modePicker() const { return m_picker; }
    QWidget *workspaceLayer() const { return m_workspaceLayer; }
    QWidget *workspaceBlocker() const { return m_blocker; }
    QScrollArea *scrollView() const { return m_scroll; }
    QWidget *pickerPage() const { return m_pickerPage; }
    const WorkspaceFade &workspaceFade() const { return *m_workspaceFade; }
    QWidget *header() const { return m_header; }
    ShimmerTitle *pageTitle() const { return m_title; }
    DashboardSwitchBar *switchBar() const { return m_switchBar; }
    QWidget *studyWorkspace() const { return m_study; }
    ScrimLayer *comingSoonLayer() const { return m_comingSoonLayer; }
    ComingSoonView *comingSoonCard() const { return m_comingSoon; }
    WelcomeOverlayView *welcomeOverlay() const { return m_welcome; }
    ScrimLayer *updateLayer() const { return m_updateLayer; }
    ScrimLayer *noUpdateLayer() const { return m_noUpdateLayer; }
    UpdatePromptCard *updateCard() const { return m_updateCard; }
    UpdatePromptCard *noUpdateCard() const { return m_noUpdateCard; }
    UndoBanner *undoBanner() const { return m_banner; }
    NoticeBanner *preferencesNotice() const { return m_preferencesNotice; }
    QWidget *profileMenuLayer() const;
    QWidget *profileIslandLayer() const;
    ProfileMenu *profileMenu() const { return m_profileMenu; }
    ProfileAvatarButton *profileButton() const { return m_profileButton; }
    HoverCaptureView *profileHoverArea() const { return m_hoverArea; }
    ScrimLayer *permissionsLayer() const { return m_permissionsLayer; }
    QWidget *permissionsCard() const { return m_gateCard; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayers();
    QWidget *buildScrollCard();
    void syncWorkspace();
    void syncUpdateCards();
    // The page's animation of `ms`, or none while motion is reduced.
    Animation pageAnimation(double ms) const;
    void syncBanner();
    void syncTopBar();
    void setTitleMode(DashboardMode mode);
    void confirmDelete();
    std::optional<Project> storedProject(const QUuid &id) const;
    bool permissionsReady() const;
    void showWindow(CustomWindow *window, QSize minimum, QSize size, bool floating);
    std::pair<std::shared_ptr<QPointer<CustomWindow>>, std::function<void()>>
    closeActionFor(QPointer<CustomWindow> DashboardView::*slot);
    void downloadUpdate();
    void liftPermissionsLayer(bool lift);
    void finishPermissionsExit();
    void buildProfileLayers();
    void syncProfileIsland();

    state::AppState &m_appState;
    DashboardEnvironment m_env;
    DashboardFactories m_factories;
    WorkspaceSwitch *m_switch;
    UndoOffer *m_undo;

    std::shared_ptr<SettingsBindings> m_bindings;
    ProfileIslandState *m_islandState = nullptr;
    bool m_showSettingsOverlay = false;
    QPointer<CustomWindow> m_settingsWindow;
    int m_closeSettingsTrigger = 0;

    std::optional<Project> m_pendingDelete;
    std::optional<Project> m_draftProject;
    bool m_showPermissionsGate = false;
    QPointer<CustomWindow> m_projectWindow;
    QPointer<CustomWindow> m_typingWindow;
    QPointer<QMessageBox> m_deleteAlert;

    QVBackground *m_background = nullptr;
    OverlayHost *m_host = nullptr;
    QWidget *m_workspaceLayer = nullptr;
    WorkspaceFade *m_workspaceFade = nullptr;
    QWidget *m_blocker = nullptr;
    QWidget *m_pickerPage = nullptr;
    ModePickerView *m_picker = nullptr;
    QScrollArea *m_scroll = nullptr;
    Card *m_card = nullptr;
    QWidget *m_header = nullptr;
    ShimmerTitle *m_title = nullptr;
    DashboardSwitchBar *m_switchBar = nullptr;
    QStackedWidget *m_content = nullptr;
    WriterWorkspace *m_writer = nullptr;
    QWidget *m_study = nullptr;
    ScrimLayer *m_comingSoonLayer = nullptr;
    ComingSoonView *m_comingSoon = nullptr;
    WelcomeOverlayView *m_welcome = nullptr;
    bool m_welcomeShown = false;
    ScrimLayer *m_updateLayer = nullptr;
    ScrimLayer *m_noUpdateLayer = nullptr;
    UpdatePromptCard *m_updateCard = nullptr;
    UpdatePromptCard *m_noUpdateCard = nullptr;
    UndoBanner *m_banner = nullptr;
    NoticeBanner *m_preferencesNotice = nullptr;
    LayerFade *m_comingSoonFade = nullptr;
    LayerFade *m_welcomeFade = nullptr;
    LayerFade *m_updateFade = nullptr;
    LayerFade *m_noUpdateFade = nullptr;
    LayerFade *m_bannerFade = nullptr;
    ProfileMenu *m_profileMenu = nullptr;
    HoverCaptureView *m_hoverArea = nullptr;
    ProfileAvatarButton *m_profileButton = nullptr;
    ScrimLayer *m_permissionsLayer = nullptr;
    QWidget *m_gateHolder = nullptr;
    QPointer<QWidget> m_gateCard;
    // The card of a permissions layer on its way out, removed once it has faded.
    QPointer<QWidget> m_leavingGateCard;
    LayerFade *m_permissionsFade = nullptr;
};

} // namespace qv::dashboard
