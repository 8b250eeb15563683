#include "dashboard/DashboardView.h"

#include "dashboard/DashboardSwitchBar.h"
#include "dashboard/ModePickerView.h"
#include "dashboard/OverlayHost.h"
#include "dashboard/PageAnimation.h"
#include "dashboard/PageOverlays.h"
#include "dashboard/PermissionsLayer.h"
#include "dashboard/ProfileIsland.h"
#include "dashboard/SettingsBindings.h"
#include "dashboard/SettingsLinks.h"
#include "dashboard/SettingsWindowView.h"
#include "dashboard/StandIns.h"
#include "dashboard/UndoOffer.h"
#include "dashboard/WorkspaceLayer.h"
#include "dashboard/WorkspaceSwitch.h"
#include "dashboard/WriterWorkspace.h"
#include "platform/Permissions.h"
#include "platform/Workspace.h"
#include "state/AppState.h"
#include "state/PreferenceKeys.h"
#include "state/Preferences.h"
#include "theme/ConfirmAlert.h"
#include "theme/CustomWindow.h"
#include "theme/QVBackground.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWheelEvent>

namespace qv::dashboard {

DashboardFactories DashboardFactories::standIns()
{
    return {&standins::editor, &standins::typingPanel, &standins::studyWorkspace, &standins::permissionsGate};
}

namespace {
// The workspace-switch animation.
constexpr double kSwitchFadeMs = 250;

// Takes the clicks meant for the layer under it while that layer is busy.
class ClickBlocker : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void mousePressEvent(QMouseEvent *event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent *event) override { event->accept(); }
    void wheelEvent(QWheelEvent *event) override { event->accept(); }
};

QString prefOr(const state::Preferences &prefs, const QString &key, const QString &fallback)
{
    return prefs.stringValue(key).value_or(fallback);
}
} // namespace

DashboardView::DashboardView(state::AppState &appState, DashboardEnvironment environment, DashboardFactories factories,
                             QWidget *parent)
    : QWidget(parent), m_appState(appState), m_env(std::move(environment)), m_factories(std::move(factories))
{
    Q_ASSERT(m_env.scheduler && m_env.permissions && m_env.workspace);
    // A missing factory falls back to its stand-in.
    const DashboardFactories fallback = DashboardFactories::standIns();
    if (!m_factories.editor)
        m_factories.editor = fallback.editor;
    if (!m_factories.typingPanel)
        m_factories.typingPanel = fallback.typingPanel;
    if (!m_factories.studyWorkspace)
        m_factories.studyWorkspace = fallback.studyWorkspace;
    if (!m_factories.permissionsGate)
        m_factories.permissionsGate = fallback.permissionsGate;

    // Read once, as the page is made; any stored text is taken as it is.
    const state::Preferences &prefs = appState.preferences();
    m_bindings = std::make_shared<SettingsBindings>(prefOr(prefs, state::keys::defaultGrade, QStringLiteral("12")),
                                                    prefOr(prefs, state::keys::defaultReview, QStringLiteral("medium")),
                                                    prefOr(prefs, state::keys::defaultPreset,
                                                           QStringLiteral("balanced")),
                                                    prefOr(prefs, state::keys::defaultMode, QStringLiteral("wpm")));

    // A new page opens on its list, with no project page or study page
    // open: a flag left up by a page that went with a sign-out would
    // otherwise hide this page's title and switch bar for good.
    m_appState.setSuppressTopBar(false);

    m_switch = new WorkspaceSwitch(*m_env.scheduler, this);
    m_undo = new UndoOffer(*m_env.scheduler, this);

    m_background = new QVBackground(this);
    m_host = new OverlayHost(this);
    m_background->lower();

    m_workspace = new WorkspaceLayer(m_appState, m_factories.studyWorkspace, *m_host);
    connect(m_workspace->picker(), &ModePickerView::chosen, m_switch, &WorkspaceSwitch::pickerChose);
    connect(m_workspace->switchBar(), &DashboardSwitchBar::requested, this,
            [this](DashboardMode mode) { handleModeSwitch(mode, false); });
    WriterWorkspace *writer = m_workspace->writer();
    connect(writer, &WriterWorkspace::newProjectRequested, this, &DashboardView::openNewProject);
    connect(writer, &WriterWorkspace::typeRequested, this, [this](const QUuid &id) {
        if (auto p = storedProject(id))
            openTypingWindow(*p);
    });
    connect(writer, &WriterWorkspace::editRequested, this, [this](const QUuid &id) {
        if (auto p = storedProject(id))
            openProjectWindow(*p);
    });
    connect(writer, &WriterWorkspace::deleteRequested, this, &DashboardView::requestDelete);
    connect(writer, &WriterWorkspace::activeProjectChanged, this,
            [this, writer] { m_appState.setSuppressTopBar(writer->activeProjectId().has_value()); });

    m_blocker = new ClickBlocker;
    m_blocker->setObjectName(QStringLiteral("workspaceBlocker"));
    m_blocker->hide();
    m_host->addLayer(m_blocker, 0, OverlayHost::Placement::Fill);

    m_overlays = new PageOverlays(m_appState, *m_host, this);
    connect(m_overlays, &PageOverlays::comingSoonDismissed, m_switch, &WorkspaceSwitch::dismissComingSoon);
    connect(m_overlays, &PageOverlays::undoRequested, this, &DashboardView::undoDelete);
    connect(m_overlays, &PageOverlays::downloadRequested, this, &DashboardView::downloadUpdate);

    m_profile = new ProfileIsland(m_appState, *m_host, this);
    connect(m_profile, &ProfileIsland::settingsRequested, this, &DashboardView::chooseSettings);
    connect(m_profile, &ProfileIsland::checkForUpdatesRequested, this, &DashboardView::chooseCheckForUpdates);
    connect(m_profile, &ProfileIsland::signOutRequested, this, &DashboardView::chooseSignOut);

    m_permissions = new PermissionsLayer(m_appState, *m_host, this, m_factories.permissionsGate, m_env.siteUrl, this);

    connect(m_switch, &WorkspaceSwitch::changed, this, &DashboardView::syncWorkspace);
    connect(m_undo, &UndoOffer::changed, this, [this] { m_overlays->syncBanner(m_undo->recentlyDeleted()); });
    // The study workspace keeps the flag for its own pages; the writer's
    // project page keeps it while open.
    connect(&m_appState, &state::AppState::suppressTopBarChanged, this,
            [this] { m_workspace->setHeaderShown(!m_appState.suppressTopBar()); });
    syncWorkspace();
    m_overlays->syncBanner(std::nullopt);
}

