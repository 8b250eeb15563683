#pragma once

#include <QAbstractButton>
#include <QPointer>
#include <QWidget>

#include <functional>

class QMenu;

namespace qv {

class AnimatedValue;
class DropShadow;

// A small round button of the island: a filled dot with a faint outline.
class IslandDot : public QAbstractButton {
    Q_OBJECT
public:
    IslandDot(const QColor &fill, const QColor &outline, int diameter, const QString &name, QWidget *parent);
    QSize sizeHint() const override { return {m_diameter, m_diameter}; }
    // Painted at this opacity: the dot fades with its card.
    void setOpacity(double opacity);
    // A small downward chevron over the fill (a button that opens a menu).
    void setChevron(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    QColor m_fill;
    QColor m_outline;
    int m_diameter;
    double m_opacity = 1;
    QColor m_chevron;
};

// The floating card in the window's top-left corner that stands in for the
// window buttons the frameless window hides: a red dot to close, an amber dot
// to minimise, and optionally a round profile button. It can stay visible or
// appear only while the pointer is over the corner.
//
// Place it as a child of the window's root widget; it keeps itself in the
// top-left corner, above its siblings. Only the dots take the pointer: the
// corner region watches the pointer for hovering but lets every other press
// reach the views beneath (a page's Back button may sit in that corner). The
// dots are therefore the host's children, laid over the card. Closing is the
// host's business: the red dot only emits closeRequested.
class WindowControlsIsland : public QWidget {
    Q_OBJECT
public:
    WindowControlsIsland(bool showProfile, std::function<void()> onProfile, int topPadding, bool alwaysVisible,
                         QWidget *parent = nullptr);
    ~WindowControlsIsland() override;

    bool isCardShown() const;
    // The card's opacity at this moment (fades while appearing or leaving).
    double cardOpacity() const;
    // In the parent's coordinates.
    QRect cardGeometry() const;
    // The corner area that reveals the card, in this widget's coordinates:
    // the widget itself, placed 10 pixels in and `topPadding` down.
    QRect hoverRegion() const;
    int islandWidth() const { return m_showProfile ? 160 : 110; }

    IslandDot *closeButton() const { return m_close; }
    IslandDot *minimizeButton() const { return m_minimize; }
    IslandDot *profileButton() const { return m_profile; }
    IslandDot *menuButton() const { return m_menuButton; }

    // Adds, after the two dots, a button that opens `menu` under itself: the
    // application's commands within reach of a frameless window on any
    // desktop, with or without a global menu bar. The menu stays the
    // caller's.
    void setCommandMenu(QMenu *menu);

    // Scales the whole island's opacity (a host fading it in with its other
    // layers), without a graphics effect.
    void setLayerOpacity(double opacity);

    // Minimises the application's active window; nothing when there is none.
    static void minimizeActiveWindow();

    QSize sizeHint() const override;

signals:
    void closeRequested();
    void minimizeRequested();
    void profileRequested();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void setHovering(bool hovering);
    void trackPointer(const QPointF &global);
    void layoutCard();
    void placeInParent();
    void placeDots();
    void applyOpacity();
    QList<IslandDot *> dots() const;

    bool m_showProfile;
    std::function<void()> m_onProfile;
    int m_topPadding;
    bool m_alwaysVisible;
    bool m_hovering = false;
    double m_layerOpacity = 1;
    QWidget *m_card;
    // Children of the host, which may delete them before the island.
    QPointer<IslandDot> m_close;
    QPointer<IslandDot> m_minimize;
    QPointer<IslandDot> m_profile;
    QPointer<IslandDot> m_menuButton;
    QPointer<QMenu> m_menu;
    AnimatedValue *m_opacity;
    DropShadow *m_shadow;
};

} // namespace qv
