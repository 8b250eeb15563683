#pragma once

#include "dashboard/DashboardEnvironment.h"

#include <QObject>
#include <QPointer>

namespace qv::dashboard {

class LayerFade;
class OverlayHost;
class ScrimLayer;

// The permissions card on its dim, over everything. While shown, the dim
// covers the whole window, the shell's own controls over the page included,
// so it is lent to the window then and comes back to the host when gone.
// The card is made by the factory each time the layer comes up and goes
// once the layer has faded out.
class PermissionsLayer : public QObject {
    Q_OBJECT
public:
    static constexpr int kZ = 200;

    using CardFactory = decltype(DashboardFactories::permissionsGate);
    // `page` is the widget whose window the dim covers.
    PermissionsLayer(state::AppState &appState, OverlayHost &host, QWidget *page, CardFactory makeCard,
                     const QUrl &siteUrl, QObject *parent = nullptr);
    // A dim still lent to the window goes with this object; the card must
    // not reach back then.
    ~PermissionsLayer() override;

    bool isShown() const { return m_shown; }
    void setShown(bool shown);

    ScrimLayer *layer() const { return m_layer; }
    QWidget *card() const { return m_card; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void lift(bool lift);
    void finishExit();

    state::AppState &m_appState;
    OverlayHost &m_host;
    QWidget *m_page;
    CardFactory m_makeCard;
    QString m_guide;
    QString m_inputGuide;
    bool m_shown = false;
    QWidget *m_holder;
    ScrimLayer *m_layer;
    LayerFade *m_fade;
    QPointer<QWidget> m_card;
    // The card of a layer on its way out, removed once it has faded.
    QPointer<QWidget> m_leavingCard;
};

} // namespace qv::dashboard
