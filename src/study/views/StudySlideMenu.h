#pragma once

#include <QWidget>

class QGraphicsOpacityEffect;
class QVBoxLayout;

namespace qv {
class AnimatedValue;
class QVButton;
} // namespace qv

namespace qv::study {

// A small menu panel standing inline at the trailing edge of its row. It
// slides down from its top edge with a fade while it opens and back while it
// closes; closed, it takes no room and no clicks.
class StudySlideMenu final : public QWidget {
    Q_OBJECT
public:
    static constexpr double kAnimationMs = 180.0;

    explicit StudySlideMenu(QWidget *parent = nullptr);

    void addButton(QVButton *button);
    void setOpen(bool open, bool animated);
    bool isOpen() const { return m_open; }
    // Still sliding in or out.
    bool isAnimating() const;
    QWidget *panel() const { return m_panel; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void follow();
    QRect panelRect() const;

    QWidget *m_panel;
    QVBoxLayout *m_buttons;
    QGraphicsOpacityEffect *m_fade;
    AnimatedValue *m_shown;
    bool m_open = false;
};

} // namespace qv::study
