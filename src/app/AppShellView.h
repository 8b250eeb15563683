#pragma once

#include "core/Scheduler.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QGraphicsOpacityEffect;
class QMenu;

namespace qv {
class AnimatedValue;
class MotionSettings;
class QVBackground;
class WindowControlsIsland;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::app {

class SplashView;

// The main window's root: the shared background, the splash for a fixed
// time after the window first appears, then the sign-in gate with the
// window-controls island in the top-left corner. When it first appears it
// styles the window and checks the stored session; it checks the session
// again whenever the application becomes active.
class AppShellView final : public QWidget {
    Q_OBJECT
public:
    static constexpr double kSplashMs = 3400;
    static constexpr double kFadeMs = 350;
    static constexpr int kMinWidth = 980;
    static constexpr int kMinHeight = 640;

    using GateFactory = std::function<QWidget *(QWidget *parent)>;

    AppShellView(state::AppState &app, Scheduler &scheduler, MotionSettings &motion, GateFactory makeGate,
                 double splashDurationMs = kSplashMs, QWidget *parent = nullptr);
    ~AppShellView() override;

    // Styles the window on its first appearance (run on the next turn).
    void setWindowConfigurator(std::function<void()> configure) { m_configureWindow = std::move(configure); }

    bool isLoaded() const { return m_loaded; }
    bool hasAppeared() const { return m_appeared; }
    // The splash while it is shown; null once it has gone.
    SplashView *splash() const;
    QWidget *gate() const { return m_gate; }
    WindowControlsIsland *island() const { return m_island; }
    // The application's command menu, opened from the island once it shows.
    void setCommandMenu(QMenu *menu);
    QVBackground *background() const { return m_background; }
    // Progress of the switch from splash to gate (0 before, 1 done).
    double switchProgress() const;

    // What becoming active does; public so tests need no window system.
    void applicationBecameActive();

signals:
    // The island's red dot: the host quits through its orderly path.
    void closeRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void appear();
    void finishSplash();
    void applyFade();
    void endFade();
    void layoutLayers();

    state::AppState &m_app;
    Scheduler &m_scheduler;
    MotionSettings &m_motion;
    GateFactory m_makeGate;
    double m_splashMs;
    std::function<void()> m_configureWindow;

    bool m_appeared = false;
    bool m_loaded = false;
    Scheduler::TimerId m_splashTimer = 0;
    Scheduler::TimerId m_fadeTimer = 0;

    QVBackground *m_background;
    // The splash and its shadow, so both fade together.
    QPointer<QWidget> m_splashLayer;
    SplashView *m_splash = nullptr;
    QWidget *m_gate = nullptr;
    WindowControlsIsland *m_island = nullptr;
    QPointer<QMenu> m_commandMenu;
    AnimatedValue *m_fade;
    QGraphicsOpacityEffect *m_splashEffect = nullptr;
    QGraphicsOpacityEffect *m_gateEffect = nullptr;
};

} // namespace qv::app
