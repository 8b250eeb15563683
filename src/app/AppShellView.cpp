#include "app/AppShellView.h"

#include "app/SplashView.h"
#include "state/AppState.h"
#include "theme/AnimatedValue.h"
#include "theme/MotionSettings.h"
#include "theme/QVBackground.h"
#include "theme/WindowControlsIsland.h"

#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <QShowEvent>
#include <QVBoxLayout>

namespace qv::app {

AppShellView::AppShellView(state::AppState &app, Scheduler &scheduler, MotionSettings &motion, GateFactory makeGate,
                           double splashDurationMs, QWidget *parent)
    : QWidget(parent), m_app(app), m_scheduler(scheduler), m_motion(motion), m_makeGate(std::move(makeGate)),
      m_splashMs(splashDurationMs), m_background(new QVBackground(this)), m_splashLayer(new QWidget(this)),
      m_fade(new AnimatedValue(0, this))
{
    setMinimumSize(kMinWidth, kMinHeight);
    m_splash = new SplashView(m_splashLayer);
    auto *centre = new QVBoxLayout(m_splashLayer);
    centre->addWidget(m_splash, 0, Qt::AlignCenter);
    // The shell holds the keyboard focus until the user picks a field, so no
    // field is focused when a page first shows.
    setFocusPolicy(Qt::ClickFocus);
    connect(m_fade, &AnimatedValue::changed, this, &AppShellView::applyFade);
    if (auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(gui, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive)
                applicationBecameActive();
        });
    }
    layoutLayers();
}

AppShellView::~AppShellView()
{
    m_scheduler.cancel(m_splashTimer);
    m_scheduler.cancel(m_fadeTimer);
}

SplashView *AppShellView::splash() const { return m_splashLayer ? m_splash : nullptr; }

double AppShellView::switchProgress() const { return m_loaded ? m_fade->value() : 0.0; }

void AppShellView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The first appearance only: a window restored from the taskbar is not one.
    if (!m_appeared)
        appear();
}

void AppShellView::appear()
{
    m_appeared = true;
    setFocus(Qt::OtherFocusReason);
    m_splash->appear();
    if (m_configureWindow) {
        auto configure = m_configureWindow;
        m_scheduler.singleShot(0, [configure] { configure(); });
    }
    m_app.enforceAuthGate();
    QPointer<AppShellView> self(this);
    m_splashTimer = m_scheduler.singleShot(m_splashMs, [self] {
        if (self) {
            self->m_splashTimer = 0;
            self->finishSplash();
        }
    });
}

void AppShellView::applicationBecameActive()
{
    if (m_appeared)
        m_app.enforceAuthGate();
}

void AppShellView::setCommandMenu(QMenu *menu)
{
    m_commandMenu = menu;
    if (m_island)
        m_island->setCommandMenu(menu);
}

void AppShellView::finishSplash()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_gate = m_makeGate ? m_makeGate(this) : new QWidget(this);
    m_island = new WindowControlsIsland(false, nullptr, 4, true, this);
    m_island->setCommandMenu(m_commandMenu);
    connect(m_island, &WindowControlsIsland::closeRequested, this, &AppShellView::closeRequested);
    layoutLayers();

    // The layer's own animation decides, with the motion settings of this
    // moment: a cross-fade, or the gate at once.
    if (m_motion.reduceMotion() || !isVisible()) {
        m_fade->set(1, Animation::none());
        endFade();
        return;
    }
    m_splashEffect = new QGraphicsOpacityEffect(m_splashLayer);
    m_splashLayer->setGraphicsEffect(m_splashEffect);
    m_gateEffect = new QGraphicsOpacityEffect(m_gate);
    m_gate->setGraphicsEffect(m_gateEffect);
    m_fade->set(1, Animation::easeInOut(kFadeMs));
    applyFade();
    m_gate->show();
    m_island->show();
    QPointer<AppShellView> self(this);
    m_fadeTimer = m_scheduler.singleShot(kFadeMs, [self] {
        if (self) {
            self->m_fadeTimer = 0;
            self->endFade();
        }
    });
}

void AppShellView::applyFade()
{
    const double t = m_fade->value();
    if (m_splashEffect)
        m_splashEffect->setOpacity(1 - t);
    if (m_gateEffect)
        m_gateEffect->setOpacity(t);
    if (m_island)
        m_island->setLayerOpacity(t);
}

void AppShellView::endFade()
{
    // Effects render through an off-screen pixmap; drop them once settled.
    if (m_gate)
        m_gate->setGraphicsEffect(nullptr);
    m_splashEffect = m_gateEffect = nullptr;
    if (m_splashLayer) {
        m_splashLayer->hide();
        m_splashLayer->deleteLater();
        m_splashLayer = nullptr;
        m_splash = nullptr;
    }
    if (m_gate)
        m_gate->show();
    if (m_island) {
        m_island->setLayerOpacity(1);
        m_island->show();
        m_island->raise();
    }
}

void AppShellView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutLayers();
}

void AppShellView::layoutLayers()
{
    m_background->setGeometry(rect());
    m_background->lower();
    if (m_splashLayer)
        m_splashLayer->setGeometry(rect());
    if (m_gate)
        m_gate->setGeometry(rect());
    if (m_island)
        m_island->raise();
}

} // namespace qv::app
