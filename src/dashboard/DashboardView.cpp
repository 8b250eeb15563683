#include "dashboard/DashboardView.h"

#include "dashboard/Card.h"
#include "dashboard/DashboardSwitchBar.h"
#include "dashboard/HoverCaptureView.h"
#include "dashboard/LayerFade.h"
#include "dashboard/WorkspaceFade.h"
#include "dashboard/ModePickerView.h"
#include "dashboard/OverlayHost.h"
#include "dashboard/ProfileAvatarButton.h"
#include "dashboard/ProfileIslandState.h"
#include "dashboard/ProfileMenu.h"
#include "dashboard/ScrimLayer.h"
#include "dashboard/SettingsBindings.h"
#include "dashboard/SettingsLinks.h"
#include "dashboard/SettingsWindowView.h"
#include "dashboard/StandIns.h"
#include "dashboard/UndoBanner.h"
#include "dashboard/UndoOffer.h"
#include "dashboard/UpdatePromptCard.h"
#include "dashboard/WelcomeOverlayView.h"
#include "dashboard/WorkspaceSwitch.h"
#include "dashboard/WriterWorkspace.h"
#include "platform/Permissions.h"
#include "platform/Workspace.h"
#include "state/AppState.h"
#include "state/PreferenceKeys.h"
#include "state/Preferences.h"
#include "theme/ComingSoonView.h"
#include "theme/ConfirmAlert.h"
#include "theme/CustomWindow.h"
#include "theme/NoticeBanner.h"
#include "theme/QVBackground.h"
#include "theme/ShimmerTitle.h"
#include "theme/Theme.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QGridLayout>
#include <QStackedWidget>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace qv::dashboard {

DashboardFactories DashboardFactories::standIns()
{
    return {&standins::editor, &standins::typingPanel, &standins::studyWorkspace, &standins::permissionsGate};
}

namespace {
constexpr int kFooterHeight = 64;
// The page's short animation (overlays, the banner) and its workspace-switch one.
constexpr double kOverlayFadeMs = 200;
constexpr double kSwitchFadeMs = 250;
constexpr double kWelcomeFadeMs = 600;
// The update cards grow from just under full size as they fade in.
constexpr double kCardHiddenScale = 0.98;

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

DashboardView::DashboardView(state::AppState &appState, DashboardEnvironment environment,
                             DashboardFactories factories, QWidget *parent)
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
                                                    prefOr(prefs, state::keys::defaultPreset, QStringLiteral("balanced")),
                                                    prefOr(prefs, state::keys::defaultMode, QStringLiteral("wpm")));
    m_islandState = new ProfileIslandState(this);

    // A new page opens on its list, with no project page or study page
    // open: a flag left up by a page that went with a sign-out would
    // otherwise hide this page's title and switch bar for good.
    m_appState.setSuppressTopBar(false);

    m_switch = new WorkspaceSwitch(*m_env.scheduler, this);
    m_undo = new UndoOffer(*m_env.scheduler, this);
    buildLayers();

    connect(m_switch, &WorkspaceSwitch::changed, this, &DashboardView::syncWorkspace);
    connect(m_undo, &UndoOffer::changed, this, &DashboardView::syncBanner);
    connect(&m_appState, &state::AppState::showUpdatePromptChanged, this, &DashboardView::syncUpdateCards);
    connect(&m_appState, &state::AppState::showNoUpdatePromptChanged, this, &DashboardView::syncUpdateCards);
    connect(&m_appState, &state::AppState::updateVersionChanged, this, &DashboardView::syncUpdateCards);
    connect(&m_appState, &state::AppState::suppressTopBarChanged, this, &DashboardView::syncTopBar);
    syncWorkspace();
    syncUpdateCards();
    syncBanner();
    syncTopBar();
}

