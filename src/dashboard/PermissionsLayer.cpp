#include "dashboard/PermissionsLayer.h"

#include "dashboard/LayerFade.h"
#include "dashboard/OverlayHost.h"
#include "dashboard/PageAnimation.h"
#include "dashboard/ScrimLayer.h"

#include <QEvent>
#include <QVBoxLayout>

namespace qv::dashboard {

namespace {
constexpr double kFadeMs = 200;
}

PermissionsLayer::PermissionsLayer(state::AppState &appState, OverlayHost &host, QWidget *page, CardFactory makeCard,
                                   const QUrl &siteUrl, QObject *parent)
    : QObject(parent), m_appState(appState), m_host(host), m_page(page), m_makeCard(std::move(makeCard)),
      m_holder(new QWidget)
{
    const QUrl guide = siteUrl.resolved(QUrl(QStringLiteral("/quorvel-site/accessibility.html")));
    QUrl inputGuide = guide;
    inputGuide.setFragment(QStringLiteral("input-monitoring"));
    m_guide = guide.toString();
    m_inputGuide = inputGuide.toString();

    auto *holder = new QVBoxLayout(m_holder);
    holder->setContentsMargins(0, 0, 0, 0);
    m_layer = new ScrimLayer(0.35, m_holder);
    m_host.addLayer(m_layer, kZ, OverlayHost::Placement::Fill);
    m_fade = new LayerFade(m_layer);
    connect(m_fade, &LayerFade::hidden, this, &PermissionsLayer::finishExit);
}

PermissionsLayer::~PermissionsLayer()
{
    if (m_card)
        m_card->disconnect(this);
    if (QWidget *holder = m_layer->parentWidget(); holder && holder != &m_host) {
        holder->removeEventFilter(this);
        delete m_layer;
    }
}

void PermissionsLayer::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    if (shown) {
        // A card still fading out gives way to the new one at once.
        if (QWidget *leaving = m_leavingCard) {
            m_leavingCard.clear();
            leaving->hide();
            leaving->deleteLater();
        }
        QPointer<PermissionsLayer> self(this);
        QWidget *card = m_makeCard(
            m_appState,
            [self] {
                if (self)
                    self->setShown(false);
            },
            m_guide, m_inputGuide);
        m_card = card;
        m_holder->layout()->addWidget(card);
        // A card that goes away by itself takes the layer with it.
        connect(card, &QObject::destroyed, this, [this, card] {
            if (m_card == card || !m_card)
                setShown(false);
        });
        lift(true);
    } else {
        // The layer stops taking clicks at once; its card goes when it has faded.
        if (QWidget *card = m_card) {
            m_card.clear();
            card->disconnect(this);
            m_leavingCard = card;
        }
        m_fade->setShown(false, pageAnimation(m_appState, kFadeMs));
        if (m_layer->isHidden())
            finishExit();
    }
}

void PermissionsLayer::finishExit()
{
    if (m_shown)
        return;
    lift(false);
    if (QWidget *card = m_leavingCard) {
        m_leavingCard.clear();
        card->hide();
        card->deleteLater();
    }
}

void PermissionsLayer::lift(bool lift)
{
    QWidget *top = m_page->window();
    if (lift) {
        if (top != m_page && m_layer->parentWidget() != top) {
            m_layer->setParent(top);
            top->installEventFilter(this);
        }
        m_layer->setGeometry(m_layer->parentWidget()->rect());
        m_fade->setShown(true, pageAnimation(m_appState, kFadeMs));
        m_layer->show();
        m_layer->raise();
        return;
    }
    QWidget *holder = m_layer->parentWidget();
    if (holder == &m_host)
        return;
    if (holder)
        holder->removeEventFilter(this);
    m_layer->setParent(&m_host);
    m_layer->setGeometry(m_host.rect());
    m_layer->raise();
}

bool PermissionsLayer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == m_layer->parentWidget() && watched != &m_host)
        m_layer->setGeometry(static_cast<QWidget *>(watched)->rect());
    return QObject::eventFilter(watched, event);
}

} // namespace qv::dashboard