DashboardView::~DashboardView()
{
    // The children go after this body, in creation order, and a page going
    // with them may still change the shared state (the study workspace
    // lowers the top-bar flag it raised): nothing may reach back into this
    // page's already deleted widgets then.
    m_appState.disconnect(this);
    // The island and the permissions layer go first: their widgets, which
    // go with the host, then report to nothing.
    delete m_profile;
    delete m_permissions;
    // A settings window nobody can bring back goes now; an open one stays
    // for its user and goes when it is closed.
    if (CustomWindow *settings = m_settingsWindow) {
        if (!settings->isVisible())
            settings->deleteLater();
    }
    // The windows stay open for their own users.
}

void DashboardView::resizeEvent(QResizeEvent *)
{
    m_background->setGeometry(rect());
    m_host->setGeometry(rect());
}

void DashboardView::appear()
{
    m_switch->appeared();
    m_appState.setSkipInitialWelcome(false);
    m_appState.checkForUpdates(false);
    // Access granted while the application ran is seen from here on.
    m_appState.setAccessibilityReady(m_env.permissions->accessibilityReady());
    m_appState.setInputMonitoringReady(m_env.permissions->inputSynthesisReady());
}

void DashboardView::handleModeSwitch(DashboardMode mode, bool isInitial)
{
    m_switch->handleModeSwitch(mode, isInitial);
}

void DashboardView::syncWorkspace()
{
    const WorkspaceSwitch &s = *m_switch;
    const bool covered = s.showInitialWelcome() || s.showWelcomeOverlay();
    m_workspace->sync(s, pageAnimation(m_appState, kSwitchFadeMs));
    m_blocker->setVisible(covered || s.isTransitioning());
    m_overlays->syncSwitch(s);
    m_profile->setCovered(covered);
    m_workspace->setHeaderShown(!m_appState.suppressTopBar());
}

bool DashboardView::showPermissionsGate() const { return m_permissions->isShown(); }

void DashboardView::setShowPermissionsGate(bool show) { m_permissions->setShown(show); }

void DashboardView::downloadUpdate()
{
    // The browser opens only an http or https address.
    const std::optional<QUrl> url = m_appState.updateURL();
    if (!url || !url->isValid())
        return;
    const QString scheme = url->scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        m_env.workspace->openUrl(*url);
}

// ---- the profile menu and the settings window

void DashboardView::chooseSettings()
{
    m_profile->closeMenu();
    m_bindings->setSettingsName(m_appState.profileName());
    openSettingsWindow();
}

void DashboardView::chooseCheckForUpdates()
{
    m_profile->closeMenu();
    m_appState.checkForUpdates(true);
}

void DashboardView::chooseSignOut()
{
    m_profile->closeMenu();
    m_appState.signOut();
}

void DashboardView::openSettingsWindow()
{
    if (CustomWindow *window = m_settingsWindow) {
        // The same window and view, with everything the user left in it.
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }
    // The window may outlive this page (a sign-out while it is open): its
    // close action must not reach into a page that has gone.
    auto holder = std::make_shared<QPointer<CustomWindow>>();
    QPointer<DashboardView> self(this);
    auto onClose = [holder, self] {
        CustomWindow *window = *holder;
        if (!window)
            return;
        window->hide();
        if (self)
            ++self->m_closeSettingsTrigger;
        else
            window->deleteLater();
    };
    SettingsWindowView::Services services{m_env.workspace, m_env.fileChooser};
    auto *content = new SettingsWindowView(m_appState, m_bindings,
                                           SettingsLinks::forSite(m_env.siteUrl, m_env.supportEmail), services,
                                           onClose);
    auto *window = new CustomWindow(content, SettingsWindowView::kWindowCornerRadius);
    window->setCloseAction(onClose);
    *holder = window;
    m_settingsWindow = window;
    // Kept when closed (hidden), so not deleted on close.
    placeAndShow(window, SettingsWindowView::kMinimumWindowSize, SettingsWindowView::kWindowSize);
}