DashboardView::~DashboardView()
{
    // The children go after this body, in creation order, and a page going
    // with them may still change the shared state (the study workspace
    // lowers the top-bar flag it raised): nothing may reach back into this
    // page's already deleted widgets then.
    m_appState.disconnect(this);
    // The island's state may go before the area and button that report to
    // it, and neither may reach this half-destroyed page.
    m_hoverArea->setOnHover(nullptr);
    m_profileButton->disconnect();
    m_islandState->disconnect();
    // A settings window nobody can bring back goes now; an open one stays
    // for its user and goes when it is closed.
    if (CustomWindow *settings = m_settingsWindow) {
        if (!settings->isVisible())
            settings->deleteLater();
    }
    // The card goes with the page; it must not call back into it then.
    if (m_gateCard)
        m_gateCard->disconnect(this);
    if (QWidget *holder = m_permissionsLayer->parentWidget(); holder && holder != m_host) {
        holder->removeEventFilter(this);
        delete m_permissionsLayer;
    }
    // The windows stay open for their own users.
}

void DashboardView::buildLayers()
{
    m_background = new QVBackground(this);
    m_host = new OverlayHost(this);
    m_background->lower();

    // 1. The workspace: the picker card, or the scrolling card, in one cell
    // so that one can fade out while the other fades in.
    m_workspaceLayer = new QWidget;
    auto *workspaceCell = new QGridLayout(m_workspaceLayer);
    workspaceCell->setContentsMargins(0, 0, 0, 0);
    m_pickerPage = new QWidget;
    auto *pickerLayout = new QVBoxLayout(m_pickerPage);
    pickerLayout->setContentsMargins(32, 28, 32, 28);
    m_picker = new ModePickerView(m_pickerPage);
    // As wide as it may be (760), centred.
    m_picker->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto *pickerRow = new QHBoxLayout;
    pickerRow->addStretch(0);
    pickerRow->addWidget(m_picker, 1);
    pickerRow->addStretch(0);
    pickerLayout->addStretch();
    pickerLayout->addLayout(pickerRow);
    pickerLayout->addStretch();
    connect(m_picker, &ModePickerView::chosen, m_switch, &WorkspaceSwitch::pickerChose);
    workspaceCell->addWidget(m_pickerPage, 0, 0);

    m_scroll = new QScrollArea;
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidget(buildScrollCard());
    // The page background shows through.
    m_scroll->setAutoFillBackground(false);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_scroll->widget()->setAutoFillBackground(false);
    workspaceCell->addWidget(m_scroll, 0, 0);
    m_host->addLayer(m_workspaceLayer, 0, OverlayHost::Placement::Fill);
    m_workspaceFade = new WorkspaceFade(m_workspaceLayer, m_pickerPage, m_scroll);

    m_blocker = new ClickBlocker;
    m_blocker->hide();
    m_host->addLayer(m_blocker, 0, OverlayHost::Placement::Fill);

    // 2. The coming-soon card of the test workspace.
    m_comingSoon = new ComingSoonView(QStringLiteral("Trivane"), QStringLiteral("Trivane is coming soon."));
    m_comingSoonLayer = new ScrimLayer(0.35, m_comingSoon);
    connect(m_comingSoonLayer, &ScrimLayer::scrimClicked, m_switch, &WorkspaceSwitch::dismissComingSoon);
    m_host->addLayer(m_comingSoonLayer, 0, OverlayHost::Placement::Fill);
    m_comingSoonFade = new LayerFade(m_comingSoonLayer);

    // 3. The welcome overlay.
    m_welcome = new WelcomeOverlayView(m_appState);
    m_host->addLayer(m_welcome, 0, OverlayHost::Placement::Fill);
    m_welcomeFade = new LayerFade(m_welcome);

    // 4, 5. The update cards; the no-update card in front.
    m_updateCard = new UpdatePromptCard(UpdatePromptCard::Kind::NewUpdate);
    m_updateLayer = new ScrimLayer(0.2, m_updateCard);
    m_noUpdateCard = new UpdatePromptCard(UpdatePromptCard::Kind::NoUpdate);
    m_noUpdateLayer = new ScrimLayer(0.2, m_noUpdateCard);
    m_host->addLayer(m_updateLayer, 0, OverlayHost::Placement::Fill);
    m_host->addLayer(m_noUpdateLayer, 0, OverlayHost::Placement::Fill);
    m_updateFade = new LayerFade(m_updateLayer, kCardHiddenScale);
    m_noUpdateFade = new LayerFade(m_noUpdateLayer, kCardHiddenScale);
    connect(m_updateLayer, &ScrimLayer::scrimClicked, this, [this] { m_appState.setShowUpdatePrompt(false); });
    connect(m_updateCard, &UpdatePromptCard::laterRequested, this, [this] { m_appState.setShowUpdatePrompt(false); });
    connect(m_updateCard, &UpdatePromptCard::downloadRequested, this, &DashboardView::downloadUpdate);
    connect(m_noUpdateLayer, &ScrimLayer::scrimClicked, this, [this] { m_appState.setShowNoUpdatePrompt(false); });
    connect(m_noUpdateCard, &UpdatePromptCard::returnRequested, this,
            [this] { m_appState.setShowNoUpdatePrompt(false); });

    // 6. The undo banner, 18 above the bottom edge.
    m_banner = new UndoBanner;
    m_host->addLayer(m_banner, 0, OverlayHost::Placement::Bottom, QMargins(32, 0, 32, 18));
    m_bannerFade = new LayerFade(m_banner);
    connect(m_banner, &UndoBanner::undoRequested, this, &DashboardView::undoDelete);

    // A preference that did not reach the disk, above the undo banner. The
    // values stay in memory and the next write that succeeds stores them.
    m_preferencesNotice = new NoticeBanner;
    m_preferencesNotice->setMinimumWidth(360);
    m_preferencesNotice->setMaximumWidth(560);
    m_host->addLayer(m_preferencesNotice, 0, OverlayHost::Placement::Bottom, QMargins(32, 0, 32, 78));
    connect(&m_appState.preferences(), &state::Preferences::saveFailed, m_preferencesNotice,
            [notice = m_preferencesNotice](const QString &reason) {
                notice->present(saveFailureText(QStringLiteral("your settings"), SaveResult::failure(reason)));
            });

    // 7, 8. The profile menu and island.
    buildProfileLayers();

    // 9. The permissions card over everything.
    m_gateHolder = new QWidget;
    auto *holder = new QVBoxLayout(m_gateHolder);
    holder->setContentsMargins(0, 0, 0, 0);
    m_permissionsLayer = new ScrimLayer(0.35, m_gateHolder);
    m_host->addLayer(m_permissionsLayer, kPermissionsZ, OverlayHost::Placement::Fill);
    m_permissionsFade = new LayerFade(m_permissionsLayer);
    connect(m_permissionsFade, &LayerFade::hidden, this, &DashboardView::finishPermissionsExit);
}

