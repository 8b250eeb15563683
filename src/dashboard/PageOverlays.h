#pragma once

#include "model/Project.h"

#include <QObject>

#include <optional>

namespace qv {
class ComingSoonView;
class NoticeBanner;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::dashboard {

class LayerFade;
class OverlayHost;
class ScrimLayer;
class UndoBanner;
class UpdatePromptCard;
class WelcomeOverlayView;
class WorkspaceSwitch;

// The layers that come and go over the workspace, each with its fade: the
// test workspace's coming-soon card, the welcome overlay, the two update
// cards (the no-update one in front), the undo banner and, above it, the
// notice of a preference that did not reach the disk. They are laid in the
// host in that order.
class PageOverlays : public QObject {
    Q_OBJECT
public:
    PageOverlays(state::AppState &appState, OverlayHost &host, QObject *parent = nullptr);

    // The coming-soon card and the welcome overlay, as the switch asks.
    void syncSwitch(const WorkspaceSwitch &state);
    // The banner offers `deleted` back; nothing hides it.
    void syncBanner(const std::optional<Project> &deleted);

    ScrimLayer *comingSoonLayer() const { return m_comingSoonLayer; }
    ComingSoonView *comingSoonCard() const { return m_comingSoon; }
    WelcomeOverlayView *welcome() const { return m_welcome; }
    LayerFade *welcomeFade() const { return m_welcomeFade; }
    ScrimLayer *updateLayer() const { return m_updateLayer; }
    ScrimLayer *noUpdateLayer() const { return m_noUpdateLayer; }
    UpdatePromptCard *updateCard() const { return m_updateCard; }
    UpdatePromptCard *noUpdateCard() const { return m_noUpdateCard; }
    UndoBanner *undoBanner() const { return m_banner; }
    NoticeBanner *preferencesNotice() const { return m_preferencesNotice; }

signals:
    // A click on the coming-soon card's dim.
    void comingSoonDismissed();
    void undoRequested();
    // The update card's download button; the card has gone already.
    void downloadRequested();

private:
    void syncUpdateCards();

    state::AppState &m_appState;
    ScrimLayer *m_comingSoonLayer = nullptr;
    ComingSoonView *m_comingSoon = nullptr;
    LayerFade *m_comingSoonFade = nullptr;
    WelcomeOverlayView *m_welcome = nullptr;
    LayerFade *m_welcomeFade = nullptr;
    bool m_welcomeShown = false;
    ScrimLayer *m_updateLayer = nullptr;
    ScrimLayer *m_noUpdateLayer = nullptr;
    UpdatePromptCard *m_updateCard = nullptr;
    UpdatePromptCard *m_noUpdateCard = nullptr;
    LayerFade *m_updateFade = nullptr;
    LayerFade *m_noUpdateFade = nullptr;
    UndoBanner *m_banner = nullptr;
    LayerFade *m_bannerFade = nullptr;
    NoticeBanner *m_preferencesNotice = nullptr;
};

} // namespace qv::dashboard
