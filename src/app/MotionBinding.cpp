#include "app/MotionBinding.h"

#include "state/AppState.h"
#include "theme/MotionSettings.h"

#include <QGuiApplication>

namespace qv::app {

MotionBinding::MotionBinding(state::AppState &app, MotionSettings &motion, QObject *parent)
    : QObject(parent), m_motion(motion)
{
    m_motion.setAppReduceMotion(app.reduceMotionEnabled());
    m_motion.refreshSystem();
    connect(&app, &state::AppState::reduceMotionEnabledChanged, this,
            [this, &app] { m_motion.setAppReduceMotion(app.reduceMotionEnabled()); });
    if (auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(gui, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive)
                applicationBecameActive();
        });
    }
}

void MotionBinding::applicationBecameActive() { m_motion.refreshSystem(); }

} // namespace qv::app