QWidget *DashboardView::buildScrollCard()
{
    auto *outer = new QWidget;
    auto *outerLayout = new QVBoxLayout(outer);
    outerLayout->setContentsMargins(32, 30, 32, 0);

    m_card = new Card(Theme::surface(), 20, outer);
    m_card->setShadow(16, {0, 10});
    m_card->setMaximumWidth(980);
    auto *column = new QVBoxLayout(m_card);
    column->setContentsMargins(16, 16, 16, 16 + kFooterHeight);
    column->setSpacing(12);

    m_header = new QWidget(m_card);
    auto *head = new QVBoxLayout(m_header);
    head->setContentsMargins(0, 8, 0, 0);
    head->setSpacing(12);
    m_title = new ShimmerTitle(title(DashboardMode::writer), 68, m_header);
    head->addWidget(m_title);
    m_switchBar = new DashboardSwitchBar(m_header);
    connect(m_switchBar, &DashboardSwitchBar::requested, this,
            [this](DashboardMode mode) { handleModeSwitch(mode, false); });
    head->addWidget(m_switchBar, 0, Qt::AlignHCenter);
    column->addWidget(m_header);

    m_content = new QStackedWidget(m_card);
    m_writer = new WriterWorkspace(m_appState, m_content);
    m_content->addWidget(m_writer);
    column->addWidget(m_content);
    column->addStretch();

    connect(m_writer, &WriterWorkspace::newProjectRequested, this, &DashboardView::openNewProject);
    connect(m_writer, &WriterWorkspace::typeRequested, this, [this](const QUuid &id) {
        if (auto p = storedProject(id))
            openTypingWindow(*p);
    });
    connect(m_writer, &WriterWorkspace::editRequested, this, [this](const QUuid &id) {
        if (auto p = storedProject(id))
            openProjectWindow(*p);
    });
    connect(m_writer, &WriterWorkspace::deleteRequested, this, &DashboardView::requestDelete);
    connect(m_writer, &WriterWorkspace::activeProjectChanged, this,
            [this] { m_appState.setSuppressTopBar(m_writer->activeProjectId().has_value()); });

    // The card takes the width it may have, up to its maximum, centred.
    m_card->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto *cardRow = new QHBoxLayout;
    cardRow->addStretch(0);
    cardRow->addWidget(m_card, 1);
    cardRow->addStretch(0);
    outerLayout->addLayout(cardRow);
    outerLayout->addStretch();
    return outer;
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

// ---- workspace

void DashboardView::handleModeSwitch(DashboardMode mode, bool isInitial) { m_switch->handleModeSwitch(mode, isInitial); }

void DashboardView::setTitleMode(DashboardMode mode)
{
    if (m_title->text() == title(mode))
        return;
    auto *fresh = new ShimmerTitle(title(mode), 68, m_header);
    m_header->layout()->replaceWidget(m_title, fresh);
    m_title->deleteLater();
    m_title = fresh;
}

void DashboardView::syncWorkspace()
{
    const WorkspaceSwitch &s = *m_switch;
    const bool covered = s.showInitialWelcome() || s.showWelcomeOverlay();
    // The picker and the card cross-fade; the whole layer fades out while
    // a welcome overlay covers the page.
    const Animation fade = pageAnimation(kSwitchFadeMs);
    m_workspaceFade->setPickerShown(s.showModePicker(), fade);
    m_workspaceFade->setLayerShown(!covered, fade);
    m_blocker->setVisible(covered || s.isTransitioning());

    setTitleMode(s.dashboardMode());
    m_switchBar->setCurrent(s.dashboardMode());
    if (s.dashboardMode() == DashboardMode::study) {
        if (!m_study) {
            m_study = m_factories.studyWorkspace(m_appState);
            m_content->addWidget(m_study);
        }
        m_content->setCurrentWidget(m_study);
    } else {
        m_content->setCurrentWidget(m_writer);
    }
    // The card grows with the workspace on show alone: a hidden one must not
    // leave its height behind.
    for (int i = 0; i < m_content->count(); ++i) {
        QWidget *page = m_content->widget(i);
        const bool current = page == m_content->currentWidget();
        page->setSizePolicy(current ? QSizePolicy::Preferred : QSizePolicy::Ignored,
                            current ? QSizePolicy::Preferred : QSizePolicy::Ignored);
    }
    m_content->updateGeometry();

    m_comingSoonFade->setShown(s.showComingSoon(), pageAnimation(kSwitchFadeMs));

    // The overlay starts over each time it comes up.
    if (s.showWelcomeOverlay() && !m_welcomeShown)
        m_welcome->begin(s.welcomeMode());
    m_welcomeShown = s.showWelcomeOverlay();
    // It comes and goes over 0.6 s, except that the test workspace's card
    // replaces it with only the page's own short animation.
    const bool quickExit = !s.showWelcomeOverlay() && s.welcomeMode() == DashboardMode::test;
    m_welcomeFade->setShown(s.showWelcomeOverlay(), pageAnimation(quickExit ? kSwitchFadeMs : kWelcomeFadeMs));
    syncProfileIsland();
    syncTopBar();
}

void DashboardView::syncTopBar()
{
    // The study workspace keeps the flag for its own pages; the writer's
    // project page keeps it while open.
    m_header->setVisible(!m_appState.suppressTopBar());
}

// ---- overlays

void DashboardView::syncUpdateCards()
{
    m_updateCard->setVersion(m_appState.updateVersion());
    m_updateFade->setShown(m_appState.showUpdatePrompt(), pageAnimation(kOverlayFadeMs));
    m_noUpdateFade->setShown(m_appState.showNoUpdatePrompt(), pageAnimation(kOverlayFadeMs));
}

Animation DashboardView::pageAnimation(double ms) const
{
    return m_appState.reduceMotionEnabled() ? Animation::none() : Animation::easeInOut(ms);
}

void DashboardView::downloadUpdate()
{
    // The card goes first; the browser opens only an http or https address.
    m_appState.setShowUpdatePrompt(false);
    const std::optional<QUrl> url = m_appState.updateURL();
    if (!url || !url->isValid())
        return;
    const QString scheme = url->scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        m_env.workspace->openUrl(*url);
}

void DashboardView::syncBanner()
{
    const std::optional<Project> &deleted = m_undo->recentlyDeleted();
    if (deleted)
        m_banner->setTitle(deleted->title);
    m_bannerFade->setShown(deleted.has_value(), pageAnimation(kOverlayFadeMs));
}

void DashboardView::setShowPermissionsGate(bool show)
{
    if (show == m_showPermissionsGate)
        return;
    m_showPermissionsGate = show;
    if (show) {
        // A card still fading out gives way to the new one at once.
        if (QWidget *leaving = m_leavingGateCard) {
            m_leavingGateCard.clear();
            leaving->hide();
            leaving->deleteLater();
        }
        const QUrl guide = m_env.siteUrl.resolved(QUrl(QStringLiteral("/quorvel-site/accessibility.html")));
        QUrl inputGuide = guide;
        inputGuide.setFragment(QStringLiteral("input-monitoring"));
        QPointer<DashboardView> self(this);
        QWidget *card = m_factories.permissionsGate(
            m_appState,
            [self] {
                if (self)
                    self->setShowPermissionsGate(false);
            },
            guide.toString(), inputGuide.toString());
        m_gateCard = card;
        m_gateHolder->layout()->addWidget(card);
        // A card that goes away by itself takes the layer with it.
        connect(card, &QObject::destroyed, this, [this, card] {
            if (m_gateCard == card || !m_gateCard)
                setShowPermissionsGate(false);
        });
        liftPermissionsLayer(true);
    } else {
        // The layer stops taking clicks at once; its card goes when it has faded.
        if (QWidget *card = m_gateCard) {
            m_gateCard.clear();
            card->disconnect(this);
            m_leavingGateCard = card;
        }
        m_permissionsFade->setShown(false, pageAnimation(kOverlayFadeMs));
        if (m_permissionsLayer->isHidden())
            finishPermissionsExit();
    }
}

void DashboardView::finishPermissionsExit()
{
    if (m_showPermissionsGate)
        return;
    liftPermissionsLayer(false);
    if (QWidget *card = m_leavingGateCard) {
        m_leavingGateCard.clear();
        card->hide();
        card->deleteLater();
    }
}

void DashboardView::liftPermissionsLayer(bool lift)
{
    // The dim covers the whole window, the shell's own controls over this
    // page included, so it lives on the window while it is shown.
    QWidget *top = window();
    if (lift) {
        if (top != this && m_permissionsLayer->parentWidget() != top) {
            m_permissionsLayer->setParent(top);
            top->installEventFilter(this);
        }
        QWidget *host = m_permissionsLayer->parentWidget();
        m_permissionsLayer->setGeometry(host->rect());
        m_permissionsFade->setShown(true, pageAnimation(kOverlayFadeMs));
        m_permissionsLayer->show();
        m_permissionsLayer->raise();
        return;
    }
    QWidget *holder = m_permissionsLayer->parentWidget();
    if (holder == m_host)
        return;
    if (holder)
        holder->removeEventFilter(this);
    m_permissionsLayer->setParent(m_host);
    m_permissionsLayer->setGeometry(m_host->rect());
    m_permissionsLayer->raise();
}

bool DashboardView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == m_permissionsLayer->parentWidget() && watched != m_host)
        m_permissionsLayer->setGeometry(static_cast<QWidget *>(watched)->rect());
    return QWidget::eventFilter(watched, event);
}

