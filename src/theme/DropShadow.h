#pragma once

#include "theme/Shadow.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace qv {

// Paints a widget's shadow (or glow) outside its own rectangle without
// changing any layout: a sibling widget that lies just under the target,
// follows its geometry, visibility and parent, and lets every click through.
class DropShadow : public QWidget {
    Q_OBJECT
public:
    // Asked at every paint for the shadow, in the target's coordinates; an
    // invisible ShadowSpec paints nothing.
    using Provider = std::function<ShadowSpec()>;

    DropShadow(QWidget *target, Provider provider);

    QWidget *target() const { return m_target; }
    // Repaint after the target's look changed.
    void refresh();
    // Largest reach of any shadow the provider returns, beyond the target.
    void setReach(int pixels);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void follow();

    QPointer<QWidget> m_target;
    Provider m_provider;
    int m_reach = 24;
};

} // namespace qv
