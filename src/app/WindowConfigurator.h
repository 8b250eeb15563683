#pragma once

class QWidget;

namespace qv::app {

// The main window's frameless look and sizes: no title bar or window
// buttons (the window-controls island stands in for them), rounded corners
// with a hairline border, movable by its background, resizable from its
// edges, 1180×760 with a 980×640 minimum.
class WindowConfigurator {
public:
    WindowConfigurator() = delete;

    static constexpr int kWidth = 1180;
    static constexpr int kHeight = 760;
    static constexpr int kMinWidth = 980;
    static constexpr int kMinHeight = 640;
    static constexpr double kCornerRadius = 20;

    // Styles `window` (nothing without one). Each call sets the size back to
    // 1180×760; the frame is installed once.
    static void configure(QWidget *window);
};

} // namespace qv::app
