#pragma once

#include <QObject>

namespace qv {
namespace platform {
class Desktop;
}

// The two switches that reduce motion: the desktop's setting (read through
// the platform layer) and the application's own preference. Views ask for
// the rule their own behaviour names: either switch, or one of them.
class MotionSettings : public QObject {
    Q_OBJECT
public:
    explicit MotionSettings(platform::Desktop *desktop = nullptr, QObject *parent = nullptr);

    bool systemReduceMotion() const { return m_system; }
    bool appReduceMotion() const { return m_app; }
    // Either switch on.
    bool reduceMotion() const { return m_system || m_app; }

    void setAppReduceMotion(bool on);
    // Reads the desktop setting again (e.g. when the application becomes
    // active); without a desktop the setting stays off.
    void refreshSystem();

signals:
    void changed();

private:
    platform::Desktop *m_desktop;
    bool m_system = false;
    bool m_app = false;
};

} // namespace qv
