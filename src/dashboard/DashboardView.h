#pragma once

#include "dashboard/DashboardEnvironment.h"
#include "dashboard/DashboardMode.h"
#include "model/Project.h"
#include "theme/CustomWindow.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace qv {
class QVBackground;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::dashboard {

class OverlayHost;
class PageOverlays;
class PermissionsLayer;
class ProfileIsland;
class SettingsBindings;
class UndoOffer;
class WorkspaceLayer;
class WorkspaceSwitch;

// The signed-in page. Its layers, bottom to top: the workspace (picker or
// scrolling card), a blocker that takes clicks while the page is covered or
// switching, the overlays (coming-soon card, welcome, update cards, undo
// banner), the profile island and the permissions card. The page ties them
// to the workspace switch and opens the project editor, the typing panel and
// the settings window in windows of their own.
// One is made at every sign-in and destroyed at sign-out; its filters and
// choices are not kept.
class DashboardView : public QWidget {
    Q_OBJECT
public:
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
    bool showPermissionsGate() const;
    void setShowPermissionsGate(bool show);

    // ---- the layers
    OverlayHost *overlayHost() const { return m_host; }
    WorkspaceSwitch &workspaceSwitch() const { return *m_switch; }
    WorkspaceLayer *workspace() const { return m_workspace; }
    PageOverlays &overlays() const { return *m_overlays; }
    ProfileIsland &profile() const { return *m_profile; }
    PermissionsLayer &permissions() const { return *m_permissions; }

    // ---- state
    const std::optional<Project> &pendingDelete() const { return m_pendingDelete; }
    const std::optional<Project> &draftProject() const { return m_draftProject; }
    CustomWindow *projectWindow() const { return m_projectWindow; }
    CustomWindow *typingWindow() const { return m_typingWindow; }
    QMessageBox *deleteAlert() const { return m_deleteAlert; }
    // The defaults read when the page was made (the settings window edits them).
    const std::shared_ptr<SettingsBindings> &settingsBindings() const { return m_bindings; }
    CustomWindow *settingsWindow() const { return m_settingsWindow; }
    int closeSettingsTrigger() const { return m_closeSettingsTrigger; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void syncWorkspace();
    void confirmDelete();
    std::optional<Project> storedProject(const QUuid &id) const;
    bool permissionsReady() const;
    void showWindow(CustomWindow *window, QSize minimum, QSize size, bool floating);
    // At its size, centred on this screen, in front with its content focused.
    void placeAndShow(CustomWindow *window, QSize minimum, QSize size);
    std::pair<std::shared_ptr<QPointer<CustomWindow>>, std::function<void()>>
    closeActionFor(QPointer<CustomWindow> DashboardView::*slot);
    void downloadUpdate();

    state::AppState &m_appState;
    DashboardEnvironment m_env;
    DashboardFactories m_factories;
    WorkspaceSwitch *m_switch;
    UndoOffer *m_undo;
    std::shared_ptr<SettingsBindings> m_bindings;

    QVBackground *m_background = nullptr;
    OverlayHost *m_host = nullptr;
    WorkspaceLayer *m_workspace = nullptr;
    QWidget *m_blocker = nullptr;
    PageOverlays *m_overlays = nullptr;
    ProfileIsland *m_profile = nullptr;
    PermissionsLayer *m_permissions = nullptr;

    QPointer<CustomWindow> m_settingsWindow;
    int m_closeSettingsTrigger = 0;
    std::optional<Project> m_pendingDelete;
    std::optional<Project> m_draftProject;
    QPointer<CustomWindow> m_projectWindow;
    QPointer<CustomWindow> m_typingWindow;
    QPointer<QMessageBox> m_deleteAlert;
};

} // namespace qv::dashboard
