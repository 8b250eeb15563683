#pragma once

#include "dashboard/DashboardMode.h"

#include <QAbstractButton>

namespace qv {
class AnimatedValue;
class GradientLogoMark;
} // namespace qv

namespace qv::dashboard {

// One workspace on the picker: its logo mark, title and one-line description
// on a wide card that lights up under the pointer. It has no selected look.
class ModePickerButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr double kHoverMs = 180;

    ModePickerButton(DashboardMode mode, const QString &subtitle, QWidget *parent = nullptr);

    DashboardMode mode() const { return m_mode; }
    bool isHovering() const { return m_hovering; }
    // 0 at rest, 1 fully lit.
    double hoverAmount() const;
    GradientLogoMark *logoMark() const { return m_logo; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void setHovering(bool hovering);

    DashboardMode m_mode;
    bool m_hovering = false;
    AnimatedValue *m_hover;
    GradientLogoMark *m_logo;
};

} // namespace qv::dashboard
