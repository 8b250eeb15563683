#include "theme/MotionSettings.h"

#include "platform/Desktop.h"

namespace qv {

MotionSettings::MotionSettings(platform::Desktop *desktop, QObject *parent) : QObject(parent), m_desktop(desktop)
{
    if (m_desktop)
        m_system = m_desktop->reduceMotion();
}

void MotionSettings::setAppReduceMotion(bool on)
{
    if (m_app == on)
        return;
    m_app = on;
    emit changed();
}

void MotionSettings::refreshSystem()
{
    const bool now = m_desktop ? m_desktop->reduceMotion() : false;
    if (now == m_system)
        return;
    m_system = now;
    emit changed();
}

} // namespace qv