// ---- deleting

std::optional<Project> DashboardView::storedProject(const QUuid &id) const
{
    for (const Project &p : m_appState.projects())
        if (p.id == id)
            return p;
    return std::nullopt;
}

void DashboardView::requestDelete(const QUuid &projectId)
{
    const std::optional<Project> project = storedProject(projectId);
    if (!project)
        return;
    m_pendingDelete = project;
    if (m_deleteAlert)
        return;
    m_deleteAlert = openConfirmAlert(
        this, QStringLiteral("Delete Project?"), QStringLiteral("Are you sure you want to delete this project?"),
        QStringLiteral("Delete"),
        [this](QMessageBox *, bool confirmed) {
            if (confirmed)
                confirmDelete();
            m_pendingDelete.reset();
        },
        QMessageBox::Warning);
}

void DashboardView::confirmDelete()
{
    if (!m_pendingDelete)
        return;
    // The stored version is the one deleted and offered back.
    const std::optional<Project> project = storedProject(m_pendingDelete->id);
    m_pendingDelete.reset();
    if (!project)
        return;
    m_workspace->writer()->showSaveResult(m_appState.deleteProject(*project));
    m_undo->offer(*project);
}

void DashboardView::undoDelete()
{
    if (std::optional<Project> project = m_undo->take())
        m_workspace->writer()->showSaveResult(m_appState.saveProject(*project));
}

// ---- windows

bool DashboardView::permissionsReady() const
{
    return m_appState.accessibilityReady() && m_appState.inputMonitoringReady();
}

void DashboardView::showWindow(CustomWindow *window, QSize minimum, QSize size, bool floating)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (floating)
        window->setWindowFlag(Qt::WindowStaysOnTopHint);
    placeAndShow(window, minimum, size);
}

void DashboardView::placeAndShow(CustomWindow *window, QSize minimum, QSize size)
{
    window->setMinimumSize(minimum);
    window->resize(size);
    if (QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
    }
    window->show();
    window->raise();
    window->activateWindow();
    if (QWidget *content = window->content())
        content->setFocus();
}

void DashboardView::openProjectWindow(const std::optional<Project> &project)
{
    if (!permissionsReady()) {
        m_permissions->setShown(true);
        m_env.permissions->requestAccessibility();
        m_env.permissions->requestInputSynthesis();
        return;
    }
    m_draftProject = project;
    // One editor at a time: the previous one goes without a question.
    if (m_projectWindow) {
        CustomWindow *old = m_projectWindow;
        m_projectWindow.clear();
        old->closeFromOpener();
    }
    auto [window, onClose] = closeActionFor(&DashboardView::m_projectWindow);
    CustomWindow *made = m_factories.editor(m_appState, project, onClose);
    *window = made;
    m_projectWindow = made;
    showWindow(made, {720, 760}, {820, 860}, false);
}

void DashboardView::openTypingWindow(const Project &project)
{
    if (!permissionsReady()) {
        m_appState.setAccessibilitySkipped(false);
        m_permissions->setShown(true);
        // Both settings pages, whichever access is missing.
        m_env.permissions->openAccessibilitySettings();
        m_env.permissions->openInputSettings();
        return;
    }
    if (m_typingWindow) {
        // The open panel keeps the project it was opened for.
        m_typingWindow->show();
        m_typingWindow->raise();
        m_typingWindow->activateWindow();
        return;
    }
    auto [window, onClose] = closeActionFor(&DashboardView::m_typingWindow);
    CustomWindow *made = m_factories.typingPanel(m_appState, project, onClose);
    *window = made;
    m_typingWindow = made;
    showWindow(made, {520, 520}, {640, 600}, true);
}

// The close action handed to a secondary window: it closes its own window
// first, then forgets it here if this dashboard still exists and still holds
// it in `slot`. The returned holder is filled with the window once made.
std::pair<std::shared_ptr<QPointer<CustomWindow>>, std::function<void()>>
DashboardView::closeActionFor(QPointer<CustomWindow> DashboardView::*slot)
{
    auto window = std::make_shared<QPointer<CustomWindow>>();
    QPointer<DashboardView> self(this);
    auto onClose = [window, self, slot] {
        QPointer<CustomWindow> w = *window;
        if (w)
            w->closeFromOpener();
        if (self && (self.data()->*slot) == w)
            (self.data()->*slot).clear();
    };
    return {window, onClose};
}

} // namespace qv::dashboard
