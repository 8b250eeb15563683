#pragma once

#include <QAbstractButton>

namespace qv {
class AnimatedValue;
class DropShadow;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::dashboard {

class AvatarCircle;

// The profile island's button: the 36-point avatar on a translucent rounded
// plate. It fades in and out over 0.18 s whenever it is revealed or hidden
// (whatever the reduce-motion switches say) and takes no click while it is
// hidden or leaving.
class ProfileAvatarButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr double kRevealMs = 180;

    explicit ProfileAvatarButton(state::AppState &appState, QWidget *parent = nullptr);

    void setRevealed(bool revealed);
    bool isRevealed() const { return m_revealed; }
    double opacity() const;
    AvatarCircle *avatar() const { return m_avatar; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    // The pointer came onto the button or left it.
    void hoverChanged(bool hovering);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void syncOpacity();

    AvatarCircle *m_avatar;
    AnimatedValue *m_opacity;
    DropShadow *m_shadow;
    bool m_revealed = false;
};

} // namespace qv::dashboard
