#include "core/Scheduler.h"

#include <cmath>
#include <limits>

namespace qv {

qint64 Scheduler::msToNs(double ms)
{
    if (!(ms > 0))
        return 0;
    const double ns = ms * 1e6;
    if (ns >= double(std::numeric_limits<qint64>::max() / 2))
        return std::numeric_limits<qint64>::max() / 2;
    return qint64(std::trunc(ns));
}

} // namespace qv
