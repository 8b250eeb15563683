#include "app/NotificationCenter.h"

namespace qv::app {

NotificationCenter &NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

void NotificationCenter::post(const QString &name) { emit posted(name); }

} // namespace qv::app
