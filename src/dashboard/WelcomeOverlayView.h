#pragma once

#include "dashboard/DashboardMode.h"

#include <QWidget>

class QLabel;

namespace qv {
class AnimatedValue;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::dashboard {

class Card;

// What covers the page while a workspace loads: the page background and, on
// it, a rounded panel as large as the overlay holding "Welcome to", the
// workspace's title under a sweeping gradient, "Loading your workspace…" and
// a bar that fills in two seconds.
class WelcomeOverlayView : public QWidget {
    Q_OBJECT
public:
    static constexpr double kProgressMs = 2000;
    static constexpr double kShimmerMs = 2600;

    explicit WelcomeOverlayView(state::AppState &appState, QWidget *parent = nullptr);

    // Shows the overlay for `mode` from the start: the bar empties and fills
    // again, the gradient starts sweeping.
    void begin(DashboardMode mode);

    DashboardMode mode() const { return m_mode; }
    double progress() const;
    // 1: the gradient runs from the leading to the trailing edge.
    double shimmerDirection() const;
    bool isShimmering() const;
    bool reducesMotion() const;
    QString titleText() const;
    QWidget *panel() const;
    QWidget *content() const { return m_content; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    class Title;
    class ProgressBar;
    void placeCard();

    state::AppState &m_appState;
    DashboardMode m_mode = DashboardMode::writer;
    Card *m_card;
    QWidget *m_content;
    Title *m_title;
    ProgressBar *m_bar;
    AnimatedValue *m_progress;
    AnimatedValue *m_shimmer;
};

} // namespace qv::dashboard
