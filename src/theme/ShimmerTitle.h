#pragma once

#include "core/Scheduler.h"

#include <QWidget>

namespace qv {

class AnimatedValue;

// A large title whose letters carry an accent gradient. Each time the title
// comes on screen, or the application becomes active again, the gradient
// turns round and sweeps back and forth for six seconds (unless motion is
// reduced, when it simply shows the new direction).
class ShimmerTitle : public QWidget {
    Q_OBJECT
public:
    static constexpr double kRunMs = 6000;
    static constexpr double kSweepMs = 3200;

    ShimmerTitle(const QString &text, int size, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    int titleSize() const { return m_size; }
    // True: the gradient runs from the leading to the trailing edge.
    bool shimmer() const { return m_shimmer; }
    bool shouldAnimate() const { return m_shouldAnimate; }
    // Where the gradient stands between its two directions (0 trailing to
    // leading, 1 leading to trailing).
    double direction() const;
    bool isSweeping() const;

    // Starts a run unless one is under way.
    void startShimmer();
    // The application became active or left the active state.
    void setApplicationActive(bool active);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyAnimation();

    QString m_text;
    int m_size;
    bool m_shimmer = false;
    bool m_shouldAnimate = false;
    AnimatedValue *m_direction;
};

} // namespace qv
