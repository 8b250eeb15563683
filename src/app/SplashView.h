#pragma once

#include "app/CardFrame.h"

namespace qv {
class AnimatedValue;
}

namespace qv::app {

// The card shown while the application starts: "Welcome to QV" with an
// accent sheen sweeping across its letters and a runner sliding along a
// track. Its two animations run as long as it is shown, whatever the motion
// settings say.
class SplashView final : public CardFrame {
    Q_OBJECT
public:
    static constexpr double kTitleSweepMs = 2200;
    static constexpr double kRunnerMs = 3000;
    static constexpr double kRunnerRestX = -60;
    static constexpr double kRunnerShimmerX = 80;

    explicit SplashView(QWidget *parent = nullptr);

    // Starts both animations; called once, when the view is put on screen.
    void appear();
    bool shimmer() const { return m_shimmer; }

    // 0: the sheen runs from the trailing to the leading edge; 1: leading to trailing.
    double titleDirection() const;
    // The runner's horizontal offset from the track's leading edge.
    double runnerOffset() const;

private:
    bool m_shimmer = false;
    AnimatedValue *m_direction = nullptr;
    AnimatedValue *m_runner = nullptr;
};

} // namespace qv::app