// ---- profile island, menu and settings window

const QString &DashboardView::defaultGrade() const { return m_bindings->defaultGrade(); }
const QString &DashboardView::defaultReview() const { return m_bindings->defaultReview(); }
const QString &DashboardView::smartPreset() const { return m_bindings->smartPreset(); }
const QString &DashboardView::defaultMode() const { return m_bindings->defaultMode(); }
QWidget *DashboardView::profileMenuLayer() const { return m_profileMenu; }
QWidget *DashboardView::profileIslandLayer() const { return m_profileButton; }

void DashboardView::buildProfileLayers()
{
    m_profileMenu = new ProfileMenu;
    m_host->addLayer(m_profileMenu, kProfileMenuZ, OverlayHost::Placement::TopTrailing, QMargins(0, 42, 20, 0));
    connect(m_profileMenu, &ProfileMenu::settingsRequested, this, &DashboardView::chooseSettings);
    connect(m_profileMenu, &ProfileMenu::checkForUpdatesRequested, this, &DashboardView::chooseCheckForUpdates);
    connect(m_profileMenu, &ProfileMenu::signOutRequested, this, &DashboardView::chooseSignOut);

    // The hover area lies in the corner with the button in its own corner;
    // it takes no clicks, so whatever lies under it stays usable.
    const QMargins corner(0, 12, 8, 0);
    m_hoverArea = new HoverCaptureView;
    m_hoverArea->setFixedSize(320, 160);
    m_host->addLayer(m_hoverArea, kProfileIslandZ, OverlayHost::Placement::TopTrailing, corner);
    m_profileButton = new ProfileAvatarButton(m_appState);
    m_host->addLayer(m_profileButton, kProfileIslandZ, OverlayHost::Placement::TopTrailing, corner);

    // One hover handler for the area and the button.
    m_hoverArea->setOnHover([this](bool hovering) { m_islandState->hover(hovering); });
    connect(m_profileButton, &ProfileAvatarButton::hoverChanged, m_islandState, &ProfileIslandState::hover);
    connect(m_profileButton, &QAbstractButton::clicked, m_islandState, &ProfileIslandState::toggleMenu);
    connect(m_islandState, &ProfileIslandState::showProfileButtonChanged, this, &DashboardView::syncProfileIsland);
    connect(m_islandState, &ProfileIslandState::showProfileMenuChanged, this, [this] {
        // The page's own motion rule: the app's reduce-motion switch removes it.
        m_profileMenu->setShown(m_islandState->showProfileMenu(), !m_appState.reduceMotionEnabled());
    });
}

