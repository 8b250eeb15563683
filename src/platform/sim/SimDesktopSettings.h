#pragma once

#include "platform/Desktop.h"

namespace qv::sim {

// The launcher badge and the reduce-motion setting of the simulated desktop.
class SimDesktopSettings final : public platform::Desktop {
public:
    void setBadgeLabel(const QString &label) override { m_badge = label; }
    QString badgeLabel() const override { return m_badge; }
    bool reduceMotion() override { return m_reduceMotion; }
    void setReduceMotion(bool on) { m_reduceMotion = on; }

private:
    QString m_badge;
    bool m_reduceMotion = false;
};

} // namespace qv::sim
