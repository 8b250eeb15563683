#pragma once

#include <QObject>

namespace qv {
class MotionSettings;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::app {

// Keeps the shared motion switches current: the application's own
// preference follows AppState, and the desktop's setting is read again
// whenever the application becomes active.
class MotionBinding final : public QObject {
    Q_OBJECT
public:
    MotionBinding(state::AppState &app, MotionSettings &motion, QObject *parent = nullptr);

    // What becoming active does; public so tests need no window system.
    void applicationBecameActive();

private:
    MotionSettings &m_motion;
};

} // namespace qv::app
