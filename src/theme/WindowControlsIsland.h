#pragma once

#include <QAbstractButton>
#include <QWidget>

#include <functional>

namespace qv {

class AnimatedValue;
class DropShadow;

// A small round button of the island: a filled dot with a faint outline.
class IslandDot : public QAbstractButton {
    Q_OBJECT
public:
    IslandDot(const QColor &fill, const QColor &outline, int diameter, const QString &name, QWidget *parent);
    QSize sizeHint() const override { return {m_diameter, m_diameter}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    QColor m_fill;
    QColor m_outline;
    int m_diameter;
};

// The floating card in the window's top-left corner that stands in for the
// window buttons the frameless window hides: a red dot to close, an amber dot
// to minimise, and optionally a round profile button. It can stay visible or
// appear only while the pointer is over the corner.
//
// Place it as a child of the window's root widget; it keeps itself in the
// top-left corner, above its siblings. Its whole corner region takes the
// pointer (clicks there do not reach the views beneath). Closing is the host's business: the
// red dot only emits closeRequested.
class WindowControlsIsland : public QWidget {
    Q_OBJECT
public:
    WindowControlsIsland(bool showProfile, std::function<void()> onProfile, int topPadding, bool alwaysVisible,
                         QWidget *parent = nullptr);

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
    void layoutCard();
    void placeInParent();

    bool m_showProfile;
    std::function<void()> m_onProfile;
    int m_topPadding;
    bool m_alwaysVisible;
    bool m_hovering = false;
    QWidget *m_card;
    IslandDot *m_close;
    IslandDot *m_minimize;
    IslandDot *m_profile = nullptr;
    AnimatedValue *m_opacity;
    DropShadow *m_shadow;
};

} // namespace qv
