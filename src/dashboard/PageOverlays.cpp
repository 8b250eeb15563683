#include "dashboard/PageOverlays.h"

#include "dashboard/LayerFade.h"
#include "dashboard/OverlayHost.h"
#include "dashboard/PageAnimation.h"
#include "dashboard/ScrimLayer.h"
#include "dashboard/UndoBanner.h"
#include "dashboard/UpdatePromptCard.h"
#include "dashboard/WelcomeOverlayView.h"
#include "dashboard/WorkspaceSwitch.h"
#include "state/AppState.h"
#include "state/Preferences.h"
#include "theme/ComingSoonView.h"
#include "theme/NoticeBanner.h"

namespace qv::dashboard {

namespace {
// The page's short animation (the update cards, the banner), its
// workspace-switch one and the welcome overlay's.
constexpr double kOverlayFadeMs = 200;
constexpr double kSwitchFadeMs = 250;
constexpr double kWelcomeFadeMs = 600;
// The update cards grow from just under full size as they fade in.
constexpr double kCardHiddenScale = 0.98;
} // namespace

PageOverlays::PageOverlays(state::AppState &appState, OverlayHost &host, QObject *parent)
    : QObject(parent), m_appState(appState)
{
    m_comingSoon = new ComingSoonView(QStringLiteral("Trivane"), QStringLiteral("Trivane is coming soon."));
    m_comingSoonLayer = new ScrimLayer(0.35, m_comingSoon);
    connect(m_comingSoonLayer, &ScrimLayer::scrimClicked, this, &PageOverlays::comingSoonDismissed);
    host.addLayer(m_comingSoonLayer, 0, OverlayHost::Placement::Fill);
    m_comingSoonFade = new LayerFade(m_comingSoonLayer);

    m_welcome = new WelcomeOverlayView(m_appState);
    host.addLayer(m_welcome, 0, OverlayHost::Placement::Fill);
    m_welcomeFade = new LayerFade(m_welcome);

    m_updateCard = new UpdatePromptCard(UpdatePromptCard::Kind::NewUpdate);
    m_updateLayer = new ScrimLayer(0.2, m_updateCard);
    m_noUpdateCard = new UpdatePromptCard(UpdatePromptCard::Kind::NoUpdate);
    m_noUpdateLayer = new ScrimLayer(0.2, m_noUpdateCard);
    host.addLayer(m_updateLayer, 0, OverlayHost::Placement::Fill);
    host.addLayer(m_noUpdateLayer, 0, OverlayHost::Placement::Fill);
    m_updateFade = new LayerFade(m_updateLayer, kCardHiddenScale);
    m_noUpdateFade = new LayerFade(m_noUpdateLayer, kCardHiddenScale);
    auto closeUpdate = [this] { m_appState.setShowUpdatePrompt(false); };
    auto closeNoUpdate = [this] { m_appState.setShowNoUpdatePrompt(false); };
    connect(m_updateLayer, &ScrimLayer::scrimClicked, this, closeUpdate);
    connect(m_updateCard, &UpdatePromptCard::laterRequested, this, closeUpdate);
    connect(m_updateCard, &UpdatePromptCard::downloadRequested, this, [this] {
        m_appState.setShowUpdatePrompt(false);
        emit downloadRequested();
    });
    connect(m_noUpdateLayer, &ScrimLayer::scrimClicked, this, closeNoUpdate);
    connect(m_noUpdateCard, &UpdatePromptCard::returnRequested, this, closeNoUpdate);
    connect(&m_appState, &state::AppState::showUpdatePromptChanged, this, &PageOverlays::syncUpdateCards);
    connect(&m_appState, &state::AppState::showNoUpdatePromptChanged, this, &PageOverlays::syncUpdateCards);
    connect(&m_appState, &state::AppState::updateVersionChanged, this, &PageOverlays::syncUpdateCards);

    // The undo banner, 18 above the bottom edge.
    m_banner = new UndoBanner;
    host.addLayer(m_banner, 0, OverlayHost::Placement::Bottom, QMargins(32, 0, 32, 18));
    m_bannerFade = new LayerFade(m_banner);
    connect(m_banner, &UndoBanner::undoRequested, this, &PageOverlays::undoRequested);

    // A preference that did not reach the disk, above the undo banner. The
    // values stay in memory and the next write that succeeds stores them.
    m_preferencesNotice = new NoticeBanner;
    m_preferencesNotice->setMinimumWidth(360);
    m_preferencesNotice->setMaximumWidth(560);
    host.addLayer(m_preferencesNotice, 0, OverlayHost::Placement::Bottom, QMargins(32, 0, 32, 78));
    connect(&m_appState.preferences(), &state::Preferences::saveFailed, m_preferencesNotice,
            [notice = m_preferencesNotice](const QString &reason) {
                notice->present(saveFailureText(QStringLiteral("your settings"), SaveResult::failure(reason)));
            });
    syncUpdateCards();
}

void PageOverlays::syncSwitch(const WorkspaceSwitch &s)
{
    m_comingSoonFade->setShown(s.showComingSoon(), pageAnimation(m_appState, kSwitchFadeMs));
    // The overlay starts over each time it comes up.
    if (s.showWelcomeOverlay() && !m_welcomeShown)
        m_welcome->begin(s.welcomeMode());
    m_welcomeShown = s.showWelcomeOverlay();
    // It always leaves over 0.6 s; it comes in over 0.6 s too, except for
    // the test workspace, whose overlay is there at once.
    const bool instant = s.showWelcomeOverlay() && !s.welcomeAnimated();
    m_welcomeFade->setShown(s.showWelcomeOverlay(),
                            instant ? Animation::none() : pageAnimation(m_appState, kWelcomeFadeMs));
}

void PageOverlays::syncUpdateCards()
{
    m_updateCard->setVersion(m_appState.updateVersion());
    m_updateFade->setShown(m_appState.showUpdatePrompt(), pageAnimation(m_appState, kOverlayFadeMs));
    m_noUpdateFade->setShown(m_appState.showNoUpdatePrompt(), pageAnimation(m_appState, kOverlayFadeMs));
}

void PageOverlays::syncBanner(const std::optional<Project> &deleted)
{
    if (deleted)
        m_banner->setTitle(deleted->title);
    m_bannerFade->setShown(deleted.has_value(), pageAnimation(m_appState, kOverlayFadeMs));
}

} // namespace qv::dashboard
