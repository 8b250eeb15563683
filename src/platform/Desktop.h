#pragma once

#include <QString>

namespace qv::platform {

// Small desktop-wide settings and indicators.
class Desktop {
public:
    virtual ~Desktop() = default;
    // A short label on the application's launcher icon; empty removes it.
    virtual void setBadgeLabel(const QString &label) = 0;
    virtual QString badgeLabel() const = 0;
    // The system's "reduce motion" setting.
    virtual bool reduceMotion() = 0;
};

} // namespace qv::platform