void DashboardView::syncProfileIsland()
{
    // The island is out of sight and out of reach while a welcome covers the page.
    const bool covered = m_switch->showInitialWelcome() || m_switch->showWelcomeOverlay();
    m_profileButton->setRevealed(!covered && m_islandState->showProfileButton());
}

void DashboardView::chooseSettings()
{
    m_islandState->setShowProfileMenu(false);
    m_bindings->setSettingsName(m_appState.profileName());
    openSettingsWindow();
}

void DashboardView::chooseCheckForUpdates()
{
    m_islandState->setShowProfileMenu(false);
    m_appState.checkForUpdates(true);
}

void DashboardView::chooseSignOut()
{
    m_islandState->setShowProfileMenu(false);
    m_appState.signOut();
}

void DashboardView::openSettingsWindow()
{
    m_showSettingsOverlay = false;
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
    auto *content = new SettingsWindowView(m_appState, m_bindings, SettingsLinks::forSite(m_env.siteUrl, m_env.supportEmail),
                                           services, onClose);
    auto *window = new CustomWindow(content, 22);
    window->setCloseAction(onClose);
    *holder = window;
    m_settingsWindow = window;
    window->setMinimumSize(560, 640);
    window->resize(640, 740);
    if (QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->move(area.center() - QPoint(320, 370));
    }
    window->show();
    window->raise();
    window->activateWindow();
    content->setFocus();
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
    m_writer->showSaveResult(m_appState.deleteProject(*project));
    m_undo->offer(*project);
}

void DashboardView::undoDelete()
{
    if (std::optional<Project> project = m_undo->take())
        m_writer->showSaveResult(m_appState.saveProject(*project));
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
        setShowPermissionsGate(true);
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
        setShowPermissionsGate(true);
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
